// Pretty printer: the printer's settings and options, the printer object,
// the print state and output layer, printer messages, and the slot-position
// pass that prepares every parsed tree for printing from source.
#pragma once

#include "printer/messages.h"
#include "printer/gen_output.h"
#include "printer/print_oper.h"
#include "printer/print_state.h"
#include "printer/print_template.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/slot_posn.h"
#include "printer/src_print.h"
