// Helpers of the query tests: a compact dump of compiled queries.
#pragma once

#include <string>
#include <vector>

#include "transform/transform.h"

namespace vemlo_test {

// The steps of a chain: each step as its kind, with "(value1,value2)" or
// "(value1,value2,'text')" when it has fields (value1 as an operation name
// for OP, FIND and ISDESCOF); elements joined by " AND " / " OR ", groups
// in [ ], subchains in { }.
std::string QueryDump(const DovQueryChain* chain);
std::string QueryStepName(int kind);

// Compiles `text`: the dump, or "E<code>@<column>" for an error.
std::string CompileDump(const char* text, bool assignments = false);

struct CompileCase {
    const char* query;
    const char* expected;  // the step dump, or E<code>@<column>
};

// One query per construct and rejection of the language, with its dump.
const std::vector<CompileCase>& QueryCompileCases();

}  // namespace vemlo_test
