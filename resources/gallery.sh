#!/bin/sh
# Makes the screenshot gallery in docs/gallery/: the real plumsetup.exe and
# plumeta.exe (the x86_64 builds of the same code) under Wine on a virtual X
# screen, worked by the wine suite's driver (plumdrive.exe). Needs the win64
# build, Wine, Xvfb, xwd and ImageMagick. Uses a prefix of its own,
# build/gallery-prefix, made afresh each time.
#
#   resources/gallery.sh
set -eu
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" != "--inside" ]; then
  cmake --build --preset win64 --target plumeta plumsetup plumdrive \
    plumeta_spoolbox >/dev/null
  rm -rf build/gallery-prefix
  mkdir -p docs/gallery
  exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" --inside
fi

export WINEPREFIX="$root/build/gallery-prefix"
out=$root/docs/gallery
wine=$root/cmake/wine-run.sh
drive() { "$wine" "$root/build/win64/tests/wine/driver/plumdrive.exe" "$@" | tr -d '\r'; }
# shot NAME GEOMETRY: that part of the screen as docs/gallery/NAME.png
shot() {
  xwd -root -silent | convert xwd:- -crop "$2" +repage "$out/$1.png"
  echo "docs/gallery/$1.png"
}

# The programs in a folder of the prefix, as an installation has them.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
# Wine has no Arial, which the main window's description is set in; Liberation
# Sans has its metrics, so the eight lines fit as they do on Windows.
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial \
  /d 'Liberation Sans' /f >/dev/null
folder=$WINEPREFIX/drive_c/Plumeta
mkdir -p "$folder"
cp build/win64/setup/plumsetup.exe build/win64/monitor/plumeta.exe "$folder/"

# The 64-bit printer driver, which a 32-bit setup on 64-bit Windows would
# register itself: this is the 64-bit build, and Wine's AddPrinter wants the
# caller's own environment.
driver='HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Plumeta'
"$wine" reg add "$driver" /v Driver /d pscript5.dll /f >/dev/null
"$wine" reg add "$driver" /v "Data File" /d plumeta.ppd /f >/dev/null
"$wine" reg add "$driver" /v "Configuration File" /d ps5ui.dll /f >/dev/null
"$wine" reg add "$driver" /v Version /t REG_DWORD /d 3 /f >/dev/null

# The setup program's balloon.
"$wine" 'C:\Plumeta\plumsetup.exe' </dev/null >/dev/null 2>&1 &
setup=$!
sleep 1
pid=$(drive pid plumsetup.exe)
shot setup-balloon "$(drive rect "$pid" PlumetaBalloon)"
wait $setup || true

# The monitor started with an argument: its welcome balloon.
"$wine" 'C:\Plumeta\plumeta.exe' /welcome </dev/null >/dev/null 2>&1 &
monitor=$!
sleep 2
pid=$(drive pid plumeta.exe)
if geometry=$(drive rect "$pid" PlumetaBalloon); then
  shot welcome-balloon "$geometry"
fi

# The tray menu with each submenu open.
menu() {  # menu NAME CAPTION...
  name=$1
  shift
  drive menu tray "$pid" --open "$@"
  shot "$name" "$(drive rect "$pid" menus)"
  drive close-menu "$pid"
}
menu tray-menu "&Open Main Window"
menu tray-menu-quality "PDF Quality" "Default"
menu tray-menu-version "PDF Version" "1.2  (Adobe Acrobat 3.x)"
menu tray-menu-security "PDF Security" "Print document"
menu tray-menu-password "PDF Password" "User Password"
menu tray-menu-resolution "PDF Resolution" "72"

# The input dialogs, each cancelled (the empty password then reads as
# cleared, which the program says).
dialog() {  # dialog NAME CAPTION MENU-PATH...
  name=$1
  caption=$2
  shift 2
  drive menu tray "$pid" "$@"
  shot "$name" "$(drive rect "$pid" '#32770' "$caption")"
  drive input "$pid" "$caption" --cancel >/dev/null
}
dialog input-user-password "Set User Password" "PDF Password" "User Password"
drive message "$pid" Plumeta ok >/dev/null
dialog input-owner-password "Set Owner Password" "PDF Password" "Owner Password"
drive message "$pid" Plumeta ok >/dev/null
dialog input-owner-password-required "Owner Password Required" \
  "PDF Security" "Print document"
drive menu tray "$pid" "PDF Security" "Print document"

# The main window.
drive menu tray "$pid" "&Open Main Window"
shot main-window "$(drive rect "$pid" TMain Plumeta)"

# Leaving.
drive menu tray "$pid" "E&xit"
shot exit-warning "$(drive rect "$pid" '#32770' Warning)"
drive message "$pid" Warning yes >/dev/null
wait $monitor || true

# A print job: its balloon and the save dialog. Wine's spooler shows a job
# only to the process that made it, so this is the test build of the
# monitor, which lists its printer's jobs from the spool folder; the job is
# written there in that folder's format.
spool=$WINEPREFIX/drive_c/windows/system32/spool/PRINTERS
mkdir -p "$spool"
(cd "$folder" && exec "$wine" "$root/build/win64/tests/wine/plumeta_spoolbox.exe" \
  </dev/null >/dev/null 2>&1) &
monitor=$!
sleep 2
pid=$(drive pid plumeta_spoolbox.exe)
printf '%%!PS\nshowpage\n' >"$spool/00001.SPL"
printf 'JobId=1\nPrinter=Plumeta\nMachine=\\\\GALLERY\nUser=root\nDocument=%s\nDatatype=RAW\nStatus=8\nTotalPages=1\n' \
  'Quarterly report.doc' >"$spool/00001.SHD"
shot job-balloon "$(drive rect "$pid" PlumetaBalloon)"
shot save-dialog "$(drive rect "$pid" '#32770')"
drive save "$pid" --cancel >/dev/null
rm -f "$spool/00001.SPL" "$spool/00001.SHD"
drive menu tray "$pid" "E&xit"
drive message "$pid" Warning yes >/dev/null
wait $monitor || true

"$wine" 'C:\Plumeta\plumsetup.exe' 1024 </dev/null >/dev/null 2>&1 || true
wineserver -k 2>/dev/null || true
