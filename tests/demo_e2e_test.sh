#!/usr/bin/env bash
# The terrain demo end to end, as a person runs it: answers the full-screen question, waits for
# frames and the rate in the title, looks at the picture, drags it, presses Escape.
# Runs inside the test session (display and Wine prefix set). Argument: the win64 build folder.
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
DEMO_EXE="$build/terrain_demo/terrain_demo.exe"
# shellcheck source=../scripts/demo_driver.sh
source "$here/../scripts/demo_driver.sh"
PROBE="$build/tests/window_probe.exe"
out="$build/tests/work/demo_e2e"
rm -rf "$out" && mkdir -p "$out"
failures=0

check() { # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}

window_facts() { "$WINE" "$PROBE" "$DEMO_TITLE" | tr -d '\r'; } # Wine writes CRLF

rate_shown() { [[ $(demo_title) =~ FPS\ \[([0-9]+)\]$ ]] && [ "${BASH_REMATCH[1]}" -ge 1 ]; }

# A textured, lit terrain has thousands of colours; a blank or flat frame has a handful.
picture_is_rich() { [ "$(identify -format %k "$1")" -gt 1000 ]; }

pictures_differ() { # more than 5% of the pixels changed
  local changed total
  changed=$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)
  total=$(identify -format '%[fx:w*h]' "$1")
  [ "${changed%.*}" -gt $((total / 20)) ]
}

ends_with_code_0() { demo_escape && [ "$DEMO_EXIT_CODE" = 0 ]; }

echo "# answer No: an 800 x 600 window at the top-left corner"
demo_start "$build/terrain_demo"
demo_answer no && demo_wait_for_frames 60 >/dev/null || exit 1
read -r left top right bottom _ <<<"$(window_facts)"
check "window is 800 x 600 at (0, 0): $left $top $right $bottom" \
  test "$left $top $right $bottom" = "0 0 800 600"
check "title shows a frame rate of at least 1: $(demo_title)" rate_shown
sleep 2
demo_screenshot "$out/before-drag.png"
check "picture shows the textured terrain" picture_is_rich "$out/before-drag.png"
demo_drag 300 250 120 60
sleep 1
demo_screenshot "$out/after-drag.png"
check "a left drag turns the picture" pictures_differ "$out/before-drag.png" "$out/after-drag.png"
check "Escape ends the demo with exit code 0" ends_with_code_0

echo "# answer Yes: a window covering the screen"
demo_start "$build/terrain_demo"
demo_answer yes && demo_wait_for_frames 60 >/dev/null || exit 1
read -r left top right bottom _ _ _ screen_w screen_h <<<"$(window_facts)"
check "window covers the ${screen_w} x ${screen_h} screen: $left $top $right $bottom" \
  test "$left $top $right $bottom" = "0 0 $screen_w $screen_h"
check "title shows a frame rate of at least 1" rate_shown
check "Escape ends the demo with exit code 0" ends_with_code_0

echo "# a folder without the data files: frames, rate and a normal close"
mkdir -p "$out/no-data"
cp "$DEMO_EXE" "$out/no-data/"
DEMO_EXE="$out/no-data/terrain_demo.exe"
demo_start "$out/no-data"
demo_answer no && demo_wait_for_frames 60 >/dev/null || exit 1
check "title shows a frame rate of at least 1" rate_shown
check "Escape ends the demo with exit code 0" ends_with_code_0

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
