// Copying source text: how source printing takes the text of what did not
// change from the source files. The rule is written at the head of
// src_copy.cpp.
#pragma once

#include "lbase/txtposn.h"

class DovExpr;
class DovTokenList;

// Sets up the copy for a print pass from source over `root`: what the
// tree's tokens hold of each source file, and nothing copied yet. Run after
// DovMarkReplacedText. DovEndSourceCopy frees it again.
void DovBeginSourceCopy(DovExpr* root);
void DovEndSourceCopy();

// A token list printed on its own, outside a print of a whole tree: its
// tokens hold their text (`copied`: the list is copied from the source),
// as the tree's tokens do in a pass. Nothing happens during a pass.
void DovHoldListText(const DovTokenList& tokens, bool copied);

// The text of source file `file` begins again in the output (a copybook's
// begin node): what was copied of the file is forgotten, so that a copybook
// included twice comes out twice.
void DovRestartSourceFile(int file);

// Copies the source text of a token of `code` that spans `range` (a token's
// own range, or the text REPLACE replaced). 0 or a result character ('0'
// bad file index, '/' a line end or end of file where text was expected,
// '5' a position that cannot be reached); `stop` is set when the rest of
// the token list is to be left. `ended` tells whether the text written last
// ended with a line end.
char DovCopySourceText(int code, const DovTxtPosnRange& range, int& ended, bool& stop);

// Where source text is not copied (printed through the templates, or a
// changed node), the words a parse kept as text still stand where the
// source had them: a preserved string starts a new line when its column
// lies left of the output or the source text copied last stands on another
// line, and is padded to its column; a preserved blank run that starts left
// of the output and runs onto another line ends the output line.
void DovPlaceKeptText(int code, const DovTxtPosnRange& range);

// Copies what the current output level's source file holds after the text
// copied from it last (the rest of its last line, a missing last line end),
// when it is layout alone and the output stands where that copy ended.
// Sets `*atEnd` when the file's end was reached: nothing is to follow. 0 or
// '5' (a position that cannot be reached, reported).
char DovCopySourceTail(bool* atEnd);

// Before a changed node that takes the place of source text, with the
// output standing where the copy ended: the blanks, tabs and line ends the
// source has there, so that the node keeps the separation the source text
// had. Nothing counts as copied.
void DovCopySeparation();
