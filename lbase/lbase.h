// The base library: strings, string containers, the TIC form of scalars,
// source positions, messages and the exit path.
#pragma once

#include "lbase/fast_ostream.h"
#include "lbase/message.h"
#include "lbase/strutil.h"
#include "lbase/tic.h"
#include "lbase/txtposn.h"
#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
