#!/bin/bash
# The generator of the CICS command and option rules accepts the real data
# file and writes its 34 command heads, 169 option rules (the three of
# NOHANDLE, RESP and RESP2 as cics_response_option, which cics_option takes)
# and 91 condition names; it refuses a changed data file whose totals, tokens, operations or
# argument slots are off with a FILE:LINE message and status 1, and writes
# no output then.
#   cics_generator_check.sh GENERATOR TOKENS.def OPERATIONS.def CICS_RULES.def
set -u
gen=$1 tokens=$2 ops=$3 rules=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

"$gen" "$tokens" "$ops" "$rules" "$tmp/out.y" || { echo "FAIL: the real data file is refused"; fail=1; }
n=$(grep -c 'DovCicsCommand' "$tmp/out.y")
[ "$n" = 34 ] || { echo "FAIL: $n command rules, not 34"; fail=1; }
n=$(grep -c 'DovCicsOption(\|DovCicsBareOption(' "$tmp/out.y")
[ "$n" = 169 ] || { echo "FAIL: $n option rules, not 169"; fail=1; }
n=$(sed -n '/^cics_response_option$/,/^    ;$/p' "$tmp/out.y" | grep -c 'DovCicsOption(\|DovCicsBareOption(')
[ "$n" = 3 ] || { echo "FAIL: $n response option rules, not 3"; fail=1; }
grep -q '^    | cics_response_option$' "$tmp/out.y" || { echo "FAIL: cics_option does not take cics_response_option"; fail=1; }
n=$(grep -c 'DovCicsConditionWord(' "$tmp/out.y")
[ "$n" = 91 ] || { echo "FAIL: $n condition names, not 91"; fail=1; }

# Each case: a sed edit of the data file and a text the message must hold.
check() {
    sed "$1" "$rules" > "$tmp/bad.def"
    rm -f "$tmp/bad.y"
    out=$("$gen" "$tokens" "$ops" "$tmp/bad.def" "$tmp/bad.y" 2>&1)
    rc=$?
    if [ $rc -ne 1 ] || [[ "$out" != *"$2"* ]] || [[ "$out" != "$tmp/bad.def:"* ]] || [ -e "$tmp/bad.y" ]; then
        echo "FAIL: edit '$1': status $rc, message '$out', expected '$2'"
        fail=1
    fi
}
check 's/commands=34/commands=33/' 'the file has 34 commands, the totals line says 33'
check 's/^command ABEND  /command ABENDX /' 'no CICS token CTK_ABENDX'
check 's/= ABEND$/= ABENDX/' 'no operation CS_STMT_ABENDX in the catalogue'
check 's/^options cics_arg_pointer ACEE/options cics_arg_pointer ACEE NODUMP/' 'CS_CL_NODUMP has 0 argument slots in the catalogue, not 1'
check 's/^options cics_arg_name   ABCODE /options cics_arg_name   /; s/^options -               AFTER/options -               AFTER ABCODE/' 'CS_CL_ABCODE has 1 argument slots in the catalogue, not 0'
check 's/^options cics_arg_file   DATASET FILE/options cics_arg_file   DATASET FILE DATASET/' 'DATASET stands twice in the list'
check 's/^command XCTL .*/command XCTL = ABEND/' 'second command for CS_STMT_ABEND'
check 's/^command XCTL .*/command XCTL = XCTL lead cics_x/' 'expected command KEYWORD... = STATEMENT'
check 's/^responses NOHANDLE /responses NOHANDLE ERROR /' 'ERROR is in no options list'
check 's/^responses NOHANDLE /responses NOHANDLE RESP2 /' 'RESP2 stands twice in the list'
exit $fail
