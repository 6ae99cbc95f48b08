#!/usr/bin/env bash
# Builds the Debian package (build-deb/fenwa_VERSION-1_ARCH.deb): configures a separate
# build under the /usr prefix, builds it and runs CPack. dpkg-shlibdeps (dpkg-dev) finds
# the runtime packages the programs depend on. Extra arguments go to CMake's configure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! command -v dpkg-shlibdeps >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y \
    --no-install-recommends dpkg-dev
fi
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr "$@" >/dev/null
cmake --build build-deb -j "$(nproc)"
cd build-deb
cpack -G DEB
