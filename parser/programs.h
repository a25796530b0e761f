// The tables and walk steps of the program frame (programs.cpp): the
// predefined special registers of the source root and the CICS EIB block
// that CICS programs get in their LINKAGE SECTION.
//
// The DovParserImpl services of programs.cpp, as the grammar's actions use
// them:
//   StartProgram    pushes a new COBOL_PROGRAM with its own symbol table; a
//                   program past the stack's 19 levels first finishes the
//                   innermost one (MSG_ERR "Too many levels of Nested
//                   Programs") and takes its place.
//   EndProgram      takes the END_COBOL_PROGRAM header of the innermost
//                   program and finishes it; a header it ignores (no open
//                   program, another name) stays the caller's.
//   FinishProgram   ends the innermost n programs: EIB block, resolution of
//                   their uses, null nodes in empty slots 4 and 5, and into
//                   the list of the program (or root) below them.
//   FinishSource    ends every open program (abort: deletes them).
//   ProcessNewProc  places a section, paragraph, sentence or marker in the
//                   current procedure holder; 0, or 1 when it was refused
//                   (the node stays the caller's).
#pragma once

#include <cstdint>

#include "tree/data_items.h"
#include "tree/dials.h"
#include "tree/expr.h"

// One predefined special register: its data-item row and the dialects that
// have it (bit d set for DovDialect number d).
struct DovSpecialRegister {
    DovDataItemRow row;
    std::uint32_t dialects;
};

// The special registers in the order they are declared, then an end row
// whose name is null.
constexpr int kDovSpecialRegisterCount = 22;
extern const DovSpecialRegister DovSpecialRegisters[kDovSpecialRegisterCount + 1];

// The dialect set of a register's dialect bits.
DovDials DovSpecialRegisterDials(std::uint32_t dialects);

// The CICS EIB block: CICS-BLOCKS (hidden holder), DFHEIBLK and its fields,
// then an end row whose name is null. EIBRESP, EIBRESP2 and EIBRLDBK follow
// EIBNODAT, so that every earlier field keeps its place.
constexpr int kDovCicsEibRowCount = 31;
extern const DovDataItemRow DovCicsEibRows[kDovCicsEibRowCount + 1];

// True when `program`'s symbol table holds an element named like a row of
// the EIB block: the program refers to EIB fields and gets the block when
// the cics-eib setting is "auto".
bool DovProgramRefersToEib(DovExpr* program);

// Pre-order step of the walk "DovAddCicsEibDecls" over one program (the
// walk's root): at a DIVISION_DATA the EIB block is declared at the end of
// the LINKAGE SECTION, which is made when missing; result 2 there, 2 at a
// nested COBOL_PROGRAM (finished, with its own block when it needs one),
// 1 everywhere else.
int DovAddCicsEibDecls(DovExpr* node, DovExpr* root, void* context);
