// Printer messages: a message token (severity as its code, the text as its
// image, one position as begin and end) appended to the message list of the
// running pass. DovExpr::AddPError and DovExpr::AddError (declared with
// DovExpr, defined here) are the printer's two ways of reporting.
#pragma once

#include "lbase/vstring.h"

class DovExpr;
class DovPrettyPrinter;
class DovToken;
class DovTokenList;

// The token of a message about `node`: at the begin source position of its
// subtree, with the text "<position>: <operation name>: " and `text`.
DovToken* DovMakeNodeMessage(const DovExpr* node, int severity, const VString& text);

// Appends `token` to `list`, first echoing it ("ERROR: " and the token) on
// standard output when `echo` has debug flags. Without a list the token is
// dropped and "<who>: no list of error messages specified" goes through the
// library's message hook as a terminal message.
void DovPostPrinterMessage(DovToken* token, DovTokenList* list, const DovPrettyPrinter* echo, const char* who);
