#!/usr/bin/env bash
# Builds examples/installed_use against an installed chart engine twice, with
# its CMake package (find_package(KovChart)) and with pkg-config, and runs
# both builds offscreen: WORK_DIR/cmake.png and WORK_DIR/pkg-config.png.
# Where the engine is installed comes from the environment (CMAKE_PREFIX_PATH,
# PKG_CONFIG_PATH, LD_LIBRARY_PATH) or is the system's.
#   installed_use.sh EXAMPLE_DIR WORK_DIR
set -euo pipefail
example=$(cd "$1" && pwd)
work=$2
rm -rf "$work"
mkdir -p "$work"
export QT_QPA_PLATFORM=offscreen

cmake -S "$example" -B "$work/cmake-build" >"$work/cmake.log" 2>&1 ||
  { cat "$work/cmake.log" >&2; echo "installed_use: find_package(KovChart) failed" >&2; exit 1; }
cmake --build "$work/cmake-build" >>"$work/cmake.log" 2>&1 ||
  { cat "$work/cmake.log" >&2; echo "installed_use: the CMake build failed" >&2; exit 1; }
"$work/cmake-build/installed_use" "$work/cmake.png"

# shellcheck disable=SC2046 # the flags are meant to split
g++ "$example/main.cpp" -o "$work/installed_use" $(pkg-config --cflags --libs kovchart) ||
  { echo "installed_use: the pkg-config build failed" >&2; exit 1; }
"$work/installed_use" "$work/pkg-config.png"
echo "installed_use: built with find_package and with pkg-config, both drew"
