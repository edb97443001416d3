#!/usr/bin/env bash
# End-to-end: starts the real program on the demo collection under its own
# Xvfb display, opens a document, follows its first link (through the
# program's test hook), takes a screenshot and checks that it is not blank.
# Usage: e2e.sh <build dir> <document address> <screenshot.png> [stay]
# ("stay": only open the document and take the screenshot.)
# Exit 77 (skipped) when Xvfb or the screenshot tool is missing.
set -u
build=${1:?build dir}
address=${2:-1001}
shot=${3:-$build/e2e-screenshot.png}
mode=${4:-follow}

for tool in Xvfb import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number: no lock file and no socket.
display=""
for n in $(seq 90 160); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }

Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

# A private home so that the user folder and the single-instance guard are the test's own.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
marker="$work/marker"
DISPLAY=":$display" QT_QPA_PLATFORM=xcb KVELO_TEST_SCRIPT="$address;$marker;$mode" \
  "$build/kvelo" --root "$build" >"$work/kvelo.log" 2>&1 &
app_pid=$!

for _ in $(seq 200); do
  [ -s "$marker" ] && break
  kill -0 "$app_pid" 2>/dev/null || { echo "kvelo ended early"; cat "$work/kvelo.log"; exit 1; }
  sleep 0.1
done
[ -s "$marker" ] || { echo "no marker after 20 s"; cat "$work/kvelo.log"; exit 1; }
sleep 0.5
DISPLAY=":$display" timeout 20 import -window root "$shot" || { echo "screenshot failed"; exit 1; }

shown=$(head -n1 "$marker")
echo "address on screen after the link: $shown"
if [ "$mode" != stay ] && { [ "$shown" = "$address" ] || [ "$shown" = "no window" ]; }; then
  echo "FAIL: the link was not followed"; exit 1
fi
colours=$(timeout 20 convert "$shot" -format %k info:)
echo "distinct colours in the screenshot: $colours"
[ "$colours" -gt 16 ] || { echo "FAIL: the screenshot looks blank"; exit 1; }
echo "PASS"
