#!/usr/bin/env bash
# The chart engine as cmake --install leaves it, in a fresh prefix: the
# versioned library exporting the public classes and hiding the private
# helpers, every installed header compiling on its own (found through the
# installed pkg-config file), and examples/installed_use built against the
# prefix with find_package(KovChart) and with pkg-config, drawing its chart.
#   installed_tree_test.sh BUILD_DIR SOURCE_DIR PNG_CHECK VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
png_check=$3
version=$4
major=${version%%.*}
prefix=$build/installed-tree
fail() { echo "installed tree: $*" >&2; exit 1; }

rm -rf "$prefix"
for component in libkovchart dev; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
libdir=$(dirname "$(find "$prefix" -name "libkovchart.so.$version" | head -1)")
[ -f "$libdir/libkovchart.so.$version" ] || fail "no libkovchart.so.$version"
[ "$(readlink "$libdir/libkovchart.so.$major")" = "libkovchart.so.$version" ] ||
  fail "libkovchart.so.$major does not name libkovchart.so.$version"
[ -L "$libdir/libkovchart.so" ] || fail "no libkovchart.so link for the linker"
soname=$(objdump -p "$libdir/libkovchart.so.$version" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = "libkovchart.so.$major" ] || fail "SONAME is $soname"
for file in include/kovchart/KovChart include/kovchart/chart/chart.h \
  "${libdir#"$prefix"/}/cmake/KovChart/KovChartConfig.cmake" \
  "${libdir#"$prefix"/}/cmake/KovChart/KovChartConfigVersion.cmake" \
  "${libdir#"$prefix"/}/pkgconfig/kovchart.pc"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -z "$(find "$prefix/include" -name axis_steps.h)" ] || fail "a private header is installed"

# The public classes are exported, the private helpers are not.
symbols=$(nm -D --defined-only -C "$libdir/libkovchart.so.$version")
for exported in 'kov::TCustomChart::TCustomChart(QWidget\*)' 'typeinfo for kov::ChartException' \
  'kov::TLineSeries::TLineSeries()' 'kov::FormatFloat('; do
  grep -q "$exported" <<<"$symbols" || fail "the library does not export $exported"
done
for hidden in 'kov::NextNiceStep(' 'kov::PointNearSegment('; do
  ! grep -q "$hidden" <<<"$symbols" || fail "the library exports the private $hidden"
done

export PKG_CONFIG_PATH=$libdir/pkgconfig CMAKE_PREFIX_PATH=$prefix LD_LIBRARY_PATH=$libdir
# shellcheck disable=SC2046 # the flags are meant to split
read -ra cflags <<<"$(pkg-config --cflags kovchart)"
headers=$(cd "$prefix/include/kovchart" && find . -type f | sort)
count=0
for header in $headers; do
  echo "#include <${header#./}>" |
    g++ "${cflags[@]}" -fsyntax-only -Wall -Wextra -x c++ - ||
    fail "$header does not compile on its own"
  count=$((count + 1))
done

bash "$source/tests/package/installed_use.sh" "$source/examples/installed_use" "$build/installed-use"
"$png_check" "$build/installed-use/cmake.png"
"$png_check" "$build/installed-use/pkg-config.png"
echo "installed tree: $count headers compile alone; the example builds both ways and draws"
