// Comment lines: one comment written as a line of its own, shaped for the
// current printer's line format.
#pragma once

#include "lbase/vstring.h"

// `text` is the comment's indicator character and its body; a leading
// carriage return marks a comment written with nothing before its indicator.
// `whole` 0 cuts the body at the right margin, nonzero writes all of it.
// Every character goes through PutcLine with the line-id flag set.
void PrintComment(const VString& text, int whole);
