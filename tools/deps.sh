#!/usr/bin/env bash
# Installs, as root on Debian 12, everything Levara needs to build, run and test.
# qt6-tools-dev gives CMake Qt's LinguistTools, qt6-l10n-tools their lupdate and
# lrelease; qt6-translations-l10n holds Qt's own Chinese for its dialogs. gnumeric
# (ssconvert) and LibreOffice save the workbooks the tests read; dpkg-dev and file
# let CPack compute the Debian package's dependencies. nlohmann-json3-dev reads the
# limits files (leveling/); time gives bench/whole_process.sh its peak memory;
# clang-tidy runs the static analysis (tools/tidy.sh).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  ca-certificates g++ clang clang-format clang-tidy libclang-rt-14-dev cmake ninja-build pkg-config \
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libqscintilla2-qt6-dev \
  libgsf-1-dev libgtest-dev libgmock-dev libbenchmark-dev \
  fonts-noto-cjk fonts-dejavu-core python3 python3-xlrd libreoffice-calc-nogui poppler-utils gnumeric \
  dpkg-dev file nlohmann-json3-dev time
