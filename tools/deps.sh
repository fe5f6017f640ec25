#!/usr/bin/env bash
# Installs, as root on Debian 12, everything Levara needs to build, run and test.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  ca-certificates g++ clang clang-format libclang-rt-14-dev cmake ninja-build pkg-config \
  qt6-base-dev libqscintilla2-qt6-dev libgsf-1-dev libgtest-dev libgmock-dev libbenchmark-dev \
  fonts-noto-cjk fonts-dejavu-core python3 python3-xlrd libreoffice-calc-nogui poppler-utils
