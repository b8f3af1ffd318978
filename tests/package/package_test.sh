#!/usr/bin/env bash
# kov's Debian package on a bare Debian 12: builds the package with CPack in
# the build folder, installs it with `apt-get install ./kov_*.deb` into a
# minimal bookworm system (a debootstrap --variant=minbase chroot), runs
# `kov --version` there and validates the installed desktop entry.
#
# Usage: package_test.sh BUILD_DIR APP_ID VERSION   (as root, or with sudo)
# The bare system and the downloaded packages are kept under
# BUILD_DIR/package-test between runs; every run installs into a fresh copy
# of the bare system. KOV_DEBIAN_MIRROR overrides the Debian mirror.
set -euo pipefail
build=$(cd "$1" && pwd)
app_id=$2
version=$3
cache=$build/package-test
base=$cache/bookworm
archives=$cache/archives
work=$cache/work
mirror=${KOV_DEBIAN_MIRROR:-http://deb.debian.org/debian}
started=$SECONDS

if [ "$(id -u)" -ne 0 ]; then
  exec sudo -n "$0" "$@"
fi
step() { printf '[%4ds] %s\n' $((SECONDS - started)) "$*"; }
fail() { echo "package test: $*" >&2; exit 1; }
in_chroot() { chroot "$work" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }

proc_mounted=
cleanup() {
  if [ -n "$proc_mounted" ]; then umount "$work/proc" || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

step "building the package"
cd "$build"
rm -f kov_*.deb
cpack -G DEB >/dev/null
debs=(kov_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single kov_*.deb"
deb=${debs[0]}
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 qt6-qpa-plugins qt6-translations-l10n; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

if [ ! -e "$base/.complete" ]; then
  step "making a bare Debian 12 (debootstrap --variant=minbase bookworm)"
  rm -rf "$base"
  mkdir -p "$cache"
  debootstrap --variant=minbase bookworm "$base" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log" >&2; fail "debootstrap failed"; }
  security=${mirror%/debian}/debian-security
  cat >"$base/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
SOURCES
  touch "$base/.complete"
else
  step "reusing the bare Debian 12 in $base"
fi

step "installing into a fresh copy"
rm -rf "$work"
cp -a "$base" "$work"
mkdir -p "$archives"
find "$archives" -name '*.deb' -exec cp -l {} "$work/var/cache/apt/archives/" \;
cp "$deb" "$work/tmp/"
if mount -t proc proc "$work/proc" 2>/dev/null; then proc_mounted=1; fi
in_chroot apt-get update -qq
in_chroot sh -c "cd /tmp && apt-get install -y -qq ./$deb" >"$cache/install.log" 2>&1 ||
  { tail -30 "$cache/install.log" >&2; fail "apt-get install ./$deb failed"; }
find "$work/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -ln {} "$archives/" \;

step "running kov there"
[ "$(in_chroot sh -c 'command -v kov')" = /usr/bin/kov ] || fail "kov is not on the PATH"
answer=$(in_chroot kov --version)
[ "$answer" = "kov $version" ] || fail "kov --version said: $answer"
for file in "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
  "/usr/share/metainfo/$app_id.metainfo.xml" "/usr/share/mime/packages/$app_id.xml"; do
  [ -f "$work$file" ] || fail "$file is not installed"
done

step "validating the installed desktop entry"
in_chroot apt-get install -y -qq --no-install-recommends desktop-file-utils >>"$cache/install.log" 2>&1 ||
  fail "cannot install desktop-file-utils"
entry=/usr/share/applications/$app_id.desktop
report=$(in_chroot desktop-file-validate "$entry" 2>&1) || fail "$entry: $report"
[ -z "$report" ] || fail "$entry: $report"
grep -qx 'Exec=kov %f' "$work$entry" || fail "$entry does not start kov with the file"

step "passed: $deb installs on a bare Debian 12, kov runs, its desktop entry validates"
