#!/usr/bin/env bash
# Measures how fast the Notes library saves documents: through its classes and its store alone under
# Wine (the Windows build in ./build), and the store natively (compiled here against the same SQLite
# amalgamation). Usage: bench/notes-bench.sh [N]   (default 20000 documents)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
n="${1:-20000}"
export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
"$src/scripts/build.sh" --target notes_bench notes_store_bench notes_installation >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
win_work="Z:${work//\//\\}"

echo "== under Wine"
"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/notes_bench.exe" "$win_work" "$n"
"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/notes_store_bench.exe" "$win_work" "$n"

echo "== native (store only)"
sqlite_dir="$BRINDLE_BUILD_DIR/_deps/sqlite"
native="$work/native"
mkdir -p "$native"
gcc -O2 -w -DSQLITE_THREADSAFE=1 -DSQLITE_DEFAULT_WAL_SYNCHRONOUS=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DQS=0 \
  -c "$sqlite_dir/sqlite3.c" -o "$native/sqlite3.o"
g++ -O2 -std=c++17 -I"$src/platform/notes/src" -I"$src/platform/notes/include" -I"$sqlite_dir" \
  "$src/bench/notes/StoreBench.cpp" "$src/platform/notes/src/NoteFormat.cpp" "$src/platform/notes/src/NoteStore.cpp" \
  "$native/sqlite3.o" -o "$native/notes_store_bench" -lpthread -ldl
"$native/notes_store_bench" "$work" "$n"
