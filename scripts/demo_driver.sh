# Drives the terrain demo as a person would, on the display and Wine prefix of the caller's
# session (see cmake/wine-session). Sourced by scripts/demo and the end-to-end test.
# Needs: DEMO_EXE (path of terrain_demo.exe); WINE (default /usr/lib/wine/wine64).

WINE=${WINE:-/usr/lib/wine/wine64}
DEMO_TITLE="Generazione di texture composita per un terreno"
DEMO_PID=""
DEMO_WINDOW=""

demo_fail() {
  echo "demo: $*" >&2
  [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null
  return 1
}

# Waits up to $2 seconds for an X window whose name matches the regular expression $1.
demo_find_window() {
  local pattern=$1 seconds=$2 id
  for _ in $(seq $((seconds * 5))); do
    id=$(xdotool search --name "$pattern" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# Starts the demo from folder $1 (its data files are read from there).
demo_start() {
  (cd "$1" && exec "$WINE" "$DEMO_EXE") &
  DEMO_PID=$!
}

# Answers the full-screen question: $1 is "yes" or "no".
demo_answer() {
  local box key=n
  [ "$1" = yes ] && key=y
  box=$(demo_find_window '^Video!$' 30) || { demo_fail "no full-screen question"; return 1; }
  xdotool windowfocus --sync "$box" key "$key"
}

# Waits until the title shows a frame rate; prints the window id.
demo_wait_for_frames() {
  DEMO_WINDOW=$(demo_find_window "^$DEMO_TITLE - FPS \\[[0-9]+\\]\$" "${1:-30}") ||
    { demo_fail "no frame rate in the title"; return 1; }
  echo "$DEMO_WINDOW"
}

demo_title() { xdotool getwindowname "$DEMO_WINDOW"; }

demo_screenshot() { import -window "$DEMO_WINDOW" "$1"; }

# Drags with the left button held from ($1,$2) by ($3,$4) pixels, in client coordinates.
demo_drag() {
  xdotool mousemove --window "$DEMO_WINDOW" "$1" "$2" mousedown 1 \
    mousemove --window "$DEMO_WINDOW" $(($1 + $3 / 2)) $(($2 + $4 / 2)) \
    mousemove --window "$DEMO_WINDOW" $(($1 + $3)) $(($2 + $4)) mouseup 1
}

# Presses Escape and waits for the demo to end (at most 30 s); its exit code goes to
# DEMO_EXIT_CODE. Call it directly, not in $(...): only this shell can wait for the demo.
DEMO_EXIT_CODE=""
demo_escape() {
  xdotool windowfocus --sync "$DEMO_WINDOW" key Escape
  for _ in $(seq 150); do
    kill -0 "$DEMO_PID" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$DEMO_PID" 2>/dev/null && { demo_fail "still running after Escape"; return 1; }
  wait "$DEMO_PID"
  DEMO_EXIT_CODE=$?
}
