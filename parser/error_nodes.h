// Syntax errors and error nodes. The tokens that the grammar's error
// recovery skips are kept in the tree inside the pending syntax-error node
// of the working parser (a STMT__SYNTAX_ERROR whose argument 0 is an
// EX_EXEC_TOKEN_LIST of TOKEN_STRING items), so that no source text is lost.
#pragma once

#include "parser/grammar_types.h"

class DovParserImpl;

// The grammar's error report: "<text>. at token: <spelling>" at MSG_ERR, at
// the first token of `posn` that is no blank, comma, semicolon or comment.
void ReportSyntaxError(const char* text, int code, YYSTYPE* value, YYPOSN* posn);

// The pending syntax-error node of `parser`, made when there is none; a
// fresh one when the pending node is already attached somewhere.
DovExpr* GenErrNode(DovParserImpl* parser);

// Discard hooks of error recovery. `mode`: 0 a skipped lookahead, 1 a cell
// popped during recovery, 2 a cell discarded at abort (-1: a position hook
// call that only wants a new pending error node).
void DeleteErrValue(YYSTYPE value, int mode);
void DeleteErrPosn(YYPOSN posn, int mode);

// Moves the tokens of `tokens` into the pending syntax-error node, when one
// is pending; `type` only shows in the trace.
void AttachErrTokens(DovTokenList* tokens, int type);

// The tokens of `owner`, a node that error recovery throws away (moved to
// `tokens` by the caller), into the pending syntax-error node: a pending node
// inside `owner` is forgotten, and with none pending a fresh one keeps them
// for the error alternative that ends the recovery.
void AttachDiscardedTokens(DovTokenList* tokens, const DovExpr* owner, int mode);

// Marks every node of the subtree of `node` and its argument slots as
// coming from the source (flag and slot code 1 where they are still 0).
void DovMarkFromSource(DovExpr* node);
