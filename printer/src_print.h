// Source printing: the text of unchanged nodes and of the tokens attached to
// slots and nodes is copied character for character from the source files;
// where a slot of an unchanged node holds changed content, only the part of
// the node's template that belongs to that slot (its excerpt) is printed.
#pragma once

#include "lbase/vstring.h"
#include "printer/slot_posn.h"

class DovExpr;
class DovTokenList;

// Prints the tokens of `tokens` in order: comments without source positions
// (or all comments when the printer does not print from source) as comment
// lines when the printer prints comments, persistent comments always, and
// every other token copied from its source when `fromSrc` is set (preserved
// spaces and strings also when it is not). `*ended` (when given) tells
// whether the text ended with a line end. 0, or '0' (bad file index), '/'
// (line end or end of file where text was expected) or '5' (a source
// position that cannot be reached).
char SrcPrintText(DovTokenList& tokens, int fromSrc, int* ended = nullptr);

// Forgets what SrcPrintText remembers of source lines; every pass starts
// with it, since the files behind the source-file indexes may change
// between passes.
void DovForgetSourceLines();

// With source printing, copies what the main file holds after the text
// copied from it last (comments, blank lines, the last line end), so that
// the tail of the file is not lost. Sets `*atEnd` when the file's end was
// reached (nothing further is to be written). 0 or '5' (the position
// cannot be reached, reported).
char DovCopySourceTail(bool* atEnd);

// The print pass of an unchanged operator node: its slots in source order,
// each slot's tokens from the source, each child from its source or, when
// changed, through the slot's excerpt of the holder's template; then the
// node's own tokens. 0 or a result character.
char SlotPrint(DovExpr* node);

// The part of the holder's template that prints the entry's slot: "$1" or
// the list separator and element for a list, the then-part of the slot's
// conditional, or "$N". Empty (with a warning when the slot has a child)
// when the template does not print the slot. 0 or FindCGentry's or
// GetArgNo's result.
char ComputeCGexcerpt(VString& excerpt, const DovPrintSlot& entry);
