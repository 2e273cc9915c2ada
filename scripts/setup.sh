#!/usr/bin/env bash
# Installs what the builds and tests need on a fresh Debian machine; does nothing when all
# of it is there already. Recommended packages come along: Wine is tested with them.
# The 32-bit Wine that runs the windows-x86 tests comes last and may fail on its own: where the
# package source has no i386 packages, or they are out of step with the amd64 ones, those tests
# are skipped (scripts/test.sh says so). BKQN_NO_I386=1 leaves it out altogether.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libwine-dev wine wine64
  xvfb xauth x11-utils attr util-linux procps
  python3 fonts-wine
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Waits for another apt or dpkg run instead of failing on its lock.
apt=("${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900)

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  # A list that cannot be fetched (an i386 one, say) need not stop what the others offer.
  "${apt[@]}" update -q || echo "setup: some package lists could not be refreshed"
  "${apt[@]}" install -y -q "${missing[@]}"
fi

[ "${BKQN_NO_I386:-0}" = 1 ] && exit 0
installed wine32:i386 && exit 0
echo "setup: installing wine32:i386 for the windows-x86 tests"
added_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  added_i386=1
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"${apt[@]}" update -q >"$log" 2>&1 || true
if ! "${apt[@]}" install -y -q wine32:i386 >>"$log" 2>&1; then
  echo "setup: wine32:i386 could not be installed ($(grep -m1 '^E: ' "$log" || echo "apt-get failed")); the windows-x86 tests will be skipped"
  # The architecture goes again when it came from here and nothing of it stayed, so that the
  # next apt-get update does not fail on its lists.
  if ((added_i386)) && ! dpkg-query -W -f='${Architecture}\n' | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --remove-architecture i386
  fi
fi
exit 0
