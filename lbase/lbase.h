// The base library: strings, string containers, the TIC form of scalars,
// source positions, messages and the exit path, the command-line option
// engine, file and process helpers, the free room of the machine stack,
// signals and the debug-context stack.
#pragma once

#include "lbase/cmdline.h"
#include "lbase/debug/debug_context.h"
#include "lbase/debug/signals.h"
#include "lbase/fast_ostream.h"
#include "lbase/fileutil.h"
#include "lbase/message.h"
#include "lbase/small_blocks.h"
#include "lbase/stack_room.h"
#include "lbase/strutil.h"
#include "lbase/tic.h"
#include "lbase/txtposn.h"
#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
