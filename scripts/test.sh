#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DFENWA_WERROR=ON
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 600
