#!/usr/bin/env bash
# Builds the Windows configuration (MinGW-w64) into build/ (or $BRINDLE_BUILD_DIR).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${BRINDLE_BUILD_DIR:-$src/build}"
# Configure every time: folders that gained a CMakeLists.txt since the last run are picked up only then.
cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" "$@"
