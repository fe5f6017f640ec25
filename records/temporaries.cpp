#include "records/temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
#include <string_view>

#include "records/posix_file.h"

namespace levara {

namespace {

constexpr std::string_view kMark = ".levara-";
constexpr std::size_t kUniqueDigits = 12;
constexpr std::size_t kNameMax = NAME_MAX;  // 255 on Linux's file systems

bool allOf(std::string_view text, bool (*test)(char))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}
bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string uniqueDigits()
{
    unsigned char random[kUniqueDigits / 2] = {};
    if (::getrandom(random, sizeof random, 0) != sizeof random) {
        // No entropy yet: the O_EXCL open still keeps names apart.
        static std::atomic<unsigned long> counter{0};
        const unsigned long value =
            static_cast<unsigned long>(::getpid()) << 20 ^ counter++ ^ static_cast<unsigned long>(std::time(nullptr));
        std::memcpy(random, &value, std::min(sizeof random, sizeof value));
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    for (unsigned char byte : random) {
        digits += kDigits[byte >> 4];
        digits += kDigits[byte & 15];
    }
    return digits;
}

// Fixed storage: the handler may neither allocate nor lock.
constexpr std::size_t kSlots = 16;
std::array<std::array<char, PATH_MAX>, kSlots> slotPaths;
std::array<std::atomic<bool>, kSlots> slotUsed;

// Every signal whose default action ends the process and that a handler may catch
// (signal(7)): a closed terminal's SIGHUP or a reader gone for SIGPIPE ends an
// export as surely as SIGINT. The faults (SIGSEGV, SIGBUS, ...) are left to their
// defaults and to the sanitizers' handlers.
constexpr int kEndingSignals[] = {SIGHUP,    SIGINT,  SIGQUIT, SIGUSR1,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
                                  SIGSTKFLT, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR};

void addEndingSignals(sigset_t& set)
{
    for (int signal : kEndingSignals)
        ::sigaddset(&set, signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        ::sigaddset(&set, signal);
}

void onSignal(int signal)
{
    for (std::size_t i = 0; i < kSlots; ++i)
        if (slotUsed[i].load())
            ::unlink(slotPaths[i].data());
    ::signal(signal, SIG_DFL);
    ::raise(signal);  // delivered once the handler returns
}

}  // namespace

std::string temporaryNameFor(const std::string& name)
{
    const std::size_t room = kNameMax - 1 - kMark.size() - kUniqueDigits;
    std::size_t keep = std::min(name.size(), room);
    // Never half a UTF-8 character.
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    return "." + name.substr(0, keep) + std::string(kMark) + uniqueDigits();
}

int createTemporary(const std::filesystem::path& path, unsigned mode)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool isTemporaryName(const std::string& name)
{
    const std::size_t mark = name.rfind(kMark);
    if (name.empty() || name[0] != '.' || mark == std::string::npos || mark == 0)
        return false;
    const std::string_view tail = std::string_view(name).substr(mark + kMark.size());
    if (tail.size() == kUniqueDigits && allOf(tail, isHex))
        return true;
    // Earlier versions: <pid>-<count>-<stamp>.
    const std::size_t first = tail.find('-');
    const std::size_t second = first == std::string_view::npos ? first : tail.find('-', first + 1);
    return second != std::string_view::npos && allOf(tail.substr(0, first), isDigit) &&
           allOf(tail.substr(first + 1, second - first - 1), isDigit) && allOf(tail.substr(second + 1), isDigit);
}

void removeStaleTemporaries(const std::filesystem::path& folder)
{
    static std::mutex mutex;
    static std::set<std::filesystem::path> done;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!done.insert(folder).second)
            return;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid() && st.st_mtime < dayAgo)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

int rememberTemporary(const std::filesystem::path& temporary)
{
    const std::string& path = temporary.native();
    if (path.size() >= PATH_MAX)
        return -1;
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (slotUsed[i].load())
            continue;
        std::memcpy(slotPaths[i].data(), path.c_str(), path.size() + 1);
        slotUsed[i].store(true);
        return static_cast<int>(i);
    }
    return -1;
}

void forgetTemporary(int slot)
{
    if (slot >= 0)
        slotUsed[static_cast<std::size_t>(slot)].store(false);
}

SignalsHeld::SignalsHeld()
{
    static_assert(sizeof saved_ >= sizeof(sigset_t));
    sigset_t held;
    ::sigemptyset(&held);
    addEndingSignals(held);
    ::pthread_sigmask(SIG_BLOCK, &held, reinterpret_cast<sigset_t*>(saved_));
}

SignalsHeld::~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, reinterpret_cast<sigset_t*>(saved_), nullptr); }

void removeTemporariesOnSignals()
{
    sigset_t ending;
    ::sigemptyset(&ending);
    addEndingSignals(ending);
    for (int signal = 1; signal < NSIG; ++signal) {
        if (::sigismember(&ending, signal) != 1)
            continue;
        struct sigaction action {};
        if (::sigaction(signal, nullptr, &action) != 0 || action.sa_handler != SIG_DFL)
            continue;
        action.sa_handler = onSignal;
        // One handler at a time: a second signal waits until the first has removed them.
        action.sa_mask = ending;
        action.sa_flags = 0;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace levara
