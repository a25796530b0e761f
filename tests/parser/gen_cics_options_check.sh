#!/bin/bash
# The CICS option table generator refuses a data file whose rows or second
# forms do not fit the operation catalogue or its own totals, with a
# FILE:LINE message and status 1, and accepts the real file.
#   gen_cics_options_check.sh GENERATOR OPERATIONS.def CICS_OPTIONS.def
set -u
gen=$1 ops=$2 def=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

"$gen" "$ops" "$def" "$tmp" || { echo "FAIL: the real data file is refused"; fail=1; }
grep -q 'CicsOptionTableSize = 476;' "$tmp/cics_option_table.cpp" || { echo "FAIL: no 476 rows"; fail=1; }
grep -q 'CicsFormTableSize = 3;' "$tmp/cics_option_table.cpp" || { echo "FAIL: no 3 forms"; fail=1; }
grep -q '{CS_STMT_SEND, CS_CL_MAP, CS_STMT_SEND_MAP}' "$tmp/cics_option_table.cpp" || { echo "FAIL: no SEND MAP form"; fail=1; }

# Each case: a sed edit of the data file and a text the message must hold.
check() {
    sed "$1" "$def" > "$tmp/bad.def"
    out=$("$gen" "$ops" "$tmp/bad.def" "$tmp" 2>&1)
    rc=$?
    if [ $rc -ne 1 ] || [[ "$out" != *"$2"* ]] || [[ "$out" != "$tmp/bad.def:"* ]]; then
        echo "FAIL: edit '$1': status $rc, message '$out', expected '$2'"
        fail=1
    fi
}
check 's/rows=476/rows=475/' 'total rows is 476, the totals line says 475'
check 's/options=163/options=162/' 'total options is 163'
check 's/statements=41/statements=40/' 'total statements is 41'
check 's/ duplicates=3//' 'the totals line lacks duplicates'
check 's/^%totals.*//' 'the %totals line is missing'
check 's/1:ABCODE/1:ABCODEX/' 'no operation CS_CL_ABCODEX in the catalogue'
check 's/^ABEND /ABENDX /' 'no operation CS_STMT_ABENDX in the catalogue'
check 's/^XCTL             9/XCTL 8/' 'CS_STMT_XCTL has 9 slots in the catalogue, not 8'
check '/^SYNCPOINT/d' 'no line for CS_STMT_SYNCPOINT'
check 's/^SYNCPOINT.*/&\n&/' 'second line for CS_STMT_SYNCPOINT'
check 's/ 2:CANCEL / 2:ABCODE /' 'CS_CL_ABCODE in two slots of CS_STMT_ABEND'
check 's/5:DATESEP\/DATESEP/5:DATESEP/' 'total duplicates is 2'
check 's/^ASSIGN           5  2:NOHANDLE 3:RESP 4:RESP2/ASSIGN 5 2:RESP 3:NOHANDLE 4:RESP2/' 'the last three slots of CS_STMT_ASSIGN'
check 's/ 6:REQID/ 7:REQID/' 'slot 7 of CS_STMT_DELAY does not follow slot 5'
check 's/ 6:RESP2$/ 7:RESP2/' 'beyond the slots of CS_STMT_ABEND'
check 's/^ABEND            7  1:ABCODE 2:CANCEL 3:NODUMP 4:NOHANDLE 5:RESP 6:RESP2/ABEND 7 1:ABCODE 2:CANCEL 3:NODUMP 4:NOHANDLE 5:RESP/' 'do not run up to its last'
check 's/1:ABCODE/1ABCODE/' "bad slot group '1ABCODE'"
check '1i\   1:ABCODE' 'continuation line without a statement line'
check 's/ forms=3/ forms=2/' 'total forms is 3, the totals line says 2'
check 's/^%form SEND MAP SEND_MAP/%form SEND MAPSET SEND_MAP/' 'CS_STMT_SEND_MAP does not take CS_CL_MAPSET in slot 0'
check 's/^%form SEND MAP SEND_MAP/%form SEND_MAP MAP SEND/' 'CS_STMT_SEND does not take CS_CL_MAP in slot 0'
check 's/^%form SEND MAP SEND_MAP/&\n%form SEND_TEXT MAP SEND_MAP/' 'a statement in two %form lines'
check 's/^%form SEND MAP SEND_MAP/%form SEND_MAP MAP/' 'expected %form STATEMENT OPTION FORM'
check 's/^%form SEND MAP SEND_MAP/%form SENDX MAP SEND_MAP/' 'no line for CS_STMT_SENDX'
check 's/^%form ADDRESS SET ADDRESS_SET/%form PUSH_HANDLE SET ADDRESS_SET/' 'CS_STMT_ADDRESS_SET has more slots than CS_STMT_PUSH_HANDLE'
exit $fail
