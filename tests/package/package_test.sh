#!/usr/bin/env bash
# kov's Debian packages on a bare Debian 12: builds the three packages with
# CPack in the build folder (kov, the chart library libkovchart<major> and its
# development files libkovchart-dev), installs them with apt-get into a
# minimal bookworm system (a debootstrap --variant=minbase chroot), runs
# `kov --version` there and validates the installed desktop entry; then
# installs g++, cmake and pkg-config beside the -dev package (which brings Qt's
# own development files) and builds examples/installed_use there with
# find_package(KovChart) and with pkg-config, and checks both pictures.
#
# Usage: package_test.sh BUILD_DIR APP_ID VERSION SOURCE_DIR PNG_CHECK
#        (as root, or with sudo)
# The bare system and the downloaded packages are kept under
# BUILD_DIR/package-test between runs; every run installs into a fresh copy
# of the bare system. KOV_DEBIAN_MIRROR overrides the Debian mirror.
set -euo pipefail
build=$(cd "$1" && pwd)
app_id=$2
version=$3
source=$(cd "$4" && pwd)
png_check=$5
major=${version%%.*}
library_package=libkovchart$major
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

step "building the packages"
cd "$build"
rm -f kov_*.deb libkovchart*.deb
cpack -G DEB >/dev/null
package_file() {
  local files=("$1"_*.deb)
  [ ${#files[@]} -eq 1 ] && [ -f "${files[0]}" ] || fail "cpack made no single $1_*.deb"
  echo "${files[0]}"
}
deb=$(package_file kov)
library_deb=$(package_file "$library_package")
dev_deb=$(package_file libkovchart-dev)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in "$library_package" libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 qt6-qpa-plugins \
  qt6-translations-l10n; do
  [[ $depends == *"$needed"* ]] || fail "kov's Depends lacks $needed: $depends"
done
depends=$(dpkg-deb -f "$library_deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6; do
  [[ $depends == *"$needed"* ]] || fail "$library_package's Depends lacks $needed: $depends"
done
depends=$(dpkg-deb -f "$dev_deb" Depends)
for needed in "$library_package" qt6-base-dev; do
  [[ $depends == *"$needed"* ]] || fail "libkovchart-dev's Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$library_deb")
grep -q "libkovchart.so.$major " <<<"$contents" || fail "$library_package lacks libkovchart.so.$major"
contents=$(dpkg-deb -c "$dev_deb")
grep -q 'include/kovchart/KovChart$' <<<"$contents" || fail "libkovchart-dev lacks KovChart"

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
cp "$deb" "$library_deb" "$dev_deb" "$work/tmp/"
if mount -t proc proc "$work/proc" 2>/dev/null; then proc_mounted=1; fi
in_chroot apt-get update -qq
in_chroot sh -c "cd /tmp && apt-get install -y -qq ./$deb ./$library_deb" \
  >"$cache/install.log" 2>&1 ||
  { tail -30 "$cache/install.log" >&2; fail "apt-get install ./$deb ./$library_deb failed"; }

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

step "installing libkovchart-dev with g++, cmake and pkg-config"
in_chroot sh -c "cd /tmp && apt-get install -y -qq --no-install-recommends ./$dev_deb g++ cmake make pkg-config" \
  >>"$cache/install.log" 2>&1 ||
  { tail -30 "$cache/install.log" >&2; fail "apt-get install ./$dev_deb failed"; }
find "$work/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -ln {} "$archives/" \;

step "building a program against the installed chart engine, both ways"
mkdir -p "$work/tmp/src"
cp -r "$source/examples/installed_use" "$source/tests/package/installed_use.sh" "$work/tmp/src/"
in_chroot bash /tmp/src/installed_use.sh /tmp/src/installed_use /tmp/out ||
  fail "the program did not build or run against the installed packages"
"$png_check" "$work/tmp/out/cmake.png" || fail "the find_package build drew a wrong picture"
"$png_check" "$work/tmp/out/pkg-config.png" || fail "the pkg-config build drew a wrong picture"

step "passed: the packages install on a bare Debian 12, kov runs, its desktop entry validates, programs build against libkovchart-dev"
