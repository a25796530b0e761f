// The command-line tool: the tool descriptor, the driver with its option
// tables and per-file loop, the message hook and the progress line, and the
// joins to the grep and the printer.
#pragma once

#include "tool/dov_tool.h"
#include "tool/driver.h"
#include "tool/grep_link.h"
#include "tool/hooks.h"
#include "tool/printer_link.h"
