// The two callbacks the driver installs for the whole run: the message hook
// through which every message of the run is printed, and the parse progress
// line on standard error.
#pragma once

#include "lbase/txtposn.h"
#include "lbase/vstring.h"

// Prints the message with its position (when set) through the positioned
// message printer; a terminal message ends the process with status 1 after
// its line.
void ToolMessageHook(int code, const DovTxtPosn& position, const VString& text);

// Writes one self-overwriting status line to standard error: the line number
// in seven columns and the file name when the position is set, ": " between
// that and a non-empty text, the text, then 27 blanks and a carriage return.
void ShowParseProgress(const DovTxtPosn& position, const VString& text);

// The text of that line, without the blanks and the carriage return.
VString DovParseProgressText(const DovTxtPosn& position, const VString& text);
