#!/usr/bin/env bash
# The KWIC and KWOC searches of pyxo-cli against ripgrep and grep on the same files, in the
# same run, each line a ratio (pyxo's time over the tool's):
#   1. a rare English keyword                       vs  rg -F -c
#   2. the same ignoring case                        vs  rg -F -i -c
#   3. a rare Japanese keyword, Shift-JIS            vs  rg -c on the same bytes
#   4. the same ignoring case                        vs  rg -i -c on the same bytes
#   5. an expression with a required literal         vs  rg -c, and grep -E -c
#   6. an expression with a choice of literals       vs  rg -c, and grep -E -c
#   7. a frequent keyword, every hit kept            vs  rg -n -o '.{0,30}the.{0,30}' > file
#   8. KWOC, a rare keyword, two lines of context    vs  grep -F -n -C 2 > file
#   9. KWOC, a frequent keyword, every line kept     vs  grep -F -n > file
#  10. KWIC on one core against every core, the same files
#
#     bench/search.sh [PYXO_CLI]      (default: build/bin/pyxo-cli)
#
# The corpora are made of many different real texts, so that rare words are rare as they are
# in a real corpus: English from the project's samples, the word list, fortunes, the licences
# and the manual pages of this system; Japanese from the project's samples and the Japanese
# manual pages and reference, converted to Shift-JIS. The English corpus is 200 files of
# 5 MiB (1000 MiB), the Japanese one 50 files of 5 MiB, each file a different stretch of the
# texts. Built under /tmp and removed afterwards; each command is timed three times and the
# best run counts. ripgrep searches the files on every core, as it does by default.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/bin/pyxo-cli}
[[ -x $cli ]] || { echo "search bench: no program at $cli; build pyxo-cli first" >&2; exit 2; }

# What we compare against, and the texts the corpora are made of.
packages=(ripgrep bc wamerican fortunes manpages manpages-ja debian-reference-ja)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}" >/dev/null
fi

work=$(mktemp -d /tmp/vellmora-search-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
file_size=$((5 * 1024 * 1024))
en_files=200
ja_files=50
# Both corpora, the texts twice over, and the frequent keyword's output.
need_kib=$(((1000 + 250 + 400 + 1200) * 1024))
avail_kib=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((avail_kib < need_kib)); then
    echo "search bench: needs about $((need_kib / 1024)) MiB free under /tmp, has $((avail_kib / 1024)) MiB; skipped"
    exit 0
fi

# The texts of one language, one after another, written twice so that any stretch of a file's
# size can be cut from any offset.
man_text() {  # man_text DIR MiB: the manual page sources under DIR, up to MiB
    find "$1" -name '*.gz' -type f 2>/dev/null | sort | xargs -r zcat -f 2>/dev/null |
        head -c $(($2 * 1024 * 1024)) || true
}
{
    cat "$root/samples/en/"*.txt "$root/tests/data/reader/devil-part.txt" \
        "$root/tests/data/reader/fortunes-part.txt" "$root/tests/data/reader/kjv-crlf.txt"
    cat /usr/share/dict/words
    find /usr/share/games/fortunes -type f ! -name '*.dat' ! -name '*.u8' -print0 2>/dev/null |
        sort -z | xargs -0 -r cat
    cat /usr/share/common-licenses/* 2>/dev/null || true
    man_text /usr/share/man/man1 60
} >"$work/en.pool"
# Each Japanese text is converted alone: iconv gives up at the first byte that is not UTF-8,
# and a page of another encoding is left out.
to_sjis() {  # to_sjis FILES...: each (gzipped or not) UTF-8 file in Shift-JIS
    local file
    for file in "$@"; do zcat -f "$file" | iconv -c -f UTF-8 -t CP932 2>/dev/null || true; done
}
{
    cat "$root/samples/ja/"*.txt "$root/tests/data/ja/sjis/subset.txt"
    mapfile -t ja_texts < <({ find /usr/share/man/ja -type f -name '*.gz'
        find /usr/share/debian-reference -type f -name '*.ja.txt*'; } 2>/dev/null | sort)
    to_sjis "${ja_texts[@]}"
} >"$work/ja.pool"
for language in en ja; do
    cat "$work/$language.pool" "$work/$language.pool" >"$work/$language.twice"
    rm "$work/$language.pool"
done

make_corpus() {  # make_corpus LANGUAGE FILES: each file cut from its own offset of the texts
    local language=$1 files=$2
    local text=$work/$language.twice
    local span=$(($(stat -c %s "$text") / 2))
    mkdir -p "$work/$language"
    for ((i = 0; i < files; i++)); do
        local offset=$(((i * 7919 * 4099) % span))
        dd if="$text" of="$work/$language/$(printf 'part%03d.txt' "$i")" bs=1M status=none \
            iflag=skip_bytes,count_bytes skip="$offset" count="$file_size"
    done
    echo "$language: $files files of $((file_size / 1024 / 1024)) MiB from $((span / 1024 / 1024)) MiB of different texts"
}
make_corpus en "$en_files"
make_corpus ja "$ja_files"
rm -f "$work/en.twice" "$work/ja.twice"

ini=$work/pyxo.ini
write_ini() {  # write_ini MAXLINE IGNORECASE [GREP]
    printf '[Options]\nMaxLine=%s\nIgnoreCase=%s\nbGrep=%s\n' "$1" "$2" "${3:-0}" >"$ini"
}

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
    printf '%-36s pyxo %6.2f s (%6.0f MB/s)   %-12s %6.2f s (%6.0f MB/s)   ratio %.2f\n' \
        "$1" "$3" "$(echo "$mb / $3" | bc -l)" "$5" "$4" "$(echo "$mb / $4" | bc -l)" \
        "$(echo "$3 / $4" | bc -l)"
}

hits() {  # hits COMMAND...: the total of the per-file counts the command prints
    "$@" 2>/dev/null | awk -F: '{ total += $NF } END { print total + 0 }'
}

en_bytes=$(du -cb "$work/en/"*.txt | tail -n 1 | cut -f 1)
ja_bytes=$(du -cb "$work/ja/"*.txt | tail -n 1 | cut -f 1)
kwic() { "$cli" --ini "$ini" kwic "$@"; }
files_pattern='*.txt'

rare=Zanzibar
echo "rare English keyword \"$rare\": $(hits rg -F -c "$rare" "$work/en") lines"
write_ini 100000 0
p=$(best_of_3 kwic -1 "$rare" -d "$work/en/" -f "$files_pattern")
r=$(best_of_3 rg -F -c "$rare" "$work/en")
report "1. rare keyword" "$en_bytes" "$p" "$r" "rg -F"

write_ini 100000 1
p=$(best_of_3 kwic -1 "$rare" -d "$work/en/" -f "$files_pattern")
r=$(best_of_3 rg -F -i -c "$rare" "$work/en")
report "2. rare keyword, ignoring case" "$en_bytes" "$p" "$r" "rg -F -i"

# 社会契約 (social contract) in Shift-JIS, and its bytes as ripgrep takes them.
keyword=$(printf '\x8E\xD0\x89\xEF\x8C\x5F\x96\xF1')
keyword_bytes='(?-u:\x8E\xD0\x89\xEF\x8C\x5F\x96\xF1)'
echo "rare Japanese keyword: $(hits rg -c "$keyword_bytes" "$work/ja") lines"
write_ini 100000 0
p=$(best_of_3 kwic -1 "$keyword" -d "$work/ja/" -f "$files_pattern")
r=$(best_of_3 rg -c "$keyword_bytes" "$work/ja")
report "3. Japanese keyword, Shift-JIS" "$ja_bytes" "$p" "$r" "rg"

write_ini 100000 1
p=$(best_of_3 kwic -1 "$keyword" -d "$work/ja/" -f "$files_pattern")
r=$(best_of_3 rg -i -c "$keyword_bytes" "$work/ja")
report "4. Japanese keyword, ignoring case" "$ja_bytes" "$p" "$r" "rg -i"

for pattern in 'Constantin[a-z]+' 'Zanzibar|Timbuktu|Samarkand'; do
    case $pattern in Constantin*) n=5 ;; *) n=6 ;; esac
    echo "expression \"$pattern\": $(hits rg -c "$pattern" "$work/en") lines"
    write_ini 2000000000 0 1
    p=$(best_of_3 kwic -1 "$pattern" -d "$work/en/" -f "$files_pattern")
    r=$(best_of_3 rg -c "$pattern" "$work/en")
    g=$(best_of_3 env LC_ALL=C grep -r -E -c "$pattern" "$work/en")
    report "$n. expression" "$en_bytes" "$p" "$r" "rg"
    report "$n. expression" "$en_bytes" "$p" "$g" "grep -E"
done

write_ini 2000000000 0
p=$(best_of_3 sh -c "\"$cli\" --ini \"$ini\" kwic -1 the -d \"$work/en/\" -f '$files_pattern' >\"$work/out\"")
r=$(best_of_3 sh -c "rg -n -o '.{0,30}the.{0,30}' \"$work/en\" >\"$work/out\"")
report "7. frequent keyword, all hits" "$en_bytes" "$p" "$r" "rg -o"
rm -f "$work/out"

kwoc_ini() { printf '[Options]\nMaxLine=2000000000\n[KWOCOptions]\nContextMae=%s\nContextAto=%s\n' "$1" "$1" >"$ini"; }
kwoc_ini 2
p=$(best_of_3 sh -c "\"$cli\" --ini \"$ini\" kwoc -1 \"$rare\" -d \"$work/en/\" -f '$files_pattern' >\"$work/out\"")
g=$(best_of_3 sh -c "LC_ALL=C grep -r -F -n -C 2 \"$rare\" \"$work/en\" >\"$work/out\"")
report "8. KWOC, rare keyword, context 2" "$en_bytes" "$p" "$g" "grep -C 2"

kwoc_ini 0
p=$(best_of_3 sh -c "\"$cli\" --ini \"$ini\" kwoc -1 the -d \"$work/en/\" -f '$files_pattern' >\"$work/out\"")
g=$(best_of_3 sh -c "LC_ALL=C grep -r -F -n the \"$work/en\" >\"$work/out\"")
report "9. KWOC, frequent keyword" "$en_bytes" "$p" "$g" "grep -F -n"
rm -f "$work/out"

# The same searches on one core and on all: files are read and searched in parallel.
cores=$(nproc)
for entry in 'rare keyword|Zanzibar|0' 'expression, no literal|[A-Z][a-z]+ville\b|1' 'frequent keyword|the|0'; do
    IFS='|' read -r name keyword grep <<<"$entry"
    write_ini 2000000000 0 "$grep"
    one=$(best_of_3 env PYXO_JOBS=1 "$cli" --ini "$ini" kwic -1 "$keyword" -d "$work/en/" -f "$files_pattern")
    all=$(best_of_3 "$cli" --ini "$ini" kwic -1 "$keyword" -d "$work/en/" -f "$files_pattern")
    printf '10. %-33s one core %6.2f s   %d cores %6.2f s   %.2f times as fast\n' \
        "$name" "$one" "$cores" "$all" "$(echo "$one / $all" | bc -l)"
done
