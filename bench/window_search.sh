#!/usr/bin/env bash
# A KWIC search from the desktop program's window against the same search by pyxo-cli, on the
# same corpus and settings, in the same run:
#   1. a rare keyword, one hit a megabyte (the run is reading)
#   2. a frequent keyword, every hit kept (the run is laying out and storing lines)
# pyxo-cli runs twice: printing its lines as it goes (it never holds them), and with -o, which
# keeps every line in a document as the window does (and then writes the formatted file). The
# window keeps the result in its document and refreshes its view. All include collecting the
# corpus and the run; the window's time starts at "Search!".
#
#     bench/window_search.sh [BUILD_DIR]      (default: build)
#
# The corpus (256 MiB English) is the project's sample text repeated, built under /tmp and
# removed afterwards. Each command runs three times; the best counts.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/bin/pyxo-cli
window=$build/bin/window_search
for program in "$cli" "$window"; do
    [[ -x $program ]] || { echo "window bench: no program at $program; build first" >&2; exit 2; }
done
command -v bc >/dev/null || {
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q bc >/dev/null
}

work=$(mktemp -d /tmp/vellmora-window-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
need_kib=$(((256 + 600) * 1024))  # the corpus and the frequent keyword's output
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((avail_kib < need_kib)); then
    echo "window bench: needs about $((need_kib / 1024)) MiB free under /tmp, has $((avail_kib / 1024)) MiB; skipped"
    exit 0
fi

mkdir -p "$work/en"
cp "$root/samples/en/devil.txt" "$work/chunk"
while (($(stat -c %s "$work/chunk") < 256 * 1024 * 1024)); do
    cat "$work/chunk" "$work/chunk" >"$work/chunk2"
    mv "$work/chunk2" "$work/chunk"
done
head -c $((256 * 1024 * 1024)) "$work/chunk" >"$work/en/corpus.txt"
rm -f "$work/chunk"

ini=$work/pyxo.ini
export PYXO_INI=$ini PYXO_DATA_DIR=$work/data HOME=$work XDG_RUNTIME_DIR=$work

best_cli() {  # best_cli KEYWORD [-o FILE]: the best of three wall times of pyxo-cli kwic
    local best=
    for _ in 1 2 3; do
        local start end t
        start=$(date +%s.%N)
        "$cli" --ini "$ini" kwic -1 "$@" -d "$work/en/" -f corpus.txt >"$work/out"
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    echo "$best"
}

best_window() {  # best_window KEYWORD: the best of three times the window reports
    local best=
    for _ in 1 2 3; do
        local t lines
        printf '[Options]\nMaxLine=2000000000\n' >"$ini"
        read -r t lines < <("$window" "$work/en/" corpus.txt "$1" 2>/dev/null)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    echo "$best"
}

for keyword in WITTICISM the; do
    printf '[Options]\nMaxLine=2000000000\n' >"$ini"
    c=$(best_cli "$keyword")
    k=$(best_cli "$keyword" -o "$work/result.vm2")
    w=$(best_window "$keyword")
    printf '%-9s pyxo-cli kwic %5.2f s   kwic -o %5.2f s   window %5.2f s   ratio to kwic %.2f, to kwic -o %.2f\n' \
        "$keyword" "$c" "$k" "$w" "$(echo "$w / $c" | bc -l)" "$(echo "$w / $k" | bc -l)"
done
