#!/usr/bin/env bash
# Builds the native (Linux) configuration, the code with no Windows dependency and its tools, into
# build-native/ (or $BRINDLE_NATIVE_BUILD_DIR).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" "$@"
