// parsedump: the parser's tree and messages of source files, for developers.
#include <iostream>

#include "grammar/grammar.h"
#include "tests/tools/parsedump.h"

int main(int argc, char** argv) {
    DovInstallGrammar();
    return vemlo_tools::ParseDumpMain(argc, argv, std::cout, std::cerr);
}
