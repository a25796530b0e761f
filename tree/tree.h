// The program tree, the operation catalogue, tokens and the dialect set.
#pragma once

#include "tree/dials.h"
#include "tree/keyword_table.h"
#include "tree/name_category.h"
#include "tree/oper.h"
#include "tree/token.h"
#include "tree/token_codes.h"
