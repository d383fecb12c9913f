#!/bin/sh
# Runs one wine test program in a Wine prefix made afresh for it, of the
# kind the program's build stands for (win32: 32-bit Windows, win64: 64-bit
# Windows), with its own persistent wineserver, which goes at the end; the
# prefix goes too when the program passed.
# fresh_prefix.sh PREFIX win32|win64 PROGRAM [ARGUMENTS...]
set -u
prefix=$1 kind=$2
shift 2
here=$(cd "$(dirname "$0")/../../.." && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
loader=/usr/lib/wine/wine64
[ "$kind" = win32 ] && loader=/usr/lib/wine/wine
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIP: this machine cannot run 32-bit programs, and the setup is one" >&2
  exit 77
fi

wineserver -k >/dev/null 2>&1
rm -rf "$prefix"
mkdir -p "$prefix"
WINEARCH=$kind "$loader" wineboot -i </dev/null >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
  </dev/null >/dev/null 2>&1
# A crash fails at once instead of waiting in Wine's debugger.
for view in 32 64; do
  "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /d false /f /reg:$view </dev/null >/dev/null 2>&1
  "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Auto /d 1 /f /reg:$view </dev/null >/dev/null 2>&1
done
wineserver -w
touch "$prefix/.plumeta-no-debugger"

"$here/cmake/wine-run.sh" "$@"
status=$?
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
[ $status -eq 0 ] && rm -rf "$prefix"
exit $status
