#!/usr/bin/env bash
# Throughput of the search's line reader against `wc -l` on 1 GiB of real text.
#
#     bench/reader.sh [READER_PROGRAM]     (default: build/bin/reader)
#
# The corpus is the sample texts repeated, built under /tmp and removed afterwards. Both
# programs read it from the page cache; each is timed three times and the best run counts.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
reader=${1:-$root/build/bin/reader}
size=$((1024 * 1024 * 1024))
need_kib=$((1100 * 1024))

if [[ ! -x $reader ]]; then
    echo "reader bench: no program at $reader; build the target 'reader' first" >&2
    exit 2
fi
work=$(mktemp -d /tmp/vellmora-reader-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((avail_kib < need_kib)); then
    echo "reader bench: needs about 1.1 GiB free under /tmp, has $((avail_kib / 1024)) MiB; skipped"
    exit 0
fi

# English and Shift-JIS Japanese lines, doubled up to 64 MiB, then repeated to exactly 1 GiB.
corpus=$work/corpus.txt
cat "$root/samples/en/devil.txt" "$root/samples/ja/debian-faq.txt" >"$work/chunk"
while (($(stat -c %s "$work/chunk") < 64 * 1024 * 1024)); do
    cat "$work/chunk" "$work/chunk" >"$work/chunk2"
    mv "$work/chunk2" "$work/chunk"
done
: >"$corpus"
while (($(stat -c %s "$corpus") < size)); do cat "$work/chunk" >>"$corpus"; done
truncate -s "$size" "$corpus"
rm "$work/chunk"
cat "$corpus" >/dev/null  # into the page cache for both

best_ns() {
    local best=0 start end
    for _ in 1 2 3; do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        if ((best == 0 || end - start < best)); then best=$((end - start)); fi
    done
    echo "$best"
}

export LC_ALL=C
reader_ns=$(best_ns "$reader" "$corpus")
wc_ns=$(best_ns wc -l "$corpus")

echo "corpus:  $((size / 1024 / 1024)) MiB, $(wc -l <"$corpus") lines ($("$reader" "$corpus"))"
awk -v size="$size" -v r="$reader_ns" -v w="$wc_ns" 'BEGIN {
    printf "reader:  %8.1f MB/s  (%.3f s, best of 3)\n", size / 1e6 / (r / 1e9), r / 1e9
    printf "wc -l:   %8.1f MB/s  (%.3f s, best of 3)\n", size / 1e6 / (w / 1e9), w / 1e9
    printf "ratio:   the reader takes %.2f times as long as wc -l\n", r / w
}'
