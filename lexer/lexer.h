// The lexer: source files and the layered COBOL lexer.
#pragma once

#include "lexer/src_file.h"
