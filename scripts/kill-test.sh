#!/usr/bin/env bash
# A conversion killed at random points: the harness converts a generated PST into a new NSF and is
# killed (SIGKILL, no chance to clean up) after a seeded random delay. After every kill the NSF must
# open and hold no document outside a folder. CI runs a small sample; the full test is
#   scripts/kill-test.sh BUILD_DIR 20000 20
# Usage: scripts/kill-test.sh BUILD_DIR [ITEMS] [KILLS] [SEED]
set -uo pipefail
build="$(cd "${1:?usage: kill-test.sh BUILD_DIR [ITEMS] [KILLS] [SEED]}" && pwd)"
items="${2:-2000}"
kills="${3:-4}"
seed="${4:-34}"
work="$(mktemp -d /tmp/brindle-kill.XXXXXX)"
trap 'rm -rf "$work"' EXIT
win() { echo "Z:${1//\//\\}"; }

"$build/wine-run" "$build/bin/pstbuild.exe" bulk "$items" "$(win "$work/in.pst")" --folders 4 >/dev/null || exit 1
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Waits until the NSF exists (the conversion has begun writing); false when the job ended first.
wait_for_nsf() {
  while [ ! -e "$1" ]; do
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.05
  done
}
# One run to its end gives the time the writing takes here, from the NSF's creation to the end; the
# kills fall inside it.
"$build/wine-run" "$build/bin/convert-harness.exe" "$(win "$work/in.pst")" "$(win "$work/whole.nsf")" \
  >/dev/null 2>&1 &
pid=$!
wait_for_nsf "$work/whole.nsf" "$pid"
start=$(now_ms)
wait "$pid"
whole_ms=$(( $(now_ms) - start ))

RANDOM=$seed
failures=0
killed=0
for k in $(seq "$kills"); do
  nsf="$work/killed-$k.nsf"
  delay_ms=$(( (RANDOM * 32768 + RANDOM) % (whole_ms > 0 ? whole_ms : 1) ))
  "$build/wine-run" "$build/bin/convert-harness.exe" "$(win "$work/in.pst")" "$(win "$nsf")" >/dev/null 2>&1 &
  pid=$!
  wait_for_nsf "$nsf" "$pid"
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  # wine-run ends by exec'ing the program, so the job's process is the harness itself.
  if kill -9 "$pid" 2>/dev/null; then killed=$((killed + 1)); fi
  wait "$pid" 2>/dev/null
  if [ ! -e "$nsf" ]; then
    echo "kill $k after ${delay_ms} ms: no NSF yet"
    continue
  fi
  counts="$("$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$nsf")" 2>&1)"
  if [ $? -ne 0 ]; then
    echo "kill $k after ${delay_ms} ms: the NSF does not open: $counts"
    failures=$((failures + 1))
    continue
  fi
  unfiled="$(printf '%s\n' "$counts" | awk -F'\t' 'NF == 3 && $3 == "" { n += $1 } END { print n + 0 }')"
  filed="$(printf '%s\n' "$counts" | awk -F'\t' 'NF == 3 && $3 != "" { n += $1 } END { print n + 0 }')"
  echo "kill $k after ${delay_ms} ms: $filed documents in folders, $unfiled in none"
  [ "$unfiled" -eq 0 ] || failures=$((failures + 1))
done
echo "killed $killed of $kills conversions ($items items, about ${whole_ms} ms of writing each)"
echo "$((kills - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
