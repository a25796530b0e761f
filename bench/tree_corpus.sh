#!/usr/bin/env bash
# The parse trees of every corpus program (copybooks read in line), in their
# TIC text form, with the messages and status line of each parse, as one
# checksum. A change that only makes the parse faster leaves it unchanged:
#   bench/tree_corpus.sh BUILD_DIR [CORPUS_DIR]         prints the checksum
#   bench/tree_corpus.sh BUILD_DIR [CORPUS_DIR] --check compares it with
#                                          bench/tree_corpus.sha256
# Each program is parsed by its own parsedump process (the file-name table
# of a TIC text holds every file of the process); the corpus folder's own
# path is replaced by CORPUS, so the sum does not depend on where it lies.
# VEMLO_TREE_DUMP_DIR=DIR keeps the dump of every program in DIR for a diff.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/corpus_args.sh"
corpus_args tree_corpus.sh parsedump "$@"

out="${VEMLO_TREE_DUMP_DIR:-}"
keep=1
if [ -z "$out" ]; then out="$(mktemp -d)"; keep=0; fi
mkdir -p "$out"
trap '[ $keep = 1 ] || rm -rf "$out"' EXIT

# One line per program: folder, copybook folder, dialect, suffix, file.
list() {
    local folder=$1 copy=$2 lang=$3 sfx=${4:--}
    find "$corpus/$folder" -maxdepth 1 -type f ! -iname '*.cpy' | LC_ALL=C sort |
        while read -r f; do echo "$folder $copy $lang $sfx $(basename "$f")"; done
}
{ list nist nist-copy ansi85 .CPY
  list sql sql mf
  list genapp genapp vsii
  list course course vsii; } >"$out/programs.txt"

export corpus tool out
# Parses one program of the list into its own dump file.
dump_one() {
    local folder=$1 copy=$2 lang=$3 sfx=$4 name=$5
    local args=(-tic -lang="$lang" -copylib-dir="$corpus/$copy")
    [ "$sfx" != "-" ] && args+=(-copylib-sfx="$sfx")
    { echo "== $folder/$name"
      "$tool" "${args[@]}" "$corpus/$folder/$name" 2>&1 || echo "exit $?"; } |
        sed "s|$corpus|CORPUS|g" >"$out/$folder.$name.tic"
}
export -f dump_one
xargs -P "$(nproc)" -L 1 bash -c 'dump_one "$@"' _ <"$out/programs.txt"

sum=$(while read -r folder copy lang sfx name; do cat "$out/$folder.$name.tic"; done <"$out/programs.txt" |
      sha256sum | cut -d' ' -f1)
if [ $check = 1 ]; then
    want=$(cat "$here/tree_corpus.sha256")
    if [ "$sum" = "$want" ]; then echo "corpus trees unchanged ($sum)"; else
        echo "corpus trees CHANGED: $sum, expected $want" >&2; exit 1; fi
else
    echo "$sum"
fi
