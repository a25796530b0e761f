// Parser services: the parser options, the parse run, messages and error
// nodes, the token adapter, programs, symbols, data entries, clauses and the
// data layout.
#pragma once

#include "parser/cics_options.h"
#include "parser/clauses.h"
#include "parser/data_layout.h"
#include "parser/data_map.h"
#include "parser/error_nodes.h"
#include "parser/grammar_types.h"
#include "parser/hooks.h"
#include "parser/options.h"
#include "parser/parser_impl.h"
#include "parser/programs.h"
#include "parser/symbols.h"
#include "parser/token_adapter.h"
