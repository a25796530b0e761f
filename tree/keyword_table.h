// The reserved-word table and the SQL and CICS keyword name tables, made from
// tree/keywords.def and tree/tokens.def. The lexer looks words up here; the
// token printers turn codes back into words.
#pragma once

#include <cstdint>

struct KeywordEntry {
    int code;             // the RW_ token the word becomes
    std::uint32_t dials;  // dialect flags in the layout of DovDials; bit 0: extra keyword
    const char* word;     // upper case; null in the end record
};

// kDovKeywordCount records, then the end record {-1, 0, null}. Writable: the
// lexer clears the flags of the keywords a user excludes, for the rest of the
// process.
extern KeywordEntry DovKeywordTable[];

// The word of the first record with this token code, dialects not looked at;
// null when no record has it.
const char* DovKeywordWordOfCode(int code);

// The keywords of EXEC SQL (codes kDovSqlKeywordFirst..kDovSqlKeywordLast) and
// of EXEC CICS (kDovCicsKeywordFirst..kDovCicsKeywordLast), each in byte order
// of the word and ended by a null entry; index code - first code.
extern const char* const DovSqlKeywordNames[];
extern const char* const DovCicsKeywordNames[];

// The word of an SQL (CICS) keyword code; null for any other code.
const char* DovSqlKeywordName(int code);
const char* DovCicsKeywordName(int code);
