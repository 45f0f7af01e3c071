#!/usr/bin/env bash
# Runs every fuzz program of a fuzz build for the given number of seconds, seeded with the
# answers of its web interface (tests/data/e1 for the Enigma1 pages and the HTML document,
# tests/data/e2 otherwise), and reports per program. Inputs that crash are kept under
# <builddir>/fuzz-artifacts/<program>/; copy each to tests/data/<e1|e2>/broken-fuzz-<what> so
# the tests keep reading it.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 <builddir> [seconds per program, default 60]" >&2
    exit 64
fi
builddir=$1
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)

mapfile -t programs < <(find "$builddir/fuzz" -maxdepth 1 -type f -executable -name 'fuzz_*' 2>/dev/null | sort)
if [ ${#programs[@]} -eq 0 ]; then
    echo "no fuzz programs in $builddir/fuzz; build target 'fuzzers' with the fuzz preset first" >&2
    exit 1
fi

summary=()
status=0
for program in "${programs[@]}"; do
    name=$(basename "$program")
    case "$name" in
    fuzz_e1* | fuzz_htmldocument)
        seeds="$root/tests/data/e1"
        dict="$root/fuzz/e1/e1.dict"
        ;;
    *)
        seeds="$root/tests/data/e2"
        dict="$root/fuzz/e2.dict"
        ;;
    esac
    corpus="$builddir/fuzz-corpus/$name"
    artifacts="$builddir/fuzz-artifacts/$name"
    log="$builddir/fuzz-logs/$name.log"
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    echo "== $name for ${seconds}s"
    result=ok
    if ! "$program" "$corpus" "$seeds" -dict="$dict" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1; then
        result=FAILED
        status=1
    fi
    runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo '?')
    cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+' || echo '?')
    found=$(find "$artifacts" -type f | wc -l)
    summary+=("$(printf '%-24s %-7s runs %-10s coverage %-6s artifacts %s' "$name" "$result" "$runs" "$cov" "$found")")
    if [ "$result" = FAILED ]; then
        tail -40 "$log"
    fi
done

echo
printf '%s\n' "${summary[@]}"
exit $status
