#!/bin/sh
# Makes docs/balloon-and-tray.png: the welcome balloon pointing at the tray
# icon, drawn by the Win32 code under Wine on a virtual X screen. Needs the
# win64 build (cmake --preset win64 && cmake --build --preset win64), Wine,
# Xvfb, xwd and ImageMagick.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tests=$root/build/win64/tests/wine/plumeta_wine_tests.exe
[ -f "$tests" ] || cmake --build --preset win64 --target plumeta_wine_tests
mkdir -p docs
export PLUMETA_SCREENSHOT="$root/docs/balloon-and-tray.png"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  cmake/wine-run.sh "$tests" --gtest_also_run_disabled_tests \
  --gtest_filter=Screenshot.DISABLED_BalloonAndTrayIcon </dev/null
echo "$PLUMETA_SCREENSHOT"
