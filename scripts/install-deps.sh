#!/usr/bin/env bash
# Installs the Debian 12 packages FENWA needs to build, test and run, and generates the
# Spanish locale the tests use. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build                 # compiler and build system
  qt6-base-dev qt6-translations-l10n    # Qt 6 Widgets/PrintSupport/Test; Spanish texts for Qt's own dialogs
  qt6-svg-dev                           # charts saved as SVG
  libgtest-dev libgmock-dev             # unit tests
  libbenchmark-dev libfftw3-dev         # benchmarks (FFTW only as a speed reference)
  xvfb xauth fonts-dejavu-core          # running the desktop program without a display; a sans-serif font
  fonts-liberation2 fonts-urw-base35    # tests: pictures must not change with other fonts installed
  locales                               # es_ES.UTF-8 for the decimal-comma tests
  desktop-file-utils                    # validating the installed desktop entry in the tests
  ccache                                # faster rebuilds
  pkg-config                            # finds libpcap, libzstd and Highway for CMake
  libhwy-dev                            # Highway: vector code chosen at run time (numeric/vectorial.cpp)
  libpcap-dev                           # packet captures: filters (BPF) and the pcap variants libpcap reads
  zlib1g-dev libzstd-dev                # gzip- and zstd-compressed captures, decompressed as they are read
  zstd                                  # the zstd program, speed reference of the capture benchmark
  pybind11-dev python3-dev python3-numpy  # the Python module fenwa (python/): bindings, headers, arrays
  python3-pytest                        # the Python module's tests (tests/python/, run by CTest)
  python3-dask python3-distributed      # examples/python/lote_dask.py: many traces on a Dask cluster
  python3-pandas python3-matplotlib     # the example's table read back in its test; the chart of cuaderno.py
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(es_ES.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^es_ES.UTF-8 UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
