#!/usr/bin/env bash
# A conversion killed at random points: the harness converts a generated PST into a new NSF and its
# own process (the Windows program under Wine, not the wine-run wrapper) is killed with SIGKILL, with
# no chance to clean up, after a seeded random delay within the time the conversion takes here. After
# every kill the NSF must open and hold no document outside a folder, and at least one kill of the
# sample must land mid-run (some documents written, not all), or the sample showed nothing. CI runs a
# small sample; the full test is
#   scripts/kill-test.sh BUILD_DIR 20000 20
# Usage: scripts/kill-test.sh BUILD_DIR [ITEMS] [KILLS] [SEED]
set -uo pipefail
build="$(cd "${1:?usage: kill-test.sh BUILD_DIR [ITEMS] [KILLS] [SEED]}" && pwd)"
items="${2:-8000}"
kills="${3:-6}"
seed="${4:-34}"
work="$(mktemp -d /tmp/brindle-kill.XXXXXX)"
wrapper=''
harness=''
# The harness after its wrapper is gone, no longer our child: ended, and waited for by its pid.
end_orphan() {
  kill -9 "$harness" 2>/dev/null
  while [ -e "/proc/$harness" ]; do sleep 0.01; done
  harness=''
}
# A conversion still running when the test ends (interrupted, or a failed step) is ended with it, so
# that none runs on beside the rest of the suite in the same prefix.
cleanup() {
  [ -z "$harness" ] || kill -9 "$harness" 2>/dev/null
  [ -z "$wrapper" ] || wait "$wrapper" 2>/dev/null
  [ -z "$harness" ] || end_orphan
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
win() { echo "Z:${1//\//\\}"; }

"$build/wine-run" "$build/bin/pstbuild.exe" bulk "$items" "$(win "$work/in.pst")" --folders 4 >/dev/null || exit 1
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Starts the harness on the generated PST into the NSF, in the background: $wrapper is the wine-run
# job.
start_conversion() { # nsf [harness option]
  "$build/wine-run" "$build/bin/convert-harness.exe" ${2:+"$2"} "$(win "$work/in.pst")" "$(win "$1")" \
    >"$work/report" 2>"$work/errors" &
  wrapper=$!
}

# Waits until the NSF exists (the conversion has begun writing) and sets $harness to the conversion's
# own process: wine-run's only child then, the Wine process of convert-harness.exe. False when the job
# ended first or its process is not the harness.
wait_for_nsf() { # nsf
  harness=''
  while [ ! -e "$1" ]; do
    kill -0 "$wrapper" 2>/dev/null || return 1
    sleep 0.002
  done
  local pid
  for pid in $(pgrep -P "$wrapper"); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q 'convert-harness\.exe' && harness=$pid
  done
  [ -n "$harness" ]
}

# Documents of the NSF, filed and unfiled, as "filed unfiled"; false (the reason printed) when it does
# not open.
documents() { # nsf
  local counts
  counts="$("$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$1")" 2>&1)" || {
    printf '%s\n' "$counts"
    return 1
  }
  printf '%s\n' "$counts" | awk -F'\t' 'NF == 3 { if ($3 == "") u += $1; else f += $1 }
                                         END { print f + 0, u + 0 }'
}

# One run to its end gives the total and, by the harness's own timing, how long converting takes
# here; the kills fall inside that time, counted from the NSF's creation.
start_conversion "$work/whole.nsf" --timing
wait "$wrapper" || {
  echo "the whole conversion failed: $(cat "$work/errors")"
  exit 1
}
wrapper=''
# The harness interleaves each folder's reading back with its conversion, so both count.
run_ms="$(awk '/^convert-harness: conversion/ { printf "%d", ($3 + $6) * 1000 }' "$work/errors")"
[ "${run_ms:-0}" -gt 0 ] || run_ms=1
counts="$(documents "$work/whole.nsf")" || {
  echo "the whole conversion's NSF does not open: $counts"
  exit 1
}
read -r total unfiled <<<"$counts"
if [ "$total" -eq 0 ] || [ "$unfiled" -ne 0 ]; then
  echo "the whole conversion left $total documents in folders and $unfiled in none"
  exit 1
fi

RANDOM=$seed
failures=0
mid_run=0
for k in $(seq "$kills"); do
  nsf="$work/killed-$k.nsf"
  delay_ms=$(((RANDOM * 32768 + RANDOM) % run_ms))
  start_conversion "$nsf"
  if ! wait_for_nsf "$nsf"; then
    wait "$wrapper"
    echo "kill $k: the conversion ended (exit $?) before it could be killed: $(cat "$work/errors")"
    wrapper=''
    harness=''
    failures=$((failures + 1))
    continue
  fi
  start=$(now_ms)
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  kill -9 "$harness" 2>/dev/null
  at=$(($(now_ms) - start))
  wait "$wrapper"
  status=$?
  wrapper=''
  # wine-run waits for its program and passes on its status: once it has ended, a harness process
  # still there was not the one killed, and 137 is the harness ended by the signal, anything else a
  # harness that had ended by itself before the kill.
  if [ -e "/proc/$harness" ]; then
    echo "kill $k: convert-harness (pid $harness) still runs after the kill at ${at} ms"
    end_orphan
    failures=$((failures + 1))
    continue
  elif [ "$status" -eq 137 ]; then
    fate="convert-harness (pid $harness) gone at the kill at ${at} ms"
  else
    fate="convert-harness (pid $harness) had ended (exit $status) before the kill at ${at} ms"
  fi
  harness=''
  if ! counts="$(documents "$nsf")"; then
    echo "kill $k: $fate; the NSF does not open: $counts"
    failures=$((failures + 1))
    continue
  fi
  read -r filed unfiled <<<"$counts"
  landed=
  if [ "$status" -eq 137 ] && [ "$filed" -gt 0 ] && [ "$filed" -lt "$total" ]; then
    landed=", mid-run"
    mid_run=$((mid_run + 1))
  fi
  echo "kill $k: $fate$landed; the NSF holds $filed of $total documents in folders, $unfiled in none"
  [ "$unfiled" -eq 0 ] || failures=$((failures + 1))
done
echo "$mid_run of $kills kills landed mid-run ($items items, about ${run_ms} ms of converting each)"
if [ "$mid_run" -eq 0 ]; then
  echo "no kill landed mid-run: the sample did not test a killed conversion"
  failures=$((failures + 1))
fi
echo "$failures failed"
[ "$failures" -eq 0 ]
