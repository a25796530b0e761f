// Predicates of the conditional print templates: each takes the node about to
// be printed and gives nonzero when the conditional entry's text applies.
#pragma once

class DovExpr;

// FCX_DEVICE: argument 2 is a DEV_DISK_FILE.
int CondDiskDevice(DovExpr* node);
// DECL_FD_ENTRY: argument 14 is an uninlined COPY statement.
int CondFdCopyAtEnd(DovExpr* node);
// DECL_DD_ENTRY: argument 16, or else argument 2, is an uninlined COPY.
int CondDdCopy(DovExpr* node);
// EX_COND_VALUE: argument 1 is a value-range list of more than one range.
int CondValueRanges(DovExpr* node);
// SECTION_PROC, PARA_PROC: the name is absent or a NULL_NODE.
int CondNoName(DovExpr* node);
// COPY_EQEQS: the pseudo-text's first word starts, or its last word ends,
// with an equal sign, which would run together with the delimiter.
int CondEqualsAtEdge(DovExpr* node);
// STMT_CALL: argument 1 (the mnemonic) is present and not a NULL_NODE.
int CondCallMnemonic(DovExpr* node);
// EX_ELSE: argument 1 is a statement list of exactly one IF statement.
int CondElseIf(DovExpr* node);
// STMT_MOVE: argument 1 is an identifier list of more than one element.
int CondMoveSources(DovExpr* node);
// SOURCE-COMPUTER, OBJECT-COMPUTER, SPECIAL-NAMES: no argument is present;
// the paragraph ends with its header's period, and no closing period
// follows it.
int CondNoClauses(DovExpr* node);
// Argument 2 is an exec-line list of more than one line (no table entry
// uses it).
int CondExecLines(DovExpr* node);
