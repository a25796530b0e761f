// The CICS option table: which argument slot of which EXEC CICS statement
// node takes which option node, and the statements with a second form (SEND
// and SEND MAP), which the key option decides wherever it stands among the
// options. Generated at build time from parser/cics_options.def
// (generators/gen_cics_options.cpp); the option table is sorted by statement
// code and then option code.
#pragma once

#include <cstdint>

#include "tree/oper.h"

struct DovCicsOptionRow {
    std::uint16_t statement;  // a CS_STMT_ operation
    std::uint16_t option;     // a CS_CL_ operation
    std::int32_t slot;        // the statement's argument slot
};

extern const DovCicsOptionRow CicsOptionTable[];
extern const int CicsOptionTableSize;

struct DovCicsFormRow {
    std::uint16_t statement;  // the first form, a CS_STMT_ operation
    std::uint16_t option;     // the key option, a CS_CL_ operation
    std::uint16_t form;       // the second form, whose slot 0 takes the key option
};

extern const DovCicsFormRow CicsFormTable[];
extern const int CicsFormTableSize;
