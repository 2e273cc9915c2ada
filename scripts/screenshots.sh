#!/usr/bin/env bash
# Takes the pictures in docs/screenshots/ under Xvfb, in Wine's virtual desktop, from the
# module's own window code: a preview program that links it runs a window, acts on it with
# the steps given and captures it (tools/window_shot.h). Each picture is one small section
# below; add yours the same way.
#
#   picture NAME PROGRAM STEP... -- ARGUMENT...
#     runs build/windows/tools/PROGRAM.exe ARGUMENT... and saves docs/screenshots/NAME.png.
#     Steps: wait:CAPTION (the window to act on and to capture), click:ID, type:ID=TEXT.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target dialog-preview >/dev/null

build="$root/build/windows"
out="$root/docs/screenshots"
mkdir -p "$out"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
trap wine_down EXIT
wine_up "$build" || true  # a server already running for the prefix is fine
# Wine's own "MS Sans Serif" and Marlett, which a fresh prefix may not find.
fonts=$(winepath -w /usr/share/wine/fonts 2>/dev/null)

picture() {
  local name=$1 program=$2
  shift 2
  local steps=()
  while [ "$1" != "--" ]; do steps+=("$1"); shift; done
  shift
  local bmp="$build/$name.bmp"
  rm -f "$bmp"
  "$root/scripts/wine-run" "$WINEPREFIX" explorer /desktop=pictures,1024x768 "$build/tools/$program.exe" \
    --fonts "$fonts" --shot "$(winepath -w "$bmp")" "${steps[@]}" -- "$@" >/dev/null
  [ -s "$bmp" ] || { echo "screenshots: $name was not taken" >&2; return 1; }
  /usr/bin/python3 "$root/scripts/bmp_to_png.py" "$bmp" "$out/$name.png"
  rm -f "$bmp"
  echo "docs/screenshots/$name.png"
}

# The entry property dialogs. A folder with masks in both lists and a "Before" rule on the
# exclude side; every stored row comes in selected.
folder=(folder 'C:\Data' 1 '*.doc | *.txt | *.xls' -1 -1 '*.tmp | *.bak' 4 -1 2003 3 5)
picture folder_properties dialog-preview 'wait:Backup Folder Properties' -- "${folder[@]}"

# A single file backed up when modified within the last 3 weeks.
picture file_properties dialog-preview 'wait:Backup File Properties' -- file 'C:\Data\report.doc' 2 3

# The input box, adding a mask to the exclude list.
picture mask_input dialog-preview 'wait:Backup Folder Properties' click:229 'wait:Input Box: Exclude mask' \
  'type:257=*.log' -- "${folder[@]}"

# The include list holds *.doc already: typing doc gives *.doc and the error.
picture mask_already_exist dialog-preview 'wait:Backup Folder Properties' click:225 'wait:Input Box: Include mask' \
  'type:257=doc' click:1 wait:Error -- "${folder[@]}"
