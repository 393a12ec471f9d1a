#!/usr/bin/env bash
# Builds the native (Linux) configuration, the code with no Windows dependency and its tools, into
# build-native/ (or $BRINDLE_NATIVE_BUILD_DIR).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
# Configure every time: folders that gained a CMakeLists.txt since the last run are picked up only then.
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" "$@"
