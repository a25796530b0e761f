// The program tree, the operation catalogue, tokens and the dialect set.
#pragma once

#include "tree/dials.h"
#include "tree/name_category.h"
#include "tree/oper.h"
