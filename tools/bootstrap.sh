#!/usr/bin/env bash
# Installs the Debian packages Konfidor needs (only the missing ones), then
# configures and builds into build/. Safe to run again; it takes seconds when
# everything is already there.
#
#   tools/bootstrap.sh            release build with debug info into build/
#   KONFIDOR_BUILD_DIR=build-asan KONFIDOR_CMAKE_ARGS=-DKONFIDOR_SANITIZE=ON tools/bootstrap.sh
#
# KONFIDOR_EXTRA_PACKAGES adds Debian packages; KONFIDOR_BUILD_TARGETS builds only
# those targets (both space-separated).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${KONFIDOR_BUILD_DIR:-$root/build}

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth
)
# shellcheck disable=SC2206
packages+=(${KONFIDOR_EXTRA_PACKAGES:-})

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "bootstrap: installing ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so that every clone on a machine shares the cache.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
fi

if [ ! -f "$build_dir/build.ninja" ]; then
    # shellcheck disable=SC2086
    cmake -S "$root" -B "$build_dir" -G Ninja "${launcher[@]}" ${KONFIDOR_CMAKE_ARGS:-}
fi
targets=()
for t in ${KONFIDOR_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" "${targets[@]}"
