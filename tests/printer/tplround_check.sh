#!/bin/bash
# The round-trip tool finds the copybooks of a program as the parser finds
# them: through a folder list whose first folder is empty, a suffix list
# with an empty suffix, a copybook file without an extension and one found
# by the lower-case retry. Printed from source the program and its
# copybooks come back byte for byte; printed through the templates they
# parse again to an equal tree; no copybook is written under a name made of
# the suffix list.
#   tplround_check.sh TPLROUND
set -u
tool=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

mkdir -p "$tmp/empty" "$tmp/lib"
printf '       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n'\
'       WORKING-STORAGE SECTION.\n       COPY NOEXT.\n       COPY LOWCASE.\n       PROCEDURE DIVISION.\n'\
'           STOP RUN.\n' > "$tmp/T.cbl"
printf '      * NO EXTENSION\n       01  A PIC X.\n' > "$tmp/lib/NOEXT"
printf '      * LOWER CASE\n       01  B PIC X.\n' > "$tmp/lib/lowcase.cbl"
opts=(-lang=ansi85 "-copylib-dir=$tmp/empty,$tmp/lib" "-copylib-sfx=.cpy,,.cbl")

run() {
    local what=$1 expect=$2
    shift 2
    out=$("$tool" "${opts[@]}" "$@" -out="$tmp/out" "$tmp/T.cbl" 2>&1)
    rc=$?
    if [ $rc -ne 0 ] || [[ "$out" != *"$expect"* ]]; then
        echo "FAIL: $what: status $rc, output:"
        echo "$out"
        fail=1
    fi
    if ls "$tmp/out/copies" | grep -q ','; then
        echo "FAIL: $what: a copybook named after the suffix list: $(ls "$tmp/out/copies")"
        fail=1
    fi
}
run "printed from source" "same bytes" -src
run "printed through the templates" "equal trees"
exit $fail
