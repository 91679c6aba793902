#!/usr/bin/env bash
# Start-up time and memory of katalog on the demo CD and on a CD of 1000 catalogue entries,
# beside a minimal Qt Widgets program that shows one window, all in one run under Xvfb with
# openbox. Time: from the start of the process until its main window is mapped. Memory: the
# resident set then, and again a second later. Run by hand on a Release build:
#   bench/startup.sh [BUILD-DIR] [RUNS]        (defaults: build, 10)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${2:-10}
for f in katalog bench/startup/minimal_window tools/democd/democd tools/mapic/mapic cd/SYSTEM; do
  [ -e "$build/$f" ] || { echo "missing $build/$f: build the Release tree first" >&2; exit 1; }
done

tmp=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for i in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$tmp/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
for i in $(seq 50); do xdotool search --name '^Openbox$' >/dev/null 2>&1 && break; sleep 0.1; done

# The large CD: the demo CD with a catalogue of 1000 entries in place of its own.
cp -r "$build/cd" "$tmp/cd1000"
"$build/tools/democd/democd" --programs 1000 --mapic "$build/tools/mapic/mapic" "$tmp/large" >/dev/null
cp "$tmp/large/SYSTEM/MAP.PIC" "$tmp/cd1000/SYSTEM/"
cp "$tmp/large/CTIMNE.TXT" "$tmp/cd1000/"

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config"
mkdir -p "$HOME"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# measure LABEL TITLE-REGEX COMMAND...: one untimed run, then RUNS timed ones.
# Prints "LABEL median-ms min-ms rss-at-show-kB rss-after-1s-kB".
measure() {
  local label=$1 title=$2 r t0 t1 pid times=() rss=() settled=()
  shift 2
  for r in $(seq 0 "$runs"); do
    t0=$(now_ms)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" --name "$title" >/dev/null 2>&1; do
      kill -0 "$pid" 2>/dev/null || { echo "$label: the program ended before showing its window" >&2; exit 1; }
    done
    t1=$(now_ms)
    local shown; shown=$(rss_kb "$pid")
    sleep 1
    local later; later=$(rss_kb "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    [ "$r" -eq 0 ] && continue
    times+=($((t1 - t0)))
    rss+=("$shown")
    settled+=("$later")
  done
  median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
  echo "$label $(median "${times[@]}") $(printf '%s\n' "${times[@]}" | sort -n | head -n1) $(median "${rss[@]}") $(median "${settled[@]}")"
}

results=$(
  measure minimal '^Minimal$' "$build/bench/startup/minimal_window"
  measure demo '^Katalog$' "$build/katalog" "$build/cd"
  measure large '^Katalog$' "$build/katalog" "$tmp/cd1000"
)

echo "start-up until the main window is shown, $runs runs each (median, min), resident memory"
echo "$results" | awk '
  { label[NR] = $1; med[NR] = $2; min[NR] = $3; rss[NR] = $4; later[NR] = $5 }
  END {
    printf "%-28s %8s %8s %10s %12s %8s %10s\n", "program", "median", "min", "RSS", "RSS +1 s", "x time", "+RSS MB"
    name["minimal"] = "minimal Qt window"; name["demo"] = "katalog, demo CD"; name["large"] = "katalog, 1000 entries"
    for (i = 1; i <= NR; i++)
      printf "%-28s %6d ms %6d ms %7.1f MB %9.1f MB %7.2fx %9.1f\n", name[label[i]], med[i], min[i],
             rss[i] / 1024, later[i] / 1024, med[i] / med[1], (later[i] - later[1]) / 1024
    print "targets: demo CD <= 1.50x, 1000 entries <= 2.00x the minimal time; at most 40 MB above its memory"
  }'
