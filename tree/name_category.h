// The kind of a user-defined name, carried by symbol-table elements,
// definitions and name uses.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "lbase/vstring.h"

enum DovNameCategory : std::uint8_t {
    NC_UNKNOWN = 0,
    NC_MNEMONIC_NAME = 1,
    NC_SWITCH_COND_NAME = 2,
    NC_ALPHABET_NAME = 3,
    NC_SYMBOLIC_CHAR = 4,
    NC_SYMBOLIC_CONSTANT = 5,
    NC_USER_FIGURATIVE_CONST = 6,
    NC_CLASS_NAME = 7,
    NC_FILE_NAME = 8,
    NC_CD_NAME = 9,
    NC_DATA_NAME = 10,
    NC_INDEX_NAME = 11,
    NC_SPLIT_KEY_NAME = 12,
    NC_CONDITION_NAME = 13,
    NC_CONSTANT_NAME = 14,
    NC_REPORT_NAME = 15,
    NC_REPORT_GROUP_DESC_NAME = 16,
    NC_SCREEN_NAME = 17,
    NC_PROGRAM_NAME = 18,
    NC_PROC_NAME = 19,
    NC_PARA_NAME = 20,
    NC_SECTION_NAME = 21,
};

// Writes the category's name ("data-name"); values above 21 as "UDC#" and
// the number in the stream's integer format.
std::ostream& operator<<(std::ostream& os, DovNameCategory category);
VString DovNameCategoryStr(DovNameCategory category);
