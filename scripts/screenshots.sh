#!/usr/bin/env bash
# Takes every picture of docs/screenshots/ from the real module, under Xvfb in a Wine prefix of
# its own (BUILD_DIR/screenshots/wineprefix) with Wine's bitmap fonts, each program in a virtual
# desktop so that captions are drawn. One section per picture: `shot NAME CAPTION [ACTION...]
# -- PROGRAM [ARGUMENTS...]` starts the program, and scripts/window_shot.cpp waits for its window
# titled CAPTION, does the ACTIONs (click:ID, open:ID), saves the window and closes it.
#   scripts/screenshots.sh [BUILD_DIR]      (default build/windows, built first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd)
out="$root/docs/screenshots"
work="$build/screenshots"
mkdir -p "$out" "$work"

# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
wine_up "$work"
trap 'wine_down' EXIT
run() { taskset -c 0 wine "$@" </dev/null; }

# "MS Sans Serif" and the caption buttons' glyphs come from Wine's own fonts (fonts-wine),
# which a fresh prefix does not find by itself.
cp /usr/share/wine/fonts/sserif*.fon /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
x86_64-w64-mingw32-g++-posix -O2 -static -o "$work/window_shot.exe" "$root/scripts/window_shot.cpp" -lgdi32
run regsvr32 /s "Z:$build/server/BkQnFiles.dll"

# Saves NAME.png of the window CAPTION of a program.
shot() {
  local name=$1 caption=$2
  shift 2
  local actions=()
  while [ "$1" != "--" ]; do actions+=("$1"); shift; done
  shift
  run explorer /desktop=shots,800x600 "$@" >/dev/null 2>&1 &
  local program=$!
  run explorer /desktop=shots,800x600 "$work/window_shot.exe" "$caption" "$work/$name.bmp" "${actions[@]}"
  wait "$program" || true
  python3 - "$work/$name.bmp" "$out/$name.png" <<'EOF'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height = struct.unpack_from("<ii", data, 18)
stride = (width * 3 + 3) & ~3
rows = b"".join(
    b"\0" + bytes(c for x in range(width) for c in data[offset + y * stride + 3 * x:offset + y * stride + 3 * x + 3][::-1])
    for y in reversed(range(height)))
chunk = lambda kind, body: struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[2], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                              + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
EOF
  echo "screenshots: $name.png"
}

# ---- The restore page as qnhost shows it: "Original location" ----------------------------
shot restore-page-original "Files and folders - Restore" -- "$build/host/qnhost.exe" ui restore

# ---- The restore page with "Disk drive or folder" and a folder of the first drive chosen --
shot restore-page-folder "Files and folders - Restore" click:1014 open:208 -- "$build/host/qnhost.exe" ui restore

# ---- The backup page as qnhost shows it, with a stored list ------------------------------------
data="$WINEPREFIX/drive_c/Data"
mkdir -p "$data/Documents" "$data/Photos/2024" "$data/Projects/site" "$data/Mail"
echo "Quarterly report" >"$data/report.txt" && echo "1;2;3" >"$data/budget.csv"
run "$build/host/qnhost.exe" clear >/dev/null
run "$build/host/qnhost.exe" add 'C:\Data\Documents' --include '*.doc | *.txt' --exclude '*.tmp' >/dev/null
run "$build/host/qnhost.exe" add 'C:\Data\Photos' --rule last-months 6 >/dev/null
run "$build/host/qnhost.exe" add 'C:\Data\Projects' --exclude '*.obj | *.bak' >/dev/null
run "$build/host/qnhost.exe" add 'C:\Data\report.txt' --rule last-weeks 2 >/dev/null
run "$build/host/qnhost.exe" add 'C:\Data\budget.csv' >/dev/null
shot backup-page "Files and folders - Backup" -- "$build/host/qnhost.exe" ui backup

# ---- Its tree menu, opened on the first folder of the first drive ---------------------------------
shot backup-page-tree-menu "Files and folders - Backup" open:201 rclick:201=60,24 -- "$build/host/qnhost.exe" ui backup

# ---- Its list menu, opened on the first row --------------------------------------------------------
shot backup-page-list-menu "Files and folders - Backup" rclick:206=60,26 -- "$build/host/qnhost.exe" ui backup
# The other pictures show the prefix as it was.
run "$build/host/qnhost.exe" clear >/dev/null
rm -rf "$data"

# ---- The entry property dialogs, run by dialog-preview with their code and templates linked in
folder=("$build/tools/dialog-preview.exe" folder 'C:\Data' 1 '*.doc | *.txt | *.xls' -1 -1 '*.tmp | *.bak' 4 -1 2003 3 5)

# ---- The folder dialog: masks in both lists (every stored row comes in selected), a "Before" rule
shot folder-properties "Backup Folder Properties" -- "${folder[@]}"

# ---- The file dialog: backed up when modified within the last 3 weeks --------------------------
shot file-properties "Backup File Properties" -- "$build/tools/dialog-preview.exe" file 'C:\Data\report.doc' 2 3

# ---- The input box, adding a mask to the exclude list -------------------------------------------
shot mask-input "Backup Folder Properties" post:229 "wait:Input Box: Exclude mask" "type:257=*.log" -- "${folder[@]}"

# ---- A refused mask: the include list holds *.doc, so doc (*.doc) is "Mask already exist." ------
shot mask-already-exist "Backup Folder Properties" post:225 "wait:Input Box: Include mask" "type:257=doc" post:1 \
  wait:Error -- "${folder[@]}"

run regsvr32 /s /u "Z:$build/server/BkQnFiles.dll"
