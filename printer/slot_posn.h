// Source positions of the argument slots, and the order in which a node's
// slots are printed from source.
//
// After every successful parse DovSetSlotPosn walks the new tree: for each
// operator node it takes the node's print slots in source order
// (SourcePrint), widens the node's source range by each slot's tokens and
// child, and appends to a slot an empty SEP_SPACE token that spans the gap
// between the slot's last token (or the previous argument) and its child
// where the two positions differ, so that spacing, line ends and comments
// between keywords and arguments can be reproduced from the source.
#pragma once

#include <vector>

#include "lbase/txtposn.h"
#include "lbase/vstring.h"

class DovExpr;
class DovToken;
class DovTokenList;
struct DovArgSlot;

// One slot to print: the slot record, the operator node whose template
// describes it and the slot's index within that node.
struct DovPrintSlot {
    DovArgSlot* slot = nullptr;
    DovExpr* holder = nullptr;
    int index = 0;
};

// Result of SourcePrint when the slots' order indexes disagree.
constexpr char kDovSourcePrintBadOrder = '3';

// The print slots of `node` in source order, into `out` (cleared first).
// One entry per argument slot but derived ones; a list argument after the
// leading fixed-order clauses gives one entry per element instead (the
// first with the node as holder and the node's slot index, the others with
// the list as holder and their index in it). The leading fixed-order
// clauses keep slot order; the others follow by source order index, then
// those without an index. 0, or '3' with the first problem in `message`
// (when it is still empty); every entry is still delivered where possible.
char SourcePrint(DovExpr* node, std::vector<DovPrintSlot>& out, VString& message);

// The slot-position pass over a new tree (the parser's hook): forgets the
// last position and runs SetSlotPosnOper on the root. Order problems are
// reported as warnings through the working parser.
void DovSetSlotPosn(DovExpr* root);

// The source range of `node`'s subtree, setting the slot positions below
// it as DovSetSlotPosn does.
DovTxtPosnRange SetSlotPosnOper(DovExpr* node);

// The pass's last position (null before the first placed token).
const DovTxtPosn& DovSlotPosnLastPosn();

// 1 when `node` may be printed from its source: SourcePrint mode is on for
// the current printer, the node comes from the source and neither its own
// tokens nor any slot's tokens hold an unplaced token; else 0. Tokens that
// COPY REPLACING or REPLACE put in place of source text count as placed once
// DovMarkReplacedText has found them.
int DovUnchangedFromSource(const DovExpr* node);

// True when the tokens of `slot` of an unchanged node are printed from the
// source: the slot was filled from the source, and either its child may be
// printed from its source or its tokens are all placed.
bool DovSlotFromSource(const DovArgSlot& slot);

// Text replaced by COPY REPLACING or REPLACE: the lexer gives the first
// replacing token the begin of the replaced text, the last one its end, and
// the others no position; the blanks of the replacing text keep the
// positions they have in the REPLACING phrase. Printed from source, such a
// run of tokens comes out as the replaced text itself. DovMarkReplacedText
// walks the tree in print order and finds every complete run: its first
// token then spans the replaced text, and every later token of the run is
// left out of the copy. Forgotten by DovForgetReplacedText (every pass ends
// with it) and by the next mark.
void DovMarkReplacedText(DovExpr* root);
void DovForgetReplacedText();
// The range a first token of a run spans, or null for any other token.
const DovTxtPosnRange* DovReplacedTextRange(const DovToken* token);
// True for the later tokens of a run.
bool DovInsideReplacedText(const DovToken* token);
// True when a token of `list` other than a comment lacks a position and is
// not part of a run.
bool DovHasUnplacedToken(const DovTokenList& list);
