// The USAGE, SIGN and SYNCHRONIZED attributes that a data item takes from
// the nearest data description entry, itself or a group above it, that
// states them.
#pragma once

class DovExpr;

// Usage (a DU_ operation code, DU_DISPLAY when no entry states one), sync
// and sign (operation codes of the clauses, 1 when none applies) and the
// sign flag (1 when the SIGN clause says SEPARATE), searched from `node` up
// to the DATA DIVISION.
void DovInheritedDataAttrs(DovExpr* node, int& usage, int& sync, int& sign, int& sign_flag);

// The usage alone.
int DovInheritedUsage(DovExpr* node);
