#!/usr/bin/env bash
# The result commands from the desktop program's window against the same commands of
# pyxo-cli, on one 100,000-line KWIC result of the sample text, in the same run. The window's
# time runs from OK in the command's dialog to the redrawn view; pyxo-cli's is the whole
# command: reading the formatted file, the command, writing the updated file with -o.
#
#     bench/window_results.sh [BUILD_DIR]      (default: build)
#
# Each command runs three times; the best counts.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/bin/pyxo-cli
window=$build/bin/window_results
for program in "$cli" "$window"; do
    [[ -x $program ]] || { echo "results window bench: no program at $program; build first" >&2; exit 2; }
done
command -v bc >/dev/null || {
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q bc >/dev/null
}

work=$(mktemp -d /tmp/vellmora-results-window-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((avail_kib < 200 * 1024)); then
    echo "results window bench: needs about 200 MiB free under /tmp; skipped"
    exit 0
fi
mkdir -p "$work/en"
for _ in $(seq 24); do cat "$root/samples/en/devil.txt"; done >"$work/en/corpus.txt"

ini=$work/pyxo.ini
export PYXO_INI=$ini PYXO_DATA_DIR=$work/data HOME=$work XDG_RUNTIME_DIR=$work
printf '[Options]\nMaxLine=100000\n[Sort]\nMaxLine=100000\n[Setting]\nExtractionWord=of\n' >"$ini"
"$cli" --ini "$ini" kwic -1 the -d "$work/en/" -f corpus.txt -o "$work/result.vm2" >/dev/null 2>&1 || true
lines=$("$cli" --ini "$ini" counts "$work/result.vm2" 2>/dev/null | head -1)
echo "result: $lines"

best() {  # best COMMAND...: the best of three wall times
    local best=
    for _ in 1 2 3; do
        local start end t
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    echo "$best"
}

best_window() {  # best_window COMMAND: the best of three times the window reports
    local best=
    for _ in 1 2 3; do
        local name t
        read -r name t < <("$window" "$work/result.vm2" "$1" 2>/dev/null)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    echo "$best"
}

for command in sort sort-column extract-range colloq convert; do
    c=$(best "$cli" --ini "$ini" "$command" "$work/result.vm2" -o "$work/out.vm2")
    w=$(best_window "$command")
    printf '%-13s pyxo-cli %6.3f s   window %6.3f s\n' "$command" "$c" "$w"
done
