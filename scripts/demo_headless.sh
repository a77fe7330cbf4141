#!/usr/bin/env bash
# The headless part of scripts/demo, run inside a private display session.
set -uo pipefail
build=$1
DEMO_EXE="$build/terrain_demo/terrain_demo.exe"
# shellcheck source=demo_driver.sh
source "$(dirname "$0")/demo_driver.sh"
shot="$build/terrain_demo-screenshot.png"

demo_start "$build/terrain_demo"
demo_answer no || exit 1
demo_wait_for_frames 60 >/dev/null || exit 1
sleep 4
echo "title: $(demo_title)"
demo_screenshot "$shot"
echo "screenshot: $shot"
demo_escape || exit 1
echo "terrain demo exited with code $DEMO_EXIT_CODE"
exit "$DEMO_EXIT_CODE"
