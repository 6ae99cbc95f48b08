#!/usr/bin/env bash
# Configures and builds FENWA into ./build (Release). Extra arguments go to CMake's configure.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja "$@" >/dev/null
cmake --build build -j "$(nproc)"
