#include "grammar/cobol_actions.h"

#include "parser/error_nodes.h"
#include "parser/parser_impl.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/qualname.h"
#include "tree/symtab.h"
#include "tree/walk.h"

// ---- Clause holders ---------------------------------------------------------
// Static objects of the grammar: constructed before main, destroyed at exit
// (which deletes a node still being collected).
DovClauseHolder ConfigurationHolder;
DovClauseHolder SpecialNamesHolder;
DovClauseHolder PhraseHolder;
DovClauseHolder FileControlHolder;
DovClauseHolder FdHolder;
DovClauseHolder DataEntryHolder;
DovClauseHolder RdHolder;
DovClauseHolder ScreenHolder;
DovCicsClauseHolder CicsHolder;

namespace {

// Where each holder's node was started: the node and the result position of
// the rule that started it (compared by address only).
struct HolderPlace {
    DovClauseHolder* holder;
    const DovExpr* node = nullptr;
    const DovTokenList* posn = nullptr;
};
HolderPlace holder_places[] = {{&ConfigurationHolder}, {&SpecialNamesHolder}, {&PhraseHolder},
                               {&FileControlHolder},   {&FdHolder},           {&DataEntryHolder},
                               {&RdHolder},            {&ScreenHolder},       {&CicsHolder}};

// The BY phrase in force for USING parameters.
int param_mode = EX_PT_BY_REFERENCE;

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

// Hands `node` to the parser's grammar hook through a cell of its own.
void CallGrammarHook(DovExpr*& cell) {
    DovParserImpl* p = WorkingParser;
    if (p && p->grammarHook) p->grammarHook(&cell);
}

// The symbol table of the innermost open program (the file's when none).
DovExpr* CurrentTable() {
    DovParserImpl* p = WorkingParser;
    return p ? p->currentSymTab : nullptr;
}

}  // namespace

void DovHolderStarted(DovGrammarReduction& r, DovClauseHolder& holder) {
    if (r.trial || !r.reduce_posn || r.len != 0) return;
    // The rule is empty: its result position is an empty list of its own.
    delete r.pos;
    r.pos = new DovTokenList;
    r.reduce_posn = 0;
    for (HolderPlace& place : holder_places)
        if (place.holder == &holder) {
            place.node = holder.current;
            place.posn = r.pos;
        }
}

void DovHolderCellDiscarded(YYPOSN posn) {
    if (!posn) return;
    for (HolderPlace& place : holder_places) {
        if (place.posn != posn) continue;
        place.posn = nullptr;
        DovClauseHolder& holder = *place.holder;
        if (!holder.current || holder.current != place.node) continue;
        DovTokenList tokens;
        DovGatherTokens(holder.current, &tokens);
        tokens.AppendList(holder.gathered);
        AttachDiscardedTokens(&tokens, holder.current, 1);
    }
}

bool DovOneTrialPointOpen() { return yyps && yyps->save && !yyps->save->save; }

// ---- Names ------------------------------------------------------------------

YYSTYPE DovElementOfWord(YYSTYPE& word) {
    DovExpr* node = DovN(word);
    if (!node) return nullptr;
    if (node->Oper() == SYMBOL_TABLE_ELT) return node;
    // A literal or a character string standing for a name: the element of its
    // text; the literal goes, and with it the cell's hold on it, so that the
    // position reduction after the action finds no node at its address (a
    // new node may have taken it).
    DovExpr* table = CurrentTable();
    DovExpr* element = table ? SymTabFindOrAdd(table, node->Image()) : nullptr;
    DovDeleteExprCell(&word);
    return element;
}

YYSTYPE DovDefineName(YYSTYPE& word, int category, int flag) {
    DovExpr* element = DovElementOfWord(word);
    DovParserImpl* p = WorkingParser;
    if (!element || !p) return DovAbsentNode();
    DovExpr* def = p->SymTabDefine(static_cast<DovSymTabElt*>(element), category, flag);
    return def ? def : DovAbsentNode();
}

YYSTYPE DovUseOfWord(YYSTYPE& word, int category) {
    DovExpr* element = DovElementOfWord(word);
    if (!element) return DovAbsentNode();
    return DovMakeNamedObjUseForElt(element, static_cast<DovNameCategory>(category), nullptr);
}

YYSTYPE DovNameUseOfWord(YYSTYPE& word) {
    DovExpr* element = DovElementOfWord(word);
    if (!element) return DovAbsentNode();
    return new DovNameUse(DovLink(element));
}

YYSTYPE DovNamedUse(YYSTYPE qualified, int category, int setting) {
    DovExpr* names = DovN(qualified);
    if (!names) return DovAbsentNode();
    return DovMakeNamedObjUse(names, static_cast<DovNameCategory>(category), setting);
}

YYSTYPE DovPlainNameUse(YYSTYPE& word, int category, YYPOSN* tokens) {
    DovExpr* element = DovElementOfWord(word);
    if (!element) return DovAbsentNode();
    DovExpr* use =
        DovMakeNamedObjUseForElt(element, static_cast<DovNameCategory>(category), tokens ? *tokens : nullptr);
    return use;
}

// ---- Programs -----------------------------------------------------------------

YYSTYPE DovProgramStart() {
    DovParserImpl* p = WorkingParser;
    return p ? p->StartProgram() : nullptr;
}

void DovProgramDivisions(YYSTYPE program, YYSTYPE id, YYSTYPE env, YYSTYPE data, YYSTYPE proc) {
    DovExpr* prog = DovN(program);
    YYSTYPE parts[4] = {id, env, data, proc};
    for (int i = 0; i < 4; ++i) {
        DovExpr* part = DovN(parts[i]);
        if (prog)
            prog->SetArg(i, part, -1, 0);
        else
            delete part;
    }
}

void DovEndProgram(DovGrammarReduction& r, YYSTYPE name) {
    DovExpr* header = new DovExprOper(END_COBOL_PROGRAM, DovN(name));
    r.ReducePosnNow(header);
    DovParserImpl* p = WorkingParser;
    if (!p) {
        delete header;
        return;
    }
    const int open = p->programCount;
    p->EndProgram(header);
    if (!header->Parent() && p->programCount == open) {
        // Ignored (reported by EndProgram): the header stays with the
        // innermost open program, so that its tokens are kept.
        DovExpr* program = open > 1 ? p->programStack[open - 1] : nullptr;
        if (program && Absent(program->Args(5))) {
            program->SetArg(5, header, -1, 0);
        } else {
            // No program to end: the tokens go with the end of the file.
            DovGatherTokens(header, &p->trailingTokens);
            delete header;
            return;
        }
    }
    DovExpr* cell = header;
    CallGrammarHook(cell);
}

YYSTYPE DovMissingPart(const char* text) {
    DovParserImpl* p = WorkingParser;
    if (p && !DovDialsLevel(p->lexer.dials, DIAL_MF)) p->ParserError(MSG_WARN, DovNullPosn, text);
    return DovAbsentNode();
}

YYSTYPE DovIdDivision(YYSTYPE header, YYSTYPE paragraph) {
    DovExpr* division = new DovExprOper(DIVISION_IDENTIFICATION);
    division->SetArg(0, DovN(header), -1, 0);
    division->SetArg(1, DovN(paragraph), -1, 0);
    return division;
}

// ---- Procedure division ---------------------------------------------------------

YYSTYPE DovProcDivisionStart(DovGrammarReduction& r, YYSTYPE mnemonic, YYSTYPE linkage, YYSTYPE using_phrase,
                             YYSTYPE giving) {
    DovExpr* division = new DovExprOper(DIVISION_PROCEDURE);
    division->SetArg(0, DovN(mnemonic), -1, 0);
    division->SetArg(1, DovN(linkage), -1, 0);
    division->SetArg(2, DovN(using_phrase), -1, 0);
    division->SetArg(3, DovN(giving), -1, 0);
    r.ReducePosnNow(division);
    // The header's last tokens (its period) stand before what follows it, not
    // after the whole division.
    division->ArgSlots(4)->tokens.AppendList(division->Tokens());
    DovExpr* cell = division;
    CallGrammarHook(cell);
    if (DovParserImpl* p = WorkingParser) p->procDivision = 1;
    return cell;
}

void DovSetProcDivision() {
    if (DovParserImpl* p = WorkingParser) p->procDivision = 1;
}

void DovProcBodyStart(YYSTYPE division) {
    DovParserImpl* p = WorkingParser;
    DovExpr* node = DovN(division);
    if (!p || !node) return;
    p->procHolder = node;
    p->procSectionSlot = 7;  // PD_SECTIONS
}

YYSTYPE DovProcDivisionEnd(YYSTYPE division, YYSTYPE copy1, YYSTYPE declaratives, YYSTYPE copy2) {
    DovExpr* node = DovN(division);
    DovParserImpl* p = WorkingParser;
    if (!node) {
        delete DovN(copy1);
        delete DovN(declaratives);
        delete DovN(copy2);
        return nullptr;
    }
    node->SetArg(4, DovN(copy1), -1, 0);        // PD_COPY_BEFORE_DECL
    node->SetArg(5, DovN(declaratives), -1, 0); // PD_DECLARATIVES
    node->SetArg(6, DovN(copy2), -1, 0);        // PD_COPY_BEFORE_SECTIONS
    if (p) {
        p->procDivision = 0;
        p->procHolder = nullptr;
        p->procSectionSlot = 0;
        p->ResetProcState();
    }
    return node;
}

void DovProcElement(DovGrammarReduction& r, YYSTYPE element) {
    DovExpr* node = DovN(element);
    if (!node) return;
    r.ReducePosnNow(node);
    DovParserImpl* p = WorkingParser;
    if (!p || p->ProcessNewProc(node) != 0) {
        // Refused (reported): nothing of it stays in the parse state.
        if (p) p->ForgetNodesWithin(node);
        delete node;
        return;
    }
    DovExpr* cell = node;
    CallGrammarHook(cell);
}

namespace {

// Procedure header: the definition of the name, the node of `op` holding
// it in slot 0 and `second` in slot 1 (when given), its tokens, ProcessNewProc.
void ProcHeader(DovGrammarReduction& r, DovOper op, YYSTYPE name, int category, int flag, YYSTYPE second,
                bool has_second) {
    DovExpr* def = DovN(DovDefineName(name, category, flag));
    // The name's cell now holds the definition, so that its tokens go there.
    YYVALARGR(r, 1) = def;
    DovExpr* node = new DovExprOper(op);
    node->SetArg(0, def, -1, 0);
    if (has_second) node->SetArg(1, DovN(second), -1, 0);
    r.ReducePosnNow(node);
    // The name's own token goes to the definition (what stands before it stays
    // in the slot); the header's own tokens (the
    // keyword, the segment's, the period) to the slot that will hold the
    // paragraphs or sentences.
    const int body = op == SECTION_PROC ? 2 : 1;
    if (def) {
        if (DovToken* name_token = node->ArgSlots(0)->tokens.PopBack()) def->Tokens().AppendToken(name_token);
    }
    node->ArgSlots(body)->tokens.AppendList(node->Tokens());
    DovParserImpl* p = WorkingParser;
    if (!p || p->ProcessNewProc(node) != 0) {
        if (p) p->ForgetNodesWithin(node);
        delete node;
        return;
    }
    DovExpr* cell = node;
    CallGrammarHook(cell);
}

}  // namespace

void DovSectionHeader(DovGrammarReduction& r, YYSTYPE name, YYSTYPE segment) {
    ProcHeader(r, SECTION_PROC, name, NC_SECTION_NAME, 0, segment, true);
}

void DovParagraphHeader(DovGrammarReduction& r, YYSTYPE name) {
    ProcHeader(r, PARA_PROC, name, NC_PARA_NAME, 1, nullptr, false);
}

YYSTYPE DovProcNameTerm(DovGrammarReduction& r, YYSTYPE& word) {
    // The word's own position becomes the rule's; no reduction runs.
    r.pos = YYPOSNARGR(r, 1);
    YYPOSNARGR(r, 1) = nullptr;
    r.reduce_posn = 0;
    return DovElementOfWord(word);
}

void DovKeepPosn(DovGrammarReduction& r) {
    if (r.trial || !r.reduce_posn) return;
    auto* kept = new DovTokenList;
    for (int k = 1; k <= r.len; ++k) {
        YYPOSN& posn = YYPOSNARGR(r, k);
        if (!posn) continue;
        kept->AppendList(*posn);
        delete posn;
        posn = nullptr;
    }
    delete r.pos;
    r.pos = kept;
    r.reduce_posn = 0;
}

YYSTYPE DovDeclarativesStart(DovGrammarReduction& r) {
    // The header's tokens stay in the rule's position: the closing rule
    // hands them to the section list.
    DovKeepPosn(r);
    DovExpr* node = new DovExprOper(DECLARATIVE_SECTIONS);
    if (DovParserImpl* p = WorkingParser) {
        p->declaratives = 1;
        p->procHolder = node;
        p->procSectionSlot = 0;  // DECLS_SECTIONS
    }
    return node;
}

YYSTYPE DovDeclarativesEnd(DovGrammarReduction& r, int k, YYSTYPE declaratives, YYSTYPE& end) {
    DovExpr* node = DovN(declaratives);
    if (!node) {
        DovDeleteExprCell(&end);
        return DovAbsentNode();
    }
    node->SetArg(1, DovN(end), -1, 0);  // DECLS_END
    // The DECLARATIVES header's tokens go to the section list.
    YYVALARGR(r, k) = node->Args(0);
    r.ReducePosnNow(node);
    DovExpr* cell = node;
    CallGrammarHook(cell);
    if (DovParserImpl* p = WorkingParser) {
        p->declaratives = 0;
        p->procHolder = nullptr;
        p->ResetProcState();
    }
    return cell;
}

YYSTYPE DovPendingErrorValue(DovGrammarReduction& r) {
    DovParserImpl* p = WorkingParser;
    if (!p) return nullptr;
    DovExpr* node = GenErrNode(p);
    // No position reduction: the tokens of the rule's symbols (the sync
    // token's) follow what recovery skipped, in the node's token list.
    p->errNode = node;
    for (int k = 1; k <= r.len; ++k) {
        YYPOSN& posn = YYPOSNARGR(r, k);
        if (!posn) continue;
        AttachErrTokens(posn, 3);
        delete posn;
        posn = nullptr;
    }
    r.reduce_posn = 0;
    return node;
}

YYSTYPE DovErrorValue(DovGrammarReduction& r) {
    YYSTYPE node = DovPendingErrorValue(r);
    DovParserImpl* p = WorkingParser;
    if (!p) return node;
    // What recovery discards from here on (a second error within the silent
    // window) goes to a fresh pending node, which the next error alternative
    // takes: never behind tokens that the tree already holds.
    p->errNode = nullptr;
    GenErrNode(p);
    return node;
}

// ---- Screen phrases ----------------------------------------------------------------

void DovScreenClause(DovGrammarReduction& r, int clause, YYSTYPE node) {
    DovExpr* n = DovN(node);
    if (!n) return;
    r.ReducePosnNow(n);
    ScreenHolder.SetClause(clause, n);
}

// ---- Parameters ---------------------------------------------------------------------

void DovSetParamMode(int mode) { param_mode = mode; }

YYSTYPE DovProcParam(YYSTYPE by_phrase, YYSTYPE name) {
    return DovConstructNode(EX_PROC_PARAM, by_phrase, name, new DovExprOper(static_cast<DovOper>(param_mode)));
}

YYSTYPE DovByPhrase(int mode) {
    param_mode = mode;
    return DovKeywordNode(static_cast<DovOper>(mode));
}

// ---- Lists with separators ------------------------------------------------------

YYSTYPE DovListJoin(DovGrammarReduction& r, DovOper op, YYSTYPE list, YYSTYPE item) {
    DovExpr* joined = DovN(DovListAppend(op, list, item));
    if (!joined || r.trial || !r.reduce_posn) return joined;
    DovTokenList kept;
    kept.AppendList(joined->Tokens());
    r.ReducePosnNow(joined);
    const int last = joined->NumArgs() - 1;
    if (last >= 0) joined->ArgSlots(last)->tokens.AppendList(joined->Tokens());
    joined->Tokens().AppendList(kept);
    return joined;
}

// ---- Operands -------------------------------------------------------------------------

YYSTYPE DovNotOp(YYSTYPE op) { return DovIntToValue(DovValueToInt(op) + 13); }

YYSTYPE DovCompare(YYSTYPE op, YYSTYPE left, YYSTYPE right) {
    return DovConstructNode(static_cast<DovOper>(DovValueToInt(op)), left, right);
}

YYSTYPE DovClassTest(YYSTYPE op, YYSTYPE subject) {
    return DovConstructNode(static_cast<DovOper>(DovValueToInt(op)), subject);
}

YYSTYPE DovAbbreviated(YYSTYPE op, YYSTYPE object) {
    YYSTYPE subject = DovAbsentNode();
    return DovCompare(op, subject, object);
}

void DovParenMark(DovGrammarReduction& r) {
    // The cell of the name or base before the parenthesis: two to the left
    // of the marker (the parenthesis is one).
    if (r.trial) YYVALARGR(r, -1) = DovIntToValue(1);
}

int DovParenBuilt(DovGrammarReduction& r) { return r.trial && DovOneTrialPointOpen(); }

int DovParenSkipped(DovGrammarReduction& r) {
    if (!r.trial) return 0;
    YYSTYPE& cell = YYVALARGR(r, 1);
    if (!cell) return 0;
    cell = nullptr;
    return DovOneTrialPointOpen();
}
