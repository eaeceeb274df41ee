#!/usr/bin/env bash
# The whole program on this machine, against the demo station: time from start to the player
# window on screen, memory after 30 s of radio (an operator with no web page to show, and the demo
# station with its advert and information viewer) and of TV (the program alone, and with its
# helper processes), CPU while playing radio and while stopped; beside it, on the same radio
# channel, Goodvibes (a GTK radio player) and mpv alone as the floor, when installed. Runs on an X
# server of its own (Xvfb with openbox) and a session bus of its own; sound goes nowhere
# (CORVANE_MPV_AO=null, mpv --ao=null, Goodvibes into GStreamer's fakesink), so the figures leave
# out the sound device. Memory is read once the process tree has settled, as PSS (what a system
# monitor shows, and what other programs sharing its libraries lower) and as the pages the tree
# holds, each counted once (bench/resident.py, as root: what the tree costs whatever else runs);
# for the demo station and TV, each process's share and its largest mappings follow. Not part of
# the tests.
#
# Usage: bench/whole-program.sh [build-dir]      (default: build)
# SECONDS_PLAYING=30 and CPU_SECONDS=10 change the periods; CASES="pageless demo tv goodvibes mpv"
# picks the cases to measure (all by default).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
playing=${SECONDS_PLAYING:-30}
cpu_seconds=${CPU_SECONDS:-10}
ticks=$(getconf CLK_TCK)
cases=" ${CASES:-pageless demo tv goodvibes mpv} "
measure() { [[ $cases == *" $1 "* ]]; }
for tool in Xvfb openbox xdotool dbus-daemon playerctl; do
  command -v "$tool" >/dev/null || { echo "whole-program: needs $tool (scripts/install-deps)" >&2; exit 1; }
done
[[ -x $build/bin/Corvane_net_player && -x $build/bin/corvane-station ]] ||
  { echo "whole-program: build the program and the station first (ninja -C $build)" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

wait_for() { # seconds command...
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.02
  done
}

# The station, on free ports, with the media the build tree has made already.
"$build/bin/corvane-station" --port 0 --data "$work/station" --media "$build/station-data/media" \
  >"$work/station.log" 2>&1 &
pids+=($!)
wait_for 300 grep -q ready "$work/station.log" || { cat "$work/station.log" >&2; exit 1; }
server=$(grep -o 'URL=\S*' "$work/station.log" | head -n1 | cut -d= -f2)
radio=$(awk '$1 == "Radio" { print $2; exit }' "$work/station.log")
tv=$(awk '$1 == "TV" { print $2; exit }' "$work/station.log")

# X server, window manager, session bus.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 60 test -s "$work/display" || { echo "whole-program: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
wait_for 60 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus" &
pids+=($!)
wait_for 30 test -s "$work/bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# A portable copy, so that the build tree's own settings stay as they are.
mkdir -p "$work/tree/bin" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
cp "$build/bin/Corvane_net_player" "$work/tree/bin/"
touch "$work/tree/bin/portable"
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime CORVANE_MPV_AO=null

tree_of() { # pid: the process and everything below it
  local pid=$1 child
  echo "$pid"
  for child in $(pgrep -P "$pid"); do tree_of "$child"; done
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }
pss_kb() { awk '/^Pss:/ { print $2 }' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }
cpu_ticks() { # pids...: user + system ticks so far
  local total=0 pid
  for pid in "$@"; do
    total=$((total + $(awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat" 2>/dev/null || echo 0)))
  done
  echo "$total"
}
cpu_percent() { # pids...: percent of one core over cpu_seconds
  local before after
  before=$(cpu_ticks "$@")
  sleep "$cpu_seconds"
  after=$(cpu_ticks "$@")
  awk -v t=$((after - before)) -v hz="$ticks" -v s="$cpu_seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}
tree_pss_kb() { # pid: PSS of the process and everything below it
  local p pss=0
  for p in $(tree_of "$1"); do pss=$((pss + $(pss_kb "$p"))); done
  echo "$pss"
}
# A web engine's tree keeps growing for a while after its pages have loaded (the renderers
# paint, fonts and caches fill): measured once the tree has stood still, its processes the same
# and its PSS within 2 MB over 4 s (at most a minute more), so that runs can be compared.
settle() { # pid
  local deadline=$((SECONDS + 60)) before now count
  before=$(tree_pss_kb "$1") count=$(tree_of "$1" | wc -l)
  while ((SECONDS < deadline)); do
    sleep 4
    now=$(tree_pss_kb "$1")
    if ((now - before < 2048 && before - now < 2048)) && [[ $(tree_of "$1" | wc -l) == "$count" ]]; then
      return 0
    fi
    before=$now count=$(tree_of "$1" | wc -l)
  done
}
memory() { # pid: "RSS MB alone, PSS MB with helpers (N processes), resident MB"
  local pid=$1 all own
  settle "$pid"
  all=$(tree_of "$pid")
  awk -v r="$(rss_kb "$pid")" -v p="$(tree_pss_kb "$pid")" -v n="$(echo "$all" | wc -w)" \
    'BEGIN { printf "%.0f MB RSS alone; %.0f MB PSS with its helpers (%d processes)", r / 1024, p / 1024, n }'
  own=$(python3 "$root/bench/resident.py" $all 2>/dev/null) && printf '; %s MB resident, each page once' "$own"
}
# Where a tree's memory goes: each process's PSS and the mappings that hold the most of it
# (files by name, anonymous memory and the heap together). BREAKDOWN=0 leaves it out.
breakdown() { # pid
  [[ ${BREAKDOWN:-1} == 1 ]] || return 0
  local p kind
  for p in $(tree_of "$1"); do
    # The engine's helpers rewrite their command line into one string.
    kind=$(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null | grep -o -- '--type=[a-z-]*' | head -n1)
    kind=${kind#--type=}
    printf '    %-8s %-10s %6.0f MB PSS:' "$p" "${kind:-program}" "$(($(pss_kb "$p") / 1024))"
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "" ? "[anon]" : $6); sub(/.*\//, "", name) }
         /^Pss:/ { pss[name] += $2 }
         END { for (n in pss) if (pss[n] >= 2048) printf "%d %s\n", pss[n] / 1024, n }' \
      "/proc/$p/smaps" 2>/dev/null | sort -rn | head -n 6 | awk '{ printf " %s %d,", $2, $1 }'
    echo
  done
}

start_program() { # address to play at load
  printf '[Server]\r\nURL=%s\r\n[CheckBox]\r\nAutoplay=1\r\n[Path]\r\nLastPath=%s\r\n[Player]\r\nVolume=50\r\n' \
    "$server" "$1" >"$work/tree/bin/Settings.ini"
  local started=$(date +%s%N)
  "$work/tree/bin/Corvane_net_player" >"$work/program.log" 2>&1 &
  program=$!
  wait_for 120 xdotool search --all --onlyvisible --pid "$program" --name '^Player$' ||
    { echo "whole-program: no player window" >&2; tail "$work/program.log" >&2; exit 1; }
  shown_ms=$((($(date +%s%N) - started) / 1000000))
}
stop_program() {
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}

# An operator with no web page: the station's settings without an advert or an information page.
settings=$work/station/www/Settings/RSettings.ini
cp "$settings" "$work/RSettings.demo"
pageless() { sed -e '/^\[AD\]/,/^\[/{/^URL=/d}' -e '/^\[InfoViewer\]/,/^\[/{/^HomePage=/d;/^Show=/d}' "$work/RSettings.demo"; }

echo "Corvane net player on $(nproc) cores, $(uname -r); load $(cut -d' ' -f1-3 /proc/loadavg); demo station $server"
if measure pageless; then
  pageless >"$settings"
  rm -f "$work/tree/bin/RSettings.ini"
  start_program "$radio"
  echo "no web page: start to player window on screen: $shown_ms ms"
  sleep "$playing"
  echo "no web page, after ${playing} s of radio: $(memory "$program")"
  echo "no web page, CPU playing radio: $(cpu_percent $(tree_of "$program")) % of one core"
  stop_program
fi

cp "$work/RSettings.demo" "$settings"
if measure demo; then
  rm -f "$work/tree/bin/RSettings.ini"
  start_program "$radio"
  echo "start to player window on screen: $shown_ms ms"
  sleep "$playing"
  echo "after ${playing} s of radio (advert and viewer shown): $(memory "$program")"
  breakdown "$program"
  echo "CPU playing radio (${cpu_seconds} s, program and helpers): $(cpu_percent $(tree_of "$program")) % of one core"
  playerctl --player=corvane stop
  wait_for 30 sh -c "[ \"\$(playerctl --player=corvane status)\" = Stopped ]"
  sleep 2
  echo "CPU idle, player stopped: $(cpu_percent $(tree_of "$program")) % of one core"
  stop_program
fi

if measure tv; then
  start_program "$tv"
  sleep "$playing"
  echo "after ${playing} s of TV: $(memory "$program")"
  breakdown "$program"
  echo "CPU playing TV: $(cpu_percent $(tree_of "$program")) % of one core"
  stop_program
fi

if ! measure goodvibes; then
  :
elif command -v goodvibes >/dev/null; then
  # Its own configuration and station list, and no sound device: GStreamer's fake sink.
  mkdir -p "$work/gv-config" "$work/gv-data"
  XDG_CONFIG_HOME=$work/gv-config XDG_DATA_HOME=$work/gv-data GST_AUDIO_SINK=fakesink \
    goodvibes "$radio" >"$work/goodvibes.log" 2>&1 &
  other=$!
  pids+=($other)
  sleep "$playing"
  echo "Goodvibes $(goodvibes --version 2>/dev/null | head -n1 | awk '{ print $NF }'), ${playing} s of the same radio: $(memory "$other")"
  echo "Goodvibes, CPU playing radio: $(cpu_percent $(tree_of "$other")) % of one core"
  kill "$other" 2>/dev/null && wait "$other" 2>/dev/null
else
  echo "Goodvibes: not measured (apt-get install goodvibes)"
fi

if ! measure mpv; then
  :
elif command -v mpv >/dev/null; then
  mpv --no-config --really-quiet --no-video --ao=null "$radio" &
  floor=$!
  pids+=($floor)
  sleep "$playing"
  echo "mpv alone, ${playing} s of the same radio: $(memory "$floor")"
  echo "mpv alone, CPU playing radio: $(cpu_percent "$floor") % of one core"
else
  echo "mpv alone: not measured (no mpv command; apt-get install mpv)"
fi
