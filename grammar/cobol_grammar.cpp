#include "grammar/cobol_grammar.h"

#include "grammar/cobol_actions.h"
#include "grammar/data_actions.h"
#include "parser/error_nodes.h"
#include "parser/hooks.h"
#include "parser/parser_impl.h"
#include "parser/token_adapter.h"

DovFrameGrammar DovCobolGrammar = {&DovCobolGrammarTables, {}, nullptr};

const int DovGrammarHasSql = 1;
const int DovGrammarHasCics = 1;

namespace {

// A reported error opens a fresh pending error node (unless one is pending
// and not yet placed, which goes on collecting), which then takes the tokens
// of everything recovery discards and becomes the value of the `error`
// alternative that recovers.
void ReportError(const char* text, int code, YYSTYPE* value, YYPOSN* posn) {
    ReportSyntaxError(text, code, value, posn);
    DovParserImpl* p = WorkingParser;
    if (!p || !p->errNode || p->errNode->Parent()) DeleteErrPosn(nullptr, -1);
}

// The frame never shares a skipped lookahead's position list with another
// cell, so the list goes once its tokens are in the error node. A popped
// cell may be the place of a node a clause holder collects.
void DeletePosn(YYPOSN posn, int code) {
    if (code == 1) DovHolderCellDiscarded(posn);
    DeleteErrPosn(posn, code);
    if (code == 0) delete posn;
}

void ClearState() {
    DovResetHolders();
    yyretlval = nullptr;
    yyretposn = nullptr;
    yynerrs = 0;
}

void DropLeftovers() {
    if (yyretposn) {
        yyretposn->Clear();
        delete yyretposn;
    }
    yyretposn = nullptr;
    yyretlval = nullptr;
}

}  // namespace

void DovInstallGrammar() {
    DovGrammar.parse = yyparse;
    DovGrammar.acceptsDials = DovGrammarAcceptsDials;
    DovGrammar.clearState = ClearState;
    DovGrammar.dropLeftovers = DropLeftovers;
    DovCobolGrammar.services.report_syntax_error = ReportError;
    DovCobolGrammar.services.delete_value = DeleteErrValue;
    DovCobolGrammar.services.delete_posn = DeletePosn;
    DovCobolGrammar.services.lex = yylex;
    DovCobolGrammar.services.reduce_posn = RdcPosn;
    DovCobolGrammar.services.foldable = DovMarkerFoldable;
    DovCobolGrammar.services.fold = DovFoldMarker;
}

int yyparse() {
    if (!DovCobolGrammar.services.lex) {
        if (WorkingParser) WorkingParser->ParserError(MSG_ERR, DovNullPosn, "yyparse: no token source is installed");
        return 1;
    }
    return DovRunGrammar(DovCobolGrammar);
}

bool DovGrammarAcceptsDials(DovDials dials) {
    return DovDialsLevel(dials, DIAL_WANG) == 0 && DovDialsLevel(dials, DIAL_DML) == 0;
}
