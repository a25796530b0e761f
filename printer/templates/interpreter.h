// The template interpreter: DovExprOper::print (declared with the node
// class) writes an operator node through its print template, in a length
// pass that measures the node and a print pass that breaks its lines where
// the measurements ask for it. GetArgNo reads the argument numbers of the
// template language.
#pragma once

#include <cstdint>

class DovExpr;
class DovTokenList;

// Reads the argument number after the '$' at `*cursor`: 0 with the zero-based
// slot index in `*index` and the cursor on the last digit; ',' with
// "GetArgNo: illegal argument: $%d" for $0 (or a number past the int range)
// or "GetArgNo: argument number out of range: $%d" for a number beyond
// `numArgs`, both reported as errors on `node`.
char GetArgNo(int* index, const char** cursor, int numArgs, DovExpr* node);

// How the interpreter prints an argument node: the node's print operation,
// with the length-pass flag and the break request; 0 or a result character.
// The printer's node print operations install theirs; until then
// DovTemplatePrintNode prints terminal nodes by their image and operator
// nodes through their template.
using DovPrintNodeFn = char (*)(DovExpr* node, int lengthPass, int breakRequest);
extern DovPrintNodeFn DovPrintArgument;
// Run in the print pass before a template prints argument `index` of
// `holder` (null: nothing to do); a nonzero result stops the print.
using DovBeforeArgumentFn = char (*)(DovExpr* holder, int index);
extern DovBeforeArgumentFn DovBeforePrintArgument;
char DovTemplatePrintNode(DovExpr* node, int lengthPass, int breakRequest);

// How the interpreter prints the tokens attached to a slot or a node (the
// comments and the like in front of them), with the from-source flag 0;
// `*ended` tells whether the text ended with a line end. 0 or a result
// character. Source printing installs its copying of token text; until then
// DovPrintAttachedComments writes the comment tokens as comment lines and
// leaves the others.
using DovAttachedTokensFn = char (*)(DovTokenList& tokens, int* ended);
extern DovAttachedTokensFn DovPrintAttachedTokens;
char DovPrintAttachedComments(DovTokenList& tokens, int* ended);

// How the interpreter prints, at the end of a node's template, the words a
// parse kept as text in the node's token lists (which it leaves out where
// it prints their lists): set where the source had them and printed. Source
// printing installs it; until then null: they are left out.
using DovKeptWordsFn = char (*)(DovTokenList& tokens);
extern DovKeptWordsFn DovPrintKeptWords;

// The character count of the print pass at which the including file goes on
// after a copybook file was closed behind a COPY statement printed through
// its template; -1 when none. Template text that comes next on that line,
// other than a blank or a line end, is kept apart from the statement by a
// blank, so that a period that follows does not run into the statement's
// own period.
extern std::int64_t DovResumeAfterCopybook;
