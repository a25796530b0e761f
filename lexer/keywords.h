// Looking words up among the reserved words, the SQL keywords and the CICS
// keywords, and deciding whether a word is reserved in the dialects of a
// parse.
#pragma once

#include <cstdint>

#include "lbase/vstring.h"
#include "tree/keyword_table.h"

// Bit 0 of a record's flags: the word is a keyword only while the grammar
// asks for the extra keywords.
inline constexpr std::uint32_t kDovExtraKeywordBit = 0x1;

// The first record of `table` whose word is `word`, compared whole and with
// case (callers upper-case first); null when the end record comes first. The
// search is linear: the table keeps its own order, which is not strictly
// alphabetical.
KeywordEntry* FindKeyword(const char* word, KeywordEntry* table = DovKeywordTable);
KeywordEntry* FindKeyword(const VString& word, KeywordEntry* table = DovKeywordTable);

// Whether a record is a keyword under the dialect set `dials` (the 32-bit
// word of a DovDials). A record with bit 0 counts only with `extra_keywords`.
// Each dialect field is matched on its own: a bit in common anywhere in the
// field counts. The SAA field counts when the record carries its lower level
// alone (bit 6 without bit 7) and the dialect set has bit 6.
bool DovKeywordIsReserved(const KeywordEntry& entry, std::uint32_t dials, bool extra_keywords);

// The whole reserved test of the lexer: with the reserved-word check on, the
// record of a word that is a keyword under `dials`; null otherwise.
const KeywordEntry* DovReservedKeyword(const VString& word, std::uint32_t dials, bool check_on,
                                       bool extra_keywords);

// The token code of an SQL (CICS) keyword, the first code of its table plus
// the word's place there; 0 when the word is none. Case matters.
int DovFindSqlKeyword(const VString& word);
int DovFindCicsKeyword(const VString& word);
