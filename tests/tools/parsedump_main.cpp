// parsedump: the parser's tree and messages of source files, for developers.
#include <iostream>

#include "tests/tools/parsedump.h"
#if VEMLO_PARSEDUMP_GRAMMAR
#include "grammar/grammar.h"
#endif

int main(int argc, char** argv) {
#if VEMLO_PARSEDUMP_GRAMMAR
    DovInstallGrammar();
#endif
    return vemlo_tools::ParseDumpMain(argc, argv, std::cout, std::cerr);
}
