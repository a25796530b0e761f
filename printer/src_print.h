// Source printing: the text of unchanged nodes and of the tokens attached to
// slots and nodes is copied character for character from the source files;
// where a slot of an unchanged node holds changed content, only the part of
// the node's template that belongs to that slot (its excerpt) is printed.
// How the text is copied (the rule of the copy) is src_copy.h's.
#pragma once

#include "lbase/vstring.h"
#include "printer/slot_posn.h"

class DovExpr;
class DovTokenList;

// What SrcPrintText does with the words a parse kept as text (preserved
// strings and blanks) when it does not copy them from the source:
// kPlaced only sets them where the source had them (a leaf's words, which
// the leaf prints as its image), kLater leaves them to SrcPrintKeptWords
// (the template prints them at the end of its node), kPrinted sets and
// prints them.
enum class DovKeptWords { kPlaced, kLater, kPrinted };

// Prints the tokens of `tokens` in order: comments without source positions
// (or all comments when the printer does not print from source) as comment
// lines when the printer prints comments, persistent comments always, and
// every other token copied from its source when `fromSrc` is set (the
// words kept as text as `kept` says when it is not). `*ended` (when given)
// tells whether the text ended with a line end. 0, or '0' (bad file index),
// '/' (line end or end of file where text was expected) or '5' (a source
// position that cannot be reached).
char SrcPrintText(DovTokenList& tokens, int fromSrc, int* ended = nullptr, DovKeptWords kept = DovKeptWords::kPlaced);

// The words of `tokens` kept as text, set where the source had them and
// printed; 0.
char SrcPrintKeptWords(DovTokenList& tokens);

// Forgets what the copybook output remembers of the files written; every
// pass starts with it.
void DovForgetSourceLines();

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
