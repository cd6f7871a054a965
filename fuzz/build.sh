#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer, ASan and UBSan, outside the
# CMake tree:  fuzz/build.sh [outdir]   (default /tmp/cb-fuzz)
# Then run one, e.g.:
#   cd /tmp/cb-fuzz && mkdir -p corpus_mdx
#   ./fuzz_mdx corpus_mdx /work/main/fuzz/seeds/mdx -max_total_time=600 -rss_limit_mb=2048 -timeout=5
# Targets: fuzz_mdx (statements), fuzz_calc (calculated members), fuzz_cubefile
# (cube files, raw or changed by SQL), fuzz_description (descriptions and CSV),
# fuzz_ini (INI text and connection strings), fuzz_format (number pictures),
# fuzz_zipreader (zip archives read and updated).
# fuzz_gif (GIF files: both GIF image classes and the LZW decoder; built
# against Qt; seeds: /usr/bin/python3 tests/gif/make_fixtures.py DIR).
# fuzz_upgradeinfo (upgrade information files), fuzz_xmla (XMLA answers read
# as rowsets and data sets; built against Qt Core and libcurl), fuzz_series
# (stored series points and native chart files; built against Qt).
# Each file says how its input is read; seeds/ holds starting inputs.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/cb-fuzz}
mkdir -p "$out/obj"
CXX=${CXX:-clang++}
flags="-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -I$src"
sources="$src/platform/rtl/*.cpp $src/platform/os/*.cpp $src/zip/*.cpp $src/olap/engine/*.cpp $src/olap/mdx/*.cpp $src/olap/description/*.cpp $src/olap/adomd/ConnectionString.cpp $src/tests/common/TestCubes.cpp $src/upgrade/UpgradeInfoFile.cpp"
objs=""
for f in $sources; do
  o="$out/obj/$(echo "$f" | sed "s|$src/||; s|/|_|g").o"
  if [ ! -f "$o" ] || [ "$f" -nt "$o" ]; then
    $CXX $flags -fsanitize=fuzzer-no-link -c "$f" -o "$o"
  fi
  objs="$objs $o"
done
for t in "$src"/fuzz/fuzz_*.cpp; do
  name=$(basename "$t" .cpp)
  [ "$name" = fuzz_gif ] && continue
  [ "$name" = fuzz_xmla ] && continue
  [ "$name" = fuzz_series ] && continue
  $CXX $flags -fsanitize=fuzzer "$t" $objs -lsqlite3 -o "$out/$name"
  echo "built $out/$name"
done

# The GIF target: the gif folder and the drawing layer it renders through, with Qt.
qtflags=$(pkg-config --cflags Qt6Widgets)
qtlibs=$(pkg-config --libs Qt6Widgets)
gifobjs=""
for f in $src/platform/rtl/*.cpp $src/platform/os/*.cpp $src/platform/gfx/*.cpp $src/gif/*.cpp; do
  o="$out/obj/gif_$(echo "$f" | sed "s|$src/||; s|/|_|g").o"
  if [ ! -f "$o" ] || [ "$f" -nt "$o" ]; then
    $CXX $flags $qtflags -fPIC -fsanitize=fuzzer-no-link -c "$f" -o "$o"
  fi
  gifobjs="$gifobjs $o"
done
$CXX $flags $qtflags -fPIC -fsanitize=fuzzer "$src/fuzz/fuzz_gif.cpp" $gifobjs $qtlibs -o "$out/fuzz_gif"
echo "built $out/fuzz_gif"

# The XMLA target: the object model and the XMLA client over Qt Core and libcurl.
qtcoreflags=$(pkg-config --cflags Qt6Core)
qtcorelibs=$(pkg-config --libs Qt6Core)
xmlaobjs=""
for f in $src/olap/adomd/*.cpp $src/olap/xmla/*.cpp; do
  case "$f" in */ConnectionString.cpp) continue ;; esac
  o="$out/obj/xmla_$(echo "$f" | sed "s|$src/||; s|/|_|g").o"
  if [ ! -f "$o" ] || [ "$f" -nt "$o" ]; then
    $CXX $flags $qtcoreflags -fPIC -fsanitize=fuzzer-no-link -c "$f" -o "$o"
  fi
  xmlaobjs="$xmlaobjs $o"
done
$CXX $flags $qtcoreflags -fPIC -fsanitize=fuzzer "$src/fuzz/fuzz_xmla.cpp" $objs $xmlaobjs $qtcorelibs -lcurl -lsqlite3 -o "$out/fuzz_xmla"
echo "built $out/fuzz_xmla"

# The series target: the chart engine and the native chart file, with Qt.
qtpflags=$(pkg-config --cflags Qt6Widgets Qt6PrintSupport)
qtplibs=$(pkg-config --libs Qt6Widgets Qt6PrintSupport)
chartobjs=""
for f in $(find "$src/platform" "$src/chart" -name '*.cpp' | sort) $src/chartexport/native/*.cpp; do
  o="$out/obj/chart_$(echo "$f" | sed "s|$src/||; s|/|_|g").o"
  if [ ! -f "$o" ] || [ "$f" -nt "$o" ]; then
    $CXX $flags $qtpflags -fPIC -fsanitize=fuzzer-no-link -c "$f" -o "$o"
  fi
  chartobjs="$chartobjs $o"
done
$CXX $flags $qtpflags -fPIC -fsanitize=fuzzer "$src/fuzz/fuzz_series.cpp" $chartobjs $qtplibs -o "$out/fuzz_series"
echo "built $out/fuzz_series"
