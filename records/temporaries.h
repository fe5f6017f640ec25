#pragma once
// The temporaries a replacement writes beside its file (replace_file.h): their names,
// their removal when Levara is interrupted, and the removal of ones left behind.
#include <filesystem>
#include <string>

namespace levara {

// ".<name>.levara-<12 hex digits>", within the 255 bytes a file name may have: a long
// name is shortened in the temporary's copy of it, never in the file itself.
std::string temporaryNameFor(const std::string& name);
// Creates the new file path for writing, never through a link: -1 with errno EEXIST
// when anything is there already, a link to nowhere included.
int createTemporary(const std::filesystem::path& path, unsigned mode);

// Whether a file name is one temporaryNameFor makes, or the ".<name>.levara-<pid>-
// <count>-<stamp>" of earlier versions.
bool isTemporaryName(const std::string& name);

// Removes the temporaries of Levara's own kind in folder that the user owns and that
// are more than a day old: left by a run that was killed. Once per folder and
// process; a failure is no fault.
void removeStaleTemporaries(const std::filesystem::path& folder);

// Temporaries that exist at the moment, for the signal handler. register returns a
// slot for forget, or -1 when all are taken (the temporary is then not removed on a
// signal). Async-signal-safe to read; not to be called from two threads at once.
int rememberTemporary(const std::filesystem::path& temporary);
void forgetTemporary(int slot);

// Holds the signals that end the process back for its lifetime, in this thread.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    unsigned long long saved_[16];  // the thread's sigset_t before
};

// Every signal that would end the process (SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM,
// SIGUSR1, SIGALRM, ...) removes the temporaries remembered, then ends it as the
// signal would have (status 128 + signal). A handler already installed, or a signal
// ignored, stays as it is.
void removeTemporariesOnSignals();

}  // namespace levara
