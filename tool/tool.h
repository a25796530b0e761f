// The command-line tool: the tool descriptor, the driver with its option
// tables and per-file loop, the message hook and the progress line.
#pragma once

#include "tool/dov_tool.h"
#include "tool/driver.h"
#include "tool/hooks.h"
