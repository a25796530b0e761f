// The CICS option table: which argument slot of which EXEC CICS statement
// node takes which option node. Generated at build time from
// parser/cics_options.def (generators/gen_cics_options.cpp); sorted by
// statement code and then option code.
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
