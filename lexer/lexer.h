// Source input and the lexer: source files, source formats, COPY/REPLACE and
// the classification of words into tokens.
#pragma once

#include "lexer/keywords.h"
#include "lexer/lexer_object.h"
#include "lexer/src_file.h"
