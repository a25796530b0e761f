// STAND-INS, to be replaced: minimal versions of parser services that the
// parse run calls but whose real definitions live in their own files
// (programs.cpp, symbols.cpp, token_adapter.cpp, data_layout.cpp). Each
// block below goes when its real file arrives; until then a parse links and
// lex-only mode works end to end.
#include <sstream>

#include "parser/data_layout.h"
#include "parser/parser_impl.h"
#include "parser/token_adapter.h"
#include "tree/leaf.h"
#include "tree/symtab.h"

// ==========================================================================
// token_adapter.cpp stand-in: yylval, yyposn, TokenExpr, CollectExecToken,
// CollectNoteText
// ==========================================================================

YYSTYPE yylval = nullptr;
YYPOSN yyposn = nullptr;

VString TokenExpr(int code, const YYSTYPE* value) {
    DovToken token(code, VString());
    DovExpr* node = value ? DovValueNode(*value) : nullptr;
    if (node && node->IsTerminal()) token.image = node->Image();
    std::ostringstream out;
    out << token;
    if (node && !node->IsTerminal()) {
        out << "  TokenExpr:\n";
        node->Print(out);
    }
    return VString(out.str().c_str());
}

DovExpr* CollectExecToken(DovTokenItem* item) {
    DovParserImpl* parser = WorkingParser;
    DovTokenString* node = new DovTokenString(item && item->token ? DovTokenText(*item->token) : VString());
    if (item) node->Tokens().AppendItem(item);
    if (!parser) {
        delete node;
        return nullptr;
    }
    parser->execList = DovListExpr(EX_EXEC_TOKEN_LIST, parser->execList, node);
    return parser->execList;
}

int CollectNoteText(DovTokenItem*) { return 0; }

// ==========================================================================
// data_layout.cpp stand-in: DovCalcLengthsAndOffsets
// ==========================================================================

int DovCalcLengthsAndOffsets(DovExpr*, DovTokenList*, int, int, int, const DovLayoutSettings&) { return 0; }
