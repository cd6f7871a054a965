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
# Each file says how its input is read; seeds/ holds starting inputs.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/cb-fuzz}
mkdir -p "$out/obj"
CXX=${CXX:-clang++}
flags="-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -I$src"
sources="$src/platform/rtl/*.cpp $src/platform/os/*.cpp $src/zip/*.cpp $src/olap/engine/*.cpp $src/olap/mdx/*.cpp $src/olap/adomd/ConnectionString.cpp $src/tests/common/TestCubes.cpp"
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
  $CXX $flags -fsanitize=fuzzer "$t" $objs -lsqlite3 -o "$out/$name"
  echo "built $out/$name"
done
