// The program tree, the operation catalogue, tokens and the dialect set.
#pragma once

#include "tree/data_attrs.h"
#include "tree/dials.h"
#include "tree/expr.h"
#include "tree/keyword_table.h"
#include "tree/leaf.h"
#include "tree/link.h"
#include "tree/literal.h"
#include "tree/name_category.h"
#include "tree/named.h"
#include "tree/oper.h"
#include "tree/pic.h"
#include "tree/symtab.h"
#include "tree/token.h"
#include "tree/token_codes.h"
#include "tree/walk.h"
