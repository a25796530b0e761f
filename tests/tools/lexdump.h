// The token dump of the lexer: every token of a source file with its
// position, code and name, then the lexer's messages. Shared by the lexdump
// tool and the tests that lex whole files.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "lexer/lexer_object.h"

namespace vemlo_tools {

struct LexDumpSettings {
    DovDials dials = DovNoDials();  // empty: ANSI-85
    std::vector<std::string> copyDirs;
    std::vector<std::string> copySuffixes;
};

struct LexDumpMessage {
    int severity;
    DovTxtPosn posn;
    std::string text;
};

struct LexDumpResult {
    long long tokens = 0;     // tokens up to and with SEP_EOF
    long long lines = 0;      // lines read, members included
    int lastCode = 0;         // the code of the last token (SEP_EOF when the file was read to its end)
    int worst = 0;            // the highest severity of a message, 0 without messages
    std::vector<LexDumpMessage> messages;
};

// Lexes `file` as the parser would (SQL and CICS words classified) and
// writes "line:column code NAME image" per token to `out` (when given),
// then the messages.
LexDumpResult LexDump(const std::string& file, const LexDumpSettings& settings, std::ostream* out);

// The tool: lexdump [-lang=DIALECT[,DIALECT...]] [-copylib-dir=DIR ...]
// [-copylib-sfx=SUFFIX ...] FILE. 0, or 1 when a message of error level or
// worse was given, 2 for a bad command line.
int LexDumpMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vemlo_tools
