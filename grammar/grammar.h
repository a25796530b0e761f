// The grammar parser: the frame with its parse-state records and lexeme
// queue, the action helpers, and the COBOL grammar.
#pragma once

#include "grammar/actions.h"
#include "grammar/cobol_grammar.h"
#include "grammar/frame.h"
#include "grammar/parse_state.h"
