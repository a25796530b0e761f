// The dialect set: which COBOL dialects are in force, each with its level.
#pragma once

#include <cstdint>

#include "lbase/vstring.h"

// Dialect numbers, the index of a dialect in the name lists below.
enum DovDialect : int {
    DIAL_NONE = 0,
    DIAL_ANSI74 = 1,
    DIAL_ANSI85 = 2,
    DIAL_OSVS = 3,
    DIAL_VSII = 4,
    DIAL_SAA = 5,
    DIAL_XOPEN = 6,
    DIAL_MF = 7,
    DIAL_MS = 8,
    DIAL_RM = 9,
    DIAL_RM85 = 10,
    DIAL_DOSVS = 11,
    DIAL_UNIVAC = 12,
    DIAL_WANG = 13,
    DIAL_FSC = 14,
    DIAL_NET = 15,
    DIAL_FSCNET = 16,
    DIAL_ICOBOL = 17,
    DIAL_ACU = 18,
    DIAL_DML = 19,
    DIAL_IDMS = 20,
};
constexpr int kDovDialectCount = 20;

// One 32-bit word with a level field per dialect (0 = off): bit 1 ansi74,
// 2 ansi85, 3 osvs, 4-5 vsii, 6-7 saa, 8 xopen, 9-11 mf, 12-13 ms, 14 rm,
// 15 rm85, 16 dosvs, 17 univac, 18 wang, 19 fsc, 20 net, 21 fscnet,
// 22 icobol, 23 acu, 24 dml, 25 idms. Bit 0 and bits 26-31 are no dialect's.
struct DovDials {
    std::uint32_t word = 0;

    friend bool operator==(const DovDials&, const DovDials&) = default;
};

DovDials DovNoDials();
// Every bit set: each dialect at its highest level.
DovDials DovAllDials();

// Sets the dialect's whole field (its highest level) and returns the number.
// The number is taken as an unsigned byte; 0 and numbers above 20 change
// nothing.
int DovDialsAdd(DovDials& set, int dialect);
// The dialect's level; 0 for 0 and numbers above 20.
int DovDialsLevel(DovDials set, int dialect);

// The text form: 20 digits, the levels of dialects 1 to 20.
VString DovDialsToString(DovDials set);
// The set of a text form; 0, or 21 with the message in `error` (the set is
// then empty). A digit above a field's highest level keeps only its low bits.
int DovStringToDials(DovDials& set, const VString& text, VString& error);

// Adds the primary and the secondary dialect to `set` (they stay added also
// on failure) and checks that each dialect of the set is in `allowed`; 0, or
// 22 with "The specified combination of dialects is not allowed".
int DovCheckDialects(DovDials& set, int primary, int secondary, DovDials allowed, VString& error);

// The dialects of the set as words, each followed by a blank ("Ansi85 Mf ").
VString DovDialsText(DovDials set);

// Choice lists of the dialect options, indexed by dialect number 0..20 and
// ended by an empty string: the short names ("none", "ansi74", ...) and the
// display names ("None", "ANSI-74", ...).
extern VString DovDialectNames[kDovDialectCount + 2];
extern VString DovDialectDisplayNames[kDovDialectCount + 2];
