// The parse dump: each file parsed by the parser services, its tree in the
// debug dump form, its messages and one status line. Shared by the parsedump
// tool and the tests that parse whole files.
#pragma once

#include <iosfwd>

namespace vemlo_tools {

// The tool: parsedump [parser options] [-lex-only] [-data-map] [-tic] FILE...
// The parser options are those of the parser's option groups
// (-lang=, -lang2=, -line-format=, -copylib-dir=, -copylib-sfx=, -sql, ...).
// For each file: the tree (nothing with -lex-only; with -tic its TIC text
// form instead of the debug dump, which shows each argument's slot name
// before the node in it and each link by its target's pre-order number,
// counted from 0 at the root as in the TIC text), with -data-map the data
// map listing of the tree after it, every message of its
// list as "file:line:col: ERROR: text", then "status N tokens T lines L".
// Everything goes to `out` (standard output is sent there meanwhile), usage
// errors to `err`. 0 when every status is 0 or 1, 1 otherwise, 2 for a bad
// command line.
int ParseDumpMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vemlo_tools
