#!/usr/bin/env bash
# The KWIC search against standard tools on the same files, in the same run:
#   1. a rare keyword, default options          vs  LC_ALL=C grep -F -c
#   2. the same ignoring case                    vs  LC_ALL=C grep -F -i -c
#   3. a frequent keyword, every hit kept        vs  rg -n -o '.{0,30}the.{0,30}' > file
#   4. a rare Japanese keyword, Shift-JIS text    vs  LC_ALL=C grep -F -c (same bytes)
#   5. a regular expression (bGrep), every hit   vs  LC_ALL=C grep -E -c
#   6. KWOC, a rare keyword, two lines of context vs  LC_ALL=C grep -F -n -C 2 > file
#   7. KWOC, a frequent keyword, every line kept  vs  LC_ALL=C grep -F -n > file
#
#     bench/search.sh [PYXO_CLI]      (default: build/bin/pyxo-cli)
#
# The corpora (1 GiB English, 256 MiB Shift-JIS) are the project's sample texts repeated,
# built under /tmp and removed afterwards. Each command is timed three times; the best counts.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/bin/pyxo-cli}
[[ -x $cli ]] || { echo "search bench: no program at $cli; build pyxo-cli first" >&2; exit 2; }

missing=()
command -v rg >/dev/null || missing+=(ripgrep)
command -v bc >/dev/null || missing+=(bc)
if ((${#missing[@]})); then
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}" >/dev/null
fi

work=$(mktemp -d /tmp/vellmora-search-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
need_kib=$(((1024 + 256 + 1200) * 1024))  # both corpora and the frequent keyword's output
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((avail_kib < need_kib)); then
    echo "search bench: needs about $((need_kib / 1024)) MiB free under /tmp, has $((avail_kib / 1024)) MiB; skipped"
    exit 0
fi

repeat_to() {  # repeat_to SIZE OUT FILES...
    local size=$1 out=$2
    shift 2
    cat "$@" >"$work/chunk"
    while (($(stat -c %s "$work/chunk") < size)); do
        cat "$work/chunk" "$work/chunk" >"$work/chunk2"
        mv "$work/chunk2" "$work/chunk"
    done
    head -c "$size" "$work/chunk" >"$out"
    rm -f "$work/chunk"
}
mkdir -p "$work/en" "$work/ja"
repeat_to $((1024 * 1024 * 1024)) "$work/en/corpus.txt" "$root/samples/en/devil.txt"
repeat_to $((256 * 1024 * 1024)) "$work/ja/corpus.txt" "$root/samples/ja/debian-faq.txt"

ini=$work/pyxo.ini
write_ini() { printf '[Options]\nMaxLine=%s\nIgnoreCase=%s\n' "$1" "$2" >"$ini"; }

best_of_3() {  # prints the best wall time in seconds of the command
    local best=
    for _ in 1 2 3; do
        local start end t
        start=$(date +%s.%N)
        local status=0
        # Not /dev/null: grep notices it and stops at the first match.
        "$@" >"$work/best.out" 2>/dev/null || status=$?
        if ((status > 1)); then echo "search bench: '$*' failed with status $status" >&2; fi
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    echo "$best"
}

report() {  # report NAME BYTES PYXO_SECONDS TOOL_SECONDS TOOL
    local mb=$(($2 / 1000000))
    printf '%-34s pyxo %6.2f s (%6.0f MB/s)   %-10s %6.2f s (%6.0f MB/s)   ratio %.2f\n' \
        "$1" "$3" "$(echo "$mb / $3" | bc -l)" "$5" "$4" "$(echo "$mb / $4" | bc -l)" \
        "$(echo "$3 / $4" | bc -l)"
}

en_bytes=$(stat -c %s "$work/en/corpus.txt")
ja_bytes=$(stat -c %s "$work/ja/corpus.txt")
kwic() { "$cli" --ini "$ini" kwic "$@"; }

write_ini 100000 0
p=$(best_of_3 kwic -1 zebra -d "$work/en/" -f corpus.txt)
g=$(best_of_3 env LC_ALL=C grep -F -c zebra "$work/en/corpus.txt")
report "1. rare keyword" "$en_bytes" "$p" "$g" "grep -F"

write_ini 100000 1
p=$(best_of_3 kwic -1 zebra -d "$work/en/" -f corpus.txt)
g=$(best_of_3 env LC_ALL=C grep -F -i -c zebra "$work/en/corpus.txt")
report "2. rare keyword, ignoring case" "$en_bytes" "$p" "$g" "grep -F -i"

write_ini 2000000000 0
p=$(best_of_3 sh -c "\"$cli\" --ini \"$ini\" kwic -1 the -d \"$work/en/\" -f corpus.txt >\"$work/out\"")
r=$(best_of_3 sh -c "rg -n -o '.{0,30}the.{0,30}' \"$work/en/corpus.txt\" >\"$work/out\"")
report "3. frequent keyword, all hits" "$en_bytes" "$p" "$r" "rg -o"
rm -f "$work/out"

write_ini 2000000000 0
keyword=$(printf '\x8E\xD0\x89\xEF\x8C\x5F\x96\xF1')  # 社会契約 (social contract) in Shift-JIS: a rare word
p=$(best_of_3 kwic -1 "$keyword" -d "$work/ja/" -f corpus.txt)
g=$(best_of_3 env LC_ALL=C grep -F -c "$keyword" "$work/ja/corpus.txt")
report "4. Japanese keyword, Shift-JIS" "$ja_bytes" "$p" "$g" "grep -F"

write_ini 2000000000 0
printf 'bGrep=1\n' >>"$ini"
pattern='un[a-z]+ly'  # unlikely, unusually, ...: some ninety thousand hits in the English corpus
p=$(best_of_3 kwic -1 "$pattern" -d "$work/en/" -f corpus.txt)
g=$(best_of_3 env LC_ALL=C grep -E -c "$pattern" "$work/en/corpus.txt")
report "5. regular expression" "$en_bytes" "$p" "$g" "grep -E"

kwoc_ini() { printf '[Options]\nMaxLine=2000000000\n[KWOCOptions]\nContextMae=%s\nContextAto=%s\n' "$1" "$1" >"$ini"; }
kwoc_ini 2
p=$(best_of_3 sh -c "\"$cli\" --ini \"$ini\" kwoc -1 zebra -d \"$work/en/\" -f corpus.txt >\"$work/out\"")
g=$(best_of_3 sh -c "LC_ALL=C grep -F -n -C 2 zebra \"$work/en/corpus.txt\" >\"$work/out\"")
report "6. KWOC, rare keyword, context 2" "$en_bytes" "$p" "$g" "grep -C 2"

kwoc_ini 0
p=$(best_of_3 sh -c "\"$cli\" --ini \"$ini\" kwoc -1 the -d \"$work/en/\" -f corpus.txt >\"$work/out\"")
g=$(best_of_3 sh -c "LC_ALL=C grep -F -n the \"$work/en/corpus.txt\" >\"$work/out\"")
report "7. KWOC, frequent keyword" "$en_bytes" "$p" "$g" "grep -F -n"
rm -f "$work/out"
