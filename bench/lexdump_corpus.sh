#!/usr/bin/env bash
# The token dump of every corpus program (copybooks read in line), as one
# checksum. A change that only makes the lexer faster leaves it unchanged:
#   bench/lexdump_corpus.sh BUILD_DIR [CORPUS_DIR]        prints the checksum
#   bench/lexdump_corpus.sh BUILD_DIR [CORPUS_DIR] --check compares it with
#                                          bench/lexdump_corpus.sha256
# The corpus folder's own path is replaced by CORPUS, so the sum does not
# depend on where the corpus or the checkout lies.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/corpus_args.sh"
corpus_args lexdump_corpus.sh lexdump "$@"

dump_folder() {  # folder copybooks dialect [suffix]
    local folder=$1 copy=$2 lang=$3 sfx=${4:-}
    local args=(-lang="$lang" -copylib-dir="$corpus/$copy")
    [ -n "$sfx" ] && args+=(-copylib-sfx="$sfx")
    find "$corpus/$folder" -maxdepth 1 -type f ! -iname '*.cpy' | LC_ALL=C sort | while read -r f; do
        echo "== $folder/$(basename "$f")"
        "$tool" "${args[@]}" "$f" 2>&1 || echo "exit $?"
    done
}

sum=$( { dump_folder nist nist-copy ansi85 .CPY
         dump_folder sql sql mf
         dump_folder genapp genapp vsii
         dump_folder course course vsii; } | sed "s|$corpus|CORPUS|g" | sha256sum | cut -d' ' -f1)
if [ $check = 1 ]; then
    want=$(cat "$here/lexdump_corpus.sha256")
    if [ "$sum" = "$want" ]; then echo "corpus token dump unchanged ($sum)"; else
        echo "corpus token dump CHANGED: $sum, expected $want" >&2; exit 1; fi
else
    echo "$sum"
fi
