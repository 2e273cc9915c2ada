#!/usr/bin/env bash
# The module from a fresh machine to a restored file: sets up, builds, registers the module
# in the project's own Wine prefix, and drives it with qnhost, the substitute host:
# a backup list with one folder (temporary files left out) and one single file, a dry run,
# a backup into a folder archive, and a restore into another folder.
# --x86: the same with the 32-bit module and qnhost (windows-x86 preset), registered by the
# 32-bit regsvr32, as for a 32-bit host on 64-bit Windows.
# --page: after the sample list is stored, opens the backup page (qnhost ui backup) on the
# display ($DISPLAY, or a hidden Xvfb one) for building the list by hand; OK stores it, and the
# demo then lists it and shows what a backup would take, instead of backing up and restoring.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

preset=windows
regsvr32=regsvr32
page=false
for option in "$@"; do
  case "$option" in
    --x86) preset=windows-x86 regsvr32='C:\windows\syswow64\regsvr32.exe' ;;
    --page) page=true ;;
    *) echo "usage: scripts/demo.sh [--x86] [--page]" >&2; exit 2 ;;
  esac
done

step() { printf '\n== %s\n' "$*"; }

step "Setting up and building ($preset preset)"
"$root/scripts/setup.sh"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
if [ "$preset" = windows-x86 ] && ! wine32_present; then
  echo "demo: --x86 needs 32-bit Wine (wine32:i386), which is not installed" >&2
  exit 1
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

build="$root/build/$preset"
module="$build/server/BkQnFiles.dll"
qnhost_exe="$build/host/qnhost.exe"
[ -f "$module" ] || { echo "demo: $module was not built" >&2; exit 1; }

step "Bringing Wine up in $build/wineprefix"
wine_up "$build"
trap wine_down EXIT

win() { winepath -w "$1" 2>/dev/null; }
qnhost() { "$root/scripts/wine-run" "$WINEPREFIX" "$qnhost_exe" "$@"; }

step "Registering the module"
"$root/scripts/wine-run" "$WINEPREFIX" "$regsvr32" /s "$(win "$module")"
qnhost clients

step "Making a sample tree"
demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo/Documents/notes" "$demo/Documents/photos" "$demo/Desktop"
echo "Quarterly report" >"$demo/Documents/report.txt"
echo "Meeting at ten" >"$demo/Documents/notes/meeting.txt"
echo "scratch" >"$demo/Documents/notes/draft.tmp"
echo "cache" >"$demo/Documents/cache.tmp"
for n in $(seq -w 1 300); do echo "photo $n" >"$demo/Documents/photos/img$n.jpg"; done
echo "Buy milk" >"$demo/Desktop/todo.txt"
documents=$(win "$demo/Documents")
todo=$(win "$demo/Desktop/todo.txt")
archive=$(win "$demo/archive")
restored=$(win "$demo/restored")
echo "$documents (with notes\\, photos\\ and two .tmp files), $todo"

step "Building the backup list"
qnhost clear
qnhost add "$documents" --exclude "*.tmp"
qnhost add "$todo"
qnhost list

if $page; then
  step "The backup page: build the list by hand (drag folders from the tree, drop files, right-click), then OK"
  # "MS Sans Serif" comes from Wine's own fonts, which a fresh prefix does not find by itself.
  cp /usr/share/wine/fonts/sserif*.fon /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  qnhost ui backup
  qnhost list
  step "What a backup of that list would take (a dry run)"
  qnhost backup --dry-run --human
  exit 0
fi

step "What a backup would take (a dry run: the module's own Backup, nothing copied)"
qnhost backup --dry-run --human >"$demo/dry-run.log"
grep -v 'img[0-9]*\.jpg' "$demo/dry-run.log"
echo "  (and the $(grep -c 'img[0-9]*\.jpg' "$demo/dry-run.log") photos' lines)"

step "Backing up into $archive"
qnhost backup "$archive"
qnhost show "$archive" | sed -n '1,9p'
echo "  ..."

step "Restoring into $restored"
# One line per file; the photos' lines are counted rather than shown.
if ! qnhost restore "$archive" --to "$restored" >"$demo/restore.log"; then
  cat "$demo/restore.log"
  exit 1
fi
grep -v 'img[0-9]*\.jpg' "$demo/restore.log"
echo "  (and $(grep -c 'img[0-9]*\.jpg' "$demo/restore.log") photos restored the same way)"

step "What went where"
echo "backed up from $documents and $todo, restored into $restored:"
(cd "$demo/restored" && ls -1 | grep -v '^img' && echo "img001.jpg ... img300.jpg: $(ls -1 | grep -c '^img') photos")
echo "left out by the exclude mask: $(cd "$demo" && find Documents -name '*.tmp' | tr '\n' ' ')"
