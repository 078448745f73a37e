#!/usr/bin/env bash
# The real window under Xvfb: refused without a display; opened 600x300 with
# its title and icon on X11; drawing saved as a screenshot; message boxes shown
# from a worker thread answered with Return and Escape while frames go on.
# Usage: window_test.sh WINDOW_DEMO OUTPUT_FOLDER
set -euo pipefail
demo="$1"
out="$2"
mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "${3:-}" != "--inside-xvfb" ]; then
  # Without any display the program must refuse to start, and say why.
  if env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$demo" screenshot "$out/none.png" 1 \
      >/dev/null 2>"$out/headless.err"; then
    fail "the window opened without a display"
  fi
  grep -q "Cannot open a display" "$out/headless.err" || fail "no reason given: $(cat "$out/headless.err")"
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$demo" "$out" --inside-xvfb
fi

unset SDL_VIDEODRIVER
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

find_window() {  # NAME: the id of the first window with exactly that name
  for _ in $(seq 300); do
    # xwininfo sees the message boxes too, which xdotool's search misses.
    id=$(xwininfo -root -tree | grep -F "\"$1\": " | awk '{print $1}' | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# The window, its drawing and idle cost.
"$demo" screenshot "$out/window-demo.png" 6 >"$out/screenshot.log" 2>&1 &
pids+=($!)
window=$(find_window "Tarnwick 1.1a") || fail "no window titled Tarnwick 1.1a"
geometry=$(xwininfo -id "$window")
grep -q "Width: 600" <<<"$geometry" || fail "window width: $geometry"
grep -q "Height: 300" <<<"$geometry" || fail "window height: $geometry"
has_icon=no
for _ in $(seq 100); do  # set just after the window appears
  if xprop -id "$window" _NET_WM_ICON | grep -q "_NET_WM_ICON(CARDINAL)"; then has_icon=yes; break; fi
  sleep 0.05
done
[ "$has_icon" = yes ] || fail "the window has no icon"
wait "${pids[0]}" || fail "screenshot run failed: $(cat "$out/screenshot.log")"
grep -q "driver=x11" "$out/screenshot.log" || fail "not on X11: $(cat "$out/screenshot.log")"
[ -s "$out/window-demo.png" ] || fail "no screenshot"
cat "$out/screenshot.log"

# Boxes from the worker: Return answers the first button, Escape the Cancel one.
rm -f "$out/frames"
"$demo" message-box "$out/frames" >"$out/box.log" 2>&1 &
pids+=($!)
box=$(find_window "Question") || fail "no Question box"
# Let the main window run a good number of frames while the box is up.
for _ in $(seq 600); do
  [ "$(cat "$out/frames" 2>/dev/null || echo 0)" -ge 15 ] 2>/dev/null && break
  sleep 0.05
done
xdotool windowfocus --sync "$box" key Return
box=$(find_window "DevIL error") || fail "no DevIL error box"
xdotool windowfocus --sync "$box" key Escape
wait "${pids[1]}" || fail "message-box run failed: $(cat "$out/box.log")"
cat "$out/box.log"
grep -q "first=Yes second=Cancel" "$out/box.log" || fail "wrong answers"
frames=$(sed -n 's/.*frames_while_up=\([0-9]*\).*/\1/p' "$out/box.log")
[ "${frames:-0}" -ge 15 ] || fail "the main window stopped while the box was up"
echo "1 passed, 0 failed"
