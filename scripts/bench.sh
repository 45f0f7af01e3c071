#!/usr/bin/env bash
# Runs every benchmark program of a build and prints its results, ending with the table of
# throughput against a bare XML scan. Builds nothing: `make bench` builds target `benchmarks`
# first. Extra arguments go to every program (e.g. --benchmark_filter=timer).
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 <builddir> [benchmark options...]" >&2
    exit 64
fi
builddir=$1
shift

mapfile -t programs < <(find "$builddir/bench" -maxdepth 2 -type f -executable -name 'bench_*' 2>/dev/null | sort)
if [ ${#programs[@]} -eq 0 ]; then
    echo "no benchmark programs in $builddir/bench; build target 'benchmarks' first" >&2
    exit 1
fi

status=0
for program in "${programs[@]}"; do
    echo "== $(basename "$program")"
    "$program" "$@" || status=$?
done
exit $status
