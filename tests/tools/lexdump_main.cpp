// lexdump: the lexer's tokens of one source file, for developers.
#include <iostream>

#include "tests/tools/lexdump.h"

int main(int argc, char** argv) { return vemlo_tools::LexDumpMain(argc, argv, std::cout, std::cerr); }
