// The token adapter between the lexer and the grammar, and the collectors of
// EXEC blocks and NOTE paragraphs. They work on the working parser. Defined
// in token_adapter.cpp.
#pragma once

#include "parser/grammar_types.h"
#include "tree/oper.h"

// The next grammar token code (0 = end of input); sets yylval and yyposn.
int yylex();
// A COPY marker (a COPY's begin, its member's end, a REPLACE) can stand
// anywhere in the text, also where the grammar has no place for one (inside
// a condition, between an IF's condition and its first statement). Where
// every alternative stops at it, the frame folds it away: `DovMarkerFoldable`
// tells the marker codes, and `DovFoldMarker` moves the marker's tokens (its
// node's and its position's) in front of the next token's position and frees
// its node, so that the text reads on as if the copied words stood there with
// no COPY around them. The end marker of a member whose begin was folded is
// folded by the adapter as it reads it.
bool DovMarkerFoldable(int code);
void DovFoldMarker(YYSTYPE value, YYPOSN posn, YYSTYPE* nextValue, YYPOSN* nextPosn);
// The text of a token and its value, for messages and traces.
VString TokenExpr(int code, const YYSTYPE* value);
// Hands the tokens of a reduction to the nodes that hold its values.
void RdcPosn(YYPOSN* result, YYPOSN* positions, YYSTYPE* values, int count, int depth, int lookahead,
             YYPOSN* lookaheadPosn, YYSTYPE resultValue);
// The lexer's EXEC-token callback; returns the open EXEC token list.
DovExpr* CollectExecToken(DovTokenItem* item);
// The EXEC statement node of `code` built from the open EXEC token list.
DovExpr* SplitExecLines(DovOper code);
// True for RW_NOTE and TK_END_NOTE.
bool IsNoteKeywordToken(const DovToken* token);
// The lexer's NOTE-text callback (null at the end of a NOTE statement);
// the item stays the caller's. Returns 0.
int CollectNoteText(DovTokenItem* item);
