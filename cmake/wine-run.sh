#!/bin/sh
# Runs a Windows program under Wine for CTest: one prefix shared by the builds
# (created on first use), one persistent wineserver with its stdio detached so
# that tests do not wait on it. Exits 77 (CTest's "skipped") for a 32-bit
# program on a machine whose kernel cannot run 32-bit code.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$here/../build/wineprefix}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree=;mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

loader64=/usr/lib/wine/wine64
loader32=/usr/lib/wine/wine
[ -x "$loader64" ] || loader64=$(command -v wine64 || command -v wine)

pe_machine() {  # prints 014c (i386) or 8664 (x86_64)
  off=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$off" ] && od -An -tx2 -j$((off + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

loader=$loader64
case "${1:-}" in
  *.exe|*.EXE)
    if [ "$(pe_machine "$1")" = "014c" ]; then
      if ! "$loader32" --version >/dev/null 2>&1; then
        echo "SKIP: this machine cannot run 32-bit programs ($loader32 does not start)" >&2
        exit 77
      fi
      loader=$loader32
    fi ;;
esac

mkdir -p "$WINEPREFIX"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$loader64" wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager, unmanaged windows close at once instead of
    # after a two-second wait for one.
    "$loader64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      </dev/null >/dev/null 2>&1
    wineserver -w
  fi
  # A crashing test program must fail its test at once: without this, Wine
  # starts its debugger, which waits for a person forever. "false" as the
  # debugger ends the crashed process (both registry views).
  if [ ! -f "$WINEPREFIX/.plumeta-no-debugger" ]; then
    for view in 32 64; do
      "$loader64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /d false /f /reg:$view </dev/null >/dev/null 2>&1
      "$loader64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Auto /d 1 /f /reg:$view </dev/null >/dev/null 2>&1
    done
    touch "$WINEPREFIX/.plumeta-no-debugger"
  fi
) 9>"$WINEPREFIX/.plumeta-lock"
# A new persistent server gets Wine's services started here, with their stdio
# detached: started by the test itself they would inherit its output and keep
# CTest waiting for them.
if wineserver -p </dev/null >/dev/null 2>&1; then
  "$loader64" wineboot </dev/null >/dev/null 2>&1 || true
fi
WINELOADER=$loader exec "$loader" "$@"
