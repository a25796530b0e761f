// STAND-INS, to be replaced: minimal versions of parser services that the
// parse run calls but whose real definitions live in their own files
// (programs.cpp, symbols.cpp, data_layout.cpp). Each
// block below goes when its real file arrives; until then a parse links and
// lex-only mode works end to end.
#include "parser/data_layout.h"
#include "parser/parser_impl.h"
#include "tree/leaf.h"
#include "tree/symtab.h"

// ==========================================================================
// programs.cpp stand-in: InitSourceTree, FinishSource
// ==========================================================================

void InitSourceTree(DovParserImpl* parser) {
    DovExpr* root = new DovExprOper(COBOL_FILE);
    DovExpr* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    root->SetArg(kDovFileSymbolTableArg, table);
    parser->root = root;
    parser->programStack[0] = root;
    parser->programCount = 1;
    parser->currentSymTab = table;
}

int DovParserImpl::FinishSource(int abort) {
    // Whatever programs are still open: deleted on an abort, else simply
    // dropped from the stack (nothing opens programs before programs.cpp).
    for (int i = programCount - 1; i >= 1; --i) {
        if (abort) delete programStack[i];
        programStack[i] = nullptr;
    }
    if (programCount > 1) programCount = 1;
    return 0;
}

// ==========================================================================
// symbols.cpp stand-in: FindNameInProg
// ==========================================================================

DovSymTabElt* DovParserImpl::FindNameInProg(const VString& name) {
    if (!currentSymTab) return nullptr;
    return SymTabFindOrAdd(currentSymTab, name);
}

