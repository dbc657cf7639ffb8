#!/usr/bin/env bash
# The result commands on a 100,000-line KWIC result: a real search over the sample texts
# repeated to 256 MiB, written with -o, then each command on that file (and the sort again
# on its own sorted output, the already-sorted case). The extended collocation statistics
# and the collocation strength also read the whole corpus for their reference word list:
# timed on the first run, which builds the word-list cache, and on the second, which reuses
# it. Each time includes reading the formatted file and printing the list, so "show" is
# given as the floor. The sorts are set against LC_ALL=C sort over the same lines.
#
#     bench/results.sh [PYXO_CLI]      (default: build/bin/pyxo-cli)
#
# Everything is built under /tmp and removed afterwards; each command is timed three times
# and the best run counts.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/bin/pyxo-cli}
[[ -x $cli ]] || { echo "results bench: no program at $cli; build pyxo-cli first" >&2; exit 2; }
command -v bc >/dev/null || {
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q bc >/dev/null
}

work=$(mktemp -d /tmp/vellmora-results-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
need_kib=$((600 * 1024))
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((avail_kib < need_kib)); then
    echo "results bench: needs about 600 MiB free under /tmp, has $((avail_kib / 1024)) MiB; skipped"
    exit 0
fi

mkdir -p "$work/corpus"
cat "$root/samples/en/devil.txt" >"$work/chunk"
while (($(stat -c %s "$work/chunk") < 256 * 1024 * 1024)); do
    cat "$work/chunk" "$work/chunk" >"$work/chunk2"
    mv "$work/chunk2" "$work/chunk"
done
mv "$work/chunk" "$work/corpus/corpus.txt"

ini=$work/pyxo.ini
printf "[Options]\nMaxLine=100000\n[Sort]\nMaxLine=100000\n[PositionedRekkc]\nprev1=1\npos1=1\n" >"$ini"
export PYXO_DATA_DIR=$work/data
pyxo() { "$cli" --ini "$ini" "$@"; }

best_of_3() {  # prints the best wall time in seconds of the command, its output to a file
    local best=
    for _ in 1 2 3; do
        local start end t status=0
        start=$(date +%s.%N)
        "$@" >"$work/best.out" 2>/dev/null || status=$?
        if ((status != 0)); then echo "results bench: '$*' failed with status $status" >&2; fi
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    echo "$best"
}

report() {  # report NAME SECONDS [TOOL_SECONDS TOOL]
    if (($# > 2)); then
        printf '%-36s %6.3f s   %-14s %6.3f s   ratio %.2f\n' "$1" "$2" "$4" "$3" \
            "$(echo "$2 / $3" | bc -l)"
    else
        printf '%-36s %6.3f s\n' "$1" "$2"
    fi
}

pyxo kwic -1 the -d "$work/corpus/" -f corpus.txt -o "$work/r.vm2" >"$work/r.txt"
lines=$(wc -l <"$work/r.txt")
echo "KWIC result: $lines lines ($(stat -c %s "$work/r.vm2") bytes formatted)"
grep -v -e '-----\[ ' "$work/r.txt" >"$work/hits.txt"

report "show (read and print)" "$(best_of_3 pyxo show "$work/r.vm2")"
c=$(best_of_3 env LC_ALL=C sort -k 3 "$work/hits.txt")
report "sort (first key R1)" "$(best_of_3 pyxo sort "$work/r.vm2")" "$c" "sort -k 3"
pyxo sort "$work/r.vm2" -o "$work/s.vm2" >"$work/s.txt"
c=$(best_of_3 env LC_ALL=C sort -k 3 "$work/s.txt")
report "sort, input already sorted" "$(best_of_3 pyxo sort "$work/s.vm2")" "$c" "sort -k 3"
c=$(best_of_3 env LC_ALL=C sort "$work/hits.txt")
report "sort by column" "$(best_of_3 pyxo sort-column "$work/r.vm2")" "$c" "sort"
c=$(best_of_3 env LC_ALL=C grep -F -c ' of ' "$work/r.txt")
report "extraction by range (of)" "$(best_of_3 pyxo extract-range "$work/r.vm2" -k of)" \
    "$c" "grep -F -c"
report "extraction by position (of)" "$(best_of_3 pyxo extract-pos "$work/r.vm2" -k of)"
report "collocation statistics (R1)" "$(best_of_3 pyxo colloq "$work/r.vm2")"
printf '[Colloq]\nFreqOrder=1\n' >>"$ini"
report "collocation, frequency order" "$(best_of_3 pyxo colloq "$work/r.vm2")"
report "collocation table" "$(best_of_3 pyxo colloq-table "$work/r.vm2")"
# The search above stored its corpus in the settings: the reference list reads all of it.
start=$(date +%s.%N)
pyxo colloq-ext "$work/r.vm2" >"$work/best.out"
first=$(echo "$(date +%s.%N) - $start" | bc -l)
report "extended statistics, first run" "$first"
report "extended statistics, cached" "$(best_of_3 pyxo colloq-ext "$work/r.vm2")"
# The strength measures take their corpus counts from the same word list: without it first.
rm -rf "$PYXO_DATA_DIR"
start=$(date +%s.%N)
pyxo colloq-strength "$work/r.vm2" --measure ll >"$work/best.out"
first=$(echo "$(date +%s.%N) - $start" | bc -l)
report "collocation strength, first run" "$first"
report "collocation strength, cached" "$(best_of_3 pyxo colloq-strength "$work/r.vm2" --measure ll)"
c=$(best_of_3 env LC_ALL=C wc -w "$work/corpus/corpus.txt")
report "wc -w over the corpus (for scale)" "$c"
