#!/bin/bash
# The catalogue generator refuses print templates that do not fit their
# operation, and totals of the templates that are off, with a FILE:LINE
# message and status 1; it accepts the real files, and the printer's table
# it writes holds every unconditional text of the catalogue.
#   templates_generator_check.sh GENERATOR OPERATIONS.def CONDITIONAL.def
set -u
gen=$1 ops=$2 cond=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

"$gen" "$ops" "$tmp" || { echo "FAIL: the real catalogue is refused"; fail=1; }
"$gen" --print-table "$ops" "$cond" "$tmp" || { echo "FAIL: the real conditional entries are refused"; fail=1; }
rows=$(grep -c '^    PrintTemplate(' "$tmp/default_table.cpp")
[ "$rows" = 1409 ] || { echo "FAIL: $rows rows in default_table, not 1409"; fail=1; }
conds=$(grep -c '^    PrintTemplate([0-9]*, Cond' "$tmp/default_table.cpp")
[ "$conds" = 13 ] || { echo "FAIL: $conds conditional rows, not 13"; fail=1; }

# Each case: a sed edit of the catalogue and a text the message must hold.
check() {
    sed "$1" "$ops" > "$tmp/bad.def"
    out=$("$gen" "$tmp/bad.def" "$tmp" 2>&1)
    rc=$?
    if [ $rc -ne 1 ] || [[ "$out" != *"$2"* ]] || [[ "$out" != "$tmp/bad.def:"* ]]; then
        echo "FAIL: edit '$1': status $rc, message '$out', expected '$2'"
        fail=1
    fi
}
# A slot the operation does not have, a derived slot, unbalanced marks.
check 's/"END PROGRAM \$1\[.\]"/"END PROGRAM $2[.]"/' 'END_COBOL_PROGRAM: $2: the operation has 1 slots'
check 's/"\\r\$1{\$2=\$2}"  FILE_CONTAINED_PROGS/"\\r$1{$2=$2}{$3?$3}"  FILE_CONTAINED_PROGS/' 'names the derived slot FILE_EXTERNAL_DEFS'
check 's/"PIC \$1"/"PIC {$1?$1"/' "conditional not closed with '}'"
check 's/"PIC \$1"/"PIC $1}"/' "'}' without '{'"
check 's/"PIC \$1"/"PIC [$1"/' "tail not closed with ']'"
check 's/"PIC \$1"/"PIC $1]"/' "']' without '['"
check 's/"PIC \$1"/"[PIC] $1"/' 'text after the tail'
check 's/"PIC \$1"/"PIC {$1?{$1?$1}}"/' "nested '{'"
check 's/"ADD \$1{\$2?\\n\$2}/"ADD $1$2{$2?\\n$2}/' '$2 must stand inside {$2...}'
check 's/"ADD \$1{\$2?\\n\$2}/"ADD {$2?\\n$2}$1/' 'arguments out of slot order'
check 's/"ADD \$1{\$2?\\n\$2}/"ADD $1/' 'does not print slot ADD_ONSIZE'
check 's/"DISPLAY|\$1{\$2?\\n\$2}{\$3?\\n\$3}{\$4?\\n\$4}"/"DISPLAY|$1"/' 'STMT_DISPLAY: the template does not print slot DISPLAY_ONEXC'
check 's/"IF \$1{\$2?\\n\\t\$2\\b}{\$3?\\n\$3}{\$4?\\n\$4}"/"IF $1{$2?\\n\\t$2\\b}{$3?|$3}{$4?\\n$4}"/' 'break point after a line end'
check 's/"VALUE|\$1"/"VALUE|$1{$1?$p7}"/' '$p needs a tab stop 1..6'
check 's/"SPACES"/"SPACE{S}"/' "'{' must be followed by \$N"
check 's/"@|"/"{$1?@|}"/' 'a list operation needs a list template'
check 's/"ZERO"/"@ZERO"/' 'a list template for an operation that is no list'
check 's/"@\\n"/"@{\\n"/' "directive '{' in a list separator"
# The family patterns and the totals of the templates.
check 's/"SYSID{\$1?\$p2(\$1)}"/"SYSID{$1? ($1)}"/' 'a CICS option prints SYSID'
check '/CMP_GT /s/"\$1{\$2= >|\$2}"/"$1 >{$2=|$2}"/' 'a comparison prints'
check 's/"ZERO"/""/' 'total empty-templates is 18'
check 's/"\[ TIMES\]"/" TIMES"/;s/"\$1\[ TIMES\]"/"$1 TIMES"/' 'total tails is'
check 's/"END PROGRAM \$1\[.\]"/"END PROGRAM $1."/' 'total dot-tails is 18'
check '0,/"\\r@\\n"/s//"@\\n"/' 'total cr-templates is 29'
check 's/"WORDS"/"WORDS{$1?$1}"/' 'EX_CC_WORDS: $1: the operation has 0 slots'
check 's/"-not-defined-" "-not-defined-"/"-not-defined-" ""/' "an undefined code's template is"
check 's/ word-templates=546//' 'the totals line lacks word-templates'
check 's/ comparisons=27/ comparisons=27 comparisons=27/' 'total comparisons named twice'

# The conditional entries: checked against their operation's slots too.
ccheck() {
    sed "$1" "$cond" > "$tmp/badc.def"
    out=$("$gen" --print-table "$ops" "$tmp/badc.def" "$tmp" 2>&1)
    rc=$?
    if [ $rc -ne 1 ] || [[ "$out" != *"$2"* ]] || [[ "$out" != "$tmp/badc.def:"* ]]; then
        echo "FAIL: edit '$1': status $rc, message '$out', expected '$2'"
        fail=1
    fi
}
ccheck 's/"VALUES \$1{\$2?|\$2}"/"VALUES $1{$3?|$3}"/' '$3: the operation has 2 slots'
ccheck 's/CondElseIf /CondElse /' "unknown predicate 'CondElse'"
ccheck 's/^602  EX_ELSE /602  EX_IF /' 'code 602 is EX_ELSE, not EX_IF'
ccheck 's/conditional=13/conditional=9/' 'there are 13 conditional entries, the totals line says 9'
ccheck 's/^126  FCX_DEVICE /1396 SECTION_SCHEMA /' 'SECTION_SCHEMA is undefined'
ccheck 's/"ELSE \\r\$1"/"ELSE{$1?\\n\\t$1\\b}"/' 'the conditional text equals the unconditional one'
exit $fail
