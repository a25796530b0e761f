#include "grammar/data_actions.h"

#include <cstdio>
#include <string>

#include "grammar/cobol_actions.h"
#include "parser/parser_impl.h"
#include "parser/token_adapter.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace {

// The working parser; grammar runs without one (token-code tests) get a
// stand-in whose reports and data list go nowhere.
DovParserImpl* Parser() { return WorkingParser; }

void Report(int level, const DovTxtPosn& position, const char* text) {
    if (DovParserImpl* p = Parser()) p->ParserError(level, position, text);
}

// Places an entry through the working parser; without one the entry is
// released.
void AddEntry(int level, DovExpr* entry, int holderCode) {
    if (DovParserImpl* p = Parser())
        p->AddDataEntry(level, entry, holderCode);
    else
        delete entry;
}

void CheckLevel(DovExpr* number) {
    if (DovParserImpl* p = Parser()) p->CheckLevelNumber(number);
}

// The characters of a nonnumeric literal's image: the text between its
// quotes with doubled quotes single.
std::string LiteralText(const std::string& image) {
    if (image.size() < 2) return image;
    const char quote = image[0];
    if ((quote != '"' && quote != '\'') || image.back() != quote) return image;
    std::string text;
    for (std::size_t i = 1; i + 1 < image.size(); ++i) {
        text += image[i];
        if (image[i] == quote && image[i + 1] == quote) ++i;
    }
    return text;
}

void Forget(const DovExpr* node) {
    if (DovParserImpl* p = Parser()) p->ForgetNodesWithin(node);
}

bool Absent(YYSTYPE value) {
    DovExpr* node = DovN(value);
    return !node || node->Oper() == NULL_NODE;
}

bool HasDialect(int dialect) { return WorkingParser && DovDialsLevel(WorkingParser->lexer.dials, dialect) != 0; }

// A definition of the name `text` in the current program's table.
DovExpr* DefineText(const char* text, int category, int flag) {
    DovParserImpl* p = Parser();
    if (!p || !p->currentSymTab) return new DovNullNode;
    DovSymTabElt* element = SymTabFindOrAdd(p->currentSymTab, VString(text));
    return p->SymTabDefine(element, category, flag);
}

// Starts `node` in `holder` from the marker rule `r` and sets the first
// clauses from `values`.
void StartWith(DovGrammarReduction& r, DovClauseHolder& holder, DovExpr* node,
               std::initializer_list<std::pair<int, YYSTYPE>> values) {
    holder.Start(node);
    DovHolderStarted(r, holder);
    for (const auto& [slot, value] : values) holder.SetClause(slot, DovN(value));
}

// The entry a holder finished, through the position reduction of the rule
// that ends it, to AddDataEntry with its level.
void FinishEntry(DovGrammarReduction& r, DovClauseHolder& holder, int holderCode) {
    DovExpr* entry = holder.Finish();
    if (!entry) return;
    r.ReducePosnNow(entry);
    DovExpr* level = entry->NumArgs() > 0 ? entry->Args(0) : nullptr;
    int value = level && level->Oper() == INT_NUM_CONST ? static_cast<int>(level->IntValue()) : 0;
    AddEntry(value, entry, holderCode);
}

// The pending data list taken over, or a null node.
DovExpr* TakeDataList() {
    DovParserImpl* p = Parser();
    if (!p) return new DovNullNode;
    p->AddDataEntry(0, nullptr, 1);
    DovExpr* list = p->dataList;
    p->dataList = nullptr;
    return list ? list : new DovNullNode;
}

}  // namespace

// ---- Environment division ------------------------------------------------------

YYSTYPE DovEnvDivision(YYSTYPE* header, YYSTYPE* config, YYSTYPE* io) {
    if (Absent(*header) && Absent(*config) && Absent(*io)) {
        YYSTYPE result = *header;
        *header = nullptr;
        DovDeleteExprCell(config);
        DovDeleteExprCell(io);
        return result;
    }
    return DovConstructNode(DIVISION_ENVIRONMENT, *header, *config, *io);
}

void DovConfigStart(DovGrammarReduction& r) {
    ConfigurationHolder.Start(new DovExprOper(SECTION_CONFIGURATION));
    DovHolderStarted(r, ConfigurationHolder);
}

void DovConfigClause(int slot, YYSTYPE value) { ConfigurationHolder.SetClause(slot, DovN(value)); }

void DovConfigHeader(YYSTYPE header) {
    DovExpr* section = ConfigurationHolder.current;
    DovExpr* node = DovN(header);
    if (!section || !node || DovClausePresent(section, CS_HEADER)) {
        DovConfigClause(CS_HEADER, header);
        return;
    }
    // The header is the section's first clause even after a COPY marker:
    // it takes order 0 and the clauses before it move up one.
    for (int i = 0; i < section->NumArgs(); ++i)
        if (DovArgSlot* slot = section->ArgSlots(i); slot && slot->order >= 0) ++slot->order;
    delete section->DelArg(CS_HEADER, -1, 1);
    section->SetArg(CS_HEADER, node, 0, 0);
    ++ConfigurationHolder.counter;
}

YYSTYPE DovConfigFinish() {
    DovExpr* section = ConfigurationHolder.Finish();
    if (!section) return DovAbsentNode();
    for (int i = 0; i < section->NumArgs(); ++i)
        if (DovClausePresent(section, i)) return section;
    // Nothing but empty slots: the tokens (comments) stay with a null node.
    DovExpr* null = new DovNullNode;
    DovTokenList tokens;
    DovGatherTokens(section, &tokens);
    null->Tokens().AppendList(tokens);
    Forget(section);
    delete section;
    return null;
}

void DovDebuggingLinesOn() {
    if (WorkingParser) WorkingParser->lexer.debuggingLines = 1;
}

void DovSpecialNamesStart(DovGrammarReduction& r, YYPOSN* header, int count) {
    StartWith(r, SpecialNamesHolder, new DovExprOper(PARA_SPECIAL_NAMES), {{SN_NOT_USED, DovAbsentNode()}});
    DovTokenList& front = SpecialNamesHolder.current->ArgSlots(SN_NOT_USED)->tokens;
    for (int i = 0; i < count; ++i)
        if (header[i]) front.AppendList(*header[i]);
}

void DovSpecialNamesSet(int slot, YYSTYPE value) { SpecialNamesHolder.SetClause(slot, DovN(value)); }

void DovSpecialNamesAdd(int slot, DovOper listOp, YYSTYPE value) {
    SpecialNamesHolder.AddToList(slot, listOp, DovN(value));
}

void DovSpecialNamesCurrency(YYSTYPE clause) {
    DovExpr* node = DovN(clause);
    DovExpr* literal = node ? node->Args(0) : nullptr;
    SpecialNamesHolder.SetClause(SN_CURRENCY_SIGN, node);
    // The node may have been refused (a second CURRENCY clause): only the
    // one in the paragraph counts.
    DovExpr* para = SpecialNamesHolder.current;
    if (!para || !node || para->Args(SN_CURRENCY_SIGN) != node || !literal) return;
    const std::string text = LiteralText(literal->Image().CStr());
    if (text.size() != 1) {
        Report(MSG_ERR, DovSrcPosnBeg(literal), "Currency Sign literal must have length of one");
        return;
    }
    if (DovParserImpl* p = Parser()) p->currencySign = static_cast<unsigned char>(text[0]);
}

YYSTYPE DovSpecialNamesFinish() { return SpecialNamesHolder.Finish(); }

void DovSwitchStart(DovGrammarReduction& r, YYSTYPE* sw, YYSTYPE* mnemonic) {
    StartWith(r, PhraseHolder, new DovExprOper(SNX_FUNC_SWITCH),
              {{SNX_FUNC_SWITCH__SW_IOF, *sw}, {SNX_FUNC_SWITCH__MNEM, *mnemonic}});
}

void DovSwitchPhrase(int slot, YYSTYPE value) { PhraseHolder.SetClause(slot, DovN(value)); }

YYSTYPE DovSwitchFinish() { return PhraseHolder.Finish(); }

YYSTYPE DovSwitchNumber(YYSTYPE* integer) {
    DovExpr* number = DovN(*integer);
    long long n = number ? number->IntValue() : 0;
    DovExpr* node = nullptr;
    if (n >= 0 && n <= 8) {
        node = new DovExprOper(static_cast<DovOper>(SW_SWITCH_0 + n));
    } else {
        char text[64];
        std::snprintf(text, sizeof text, "Bad switch number: %lld", n);
        Report(MSG_ERR, number ? DovSrcPosnBeg(number) : DovTxtPosn(), text);
        node = new DovExprOper(SW_SWITCH_0);
    }
    if (number) {
        DovTokenList tokens;
        DovGatherTokens(number, &tokens);
        node->Tokens().AppendList(tokens);
    }
    DovDeleteExprCell(integer);
    return node;
}

void DovDeviceClause(DovGrammarReduction& r, YYSTYPE* device, YYSTYPE* value) {
    DovExpr* dev = DovN(*device);
    DovExpr* is = DovN(*value);
    const bool crt = is && is->Oper() == IOF_CRT;
    if (crt && dev && dev->Oper() == IOF_CONSOLE) {
        // CONSOLE IS CRT: one node with the tokens of both words.
        DovExpr* node = new DovExprOper(SNX_CONSOLE_IS_CRT);
        r.ReducePosnNow(node);
        DovTokenList tokens;
        DovGatherTokens(dev, &tokens);
        node->Tokens().PrependList(tokens);
        DovGatherTokens(is, &node->Tokens());
        DovDeleteExprCell(device);
        DovDeleteExprCell(value);
        SpecialNamesHolder.SetClause(SN_CONSOLE, node);
        return;
    }
    if (crt) Report(MSG_ERR, DovSrcPosnBeg(is), "CRT can only appear in CONSOLE IS CRT");
    DovExpr* node = new DovExprOper(SNX_FUNC_SWITCH);
    node->SetArg(SNX_FUNC_SWITCH__SW_IOF, dev);
    node->SetArg(SNX_FUNC_SWITCH__MNEM, is);
    r.ReducePosnNow(node);
    SpecialNamesHolder.AddToList(SN_FUNC_SWITCH, SNX_FUNC_SWITCH_LIST, node);
}

YYSTYPE DovPlainWord(YYSTYPE* word) {
    DovExpr* node = DovN(*word);
    YYSTYPE text = new DovCharString(node ? node->Image() : VString());
    // An element of the symbol table stays there; any other value goes.
    if (node && node->Oper() != SYMBOL_TABLE_ELT) DovDeleteExprCell(word);
    return text;
}

YYSTYPE DovAlsoList(YYSTYPE* first, YYSTYPE* also) {
    DovExpr* list = DovN(*also);
    if (list) {
        list->InsArg(DovN(*first), 0);
        return list;
    }
    return DovListFirst(EX_ALPH_ALSO_LIST, *first);
}

YYSTYPE DovInputOutputSection(YYSTYPE* header, YYSTYPE* fileControl, YYSTYPE* ioControl) {
    if (Absent(*header) && Absent(*fileControl) && Absent(*ioControl)) {
        YYSTYPE result = *header;
        *header = nullptr;
        DovDeleteExprCell(fileControl);
        DovDeleteExprCell(ioControl);
        return result;
    }
    return DovConstructNode(SECTION_INPUT_OUTPUT, *header, *fileControl, *ioControl);
}

YYSTYPE DovFileControl(YYSTYPE* header, YYSTYPE* entries) {
    if (Absent(*header) && Absent(*entries)) {
        YYSTYPE result = *header;
        *header = nullptr;
        DovDeleteExprCell(entries);
        return result;
    }
    return DovConstructNode(PARA_FILE_CONTROL, *header, *entries);
}

void DovFileControlStart(DovGrammarReduction& r, YYSTYPE* optional, YYSTYPE* name) {
    StartWith(r, FileControlHolder, new DovExprOper(DECL_FC_ENTRY), {{FC_OPTIONAL, *optional}, {FC_FILE_NAME, *name}});
}

void DovFileControlClause(int slot, YYSTYPE value) { FileControlHolder.SetClause(slot, DovN(value)); }

void DovFileControlList(int slot, DovOper listOp, YYSTYPE value) {
    FileControlHolder.AddToList(slot, listOp, DovN(value));
}

YYSTYPE DovFileControlFinish() { return FileControlHolder.Finish(); }

void DovAltKeyStart(DovGrammarReduction& r, YYSTYPE* key) {
    StartWith(r, PhraseHolder, new DovExprOper(FCX_ALTERNATE_RECORD_KEY), {{ALTRECKEY_KEY, *key}});
}

void DovAltKeyPhrase(int slot, YYSTYPE value) { PhraseHolder.SetClause(slot, DovN(value)); }

YYSTYPE DovAltKeyFinish() { return PhraseHolder.Finish(); }

// ---- Data division ---------------------------------------------------------------

YYSTYPE DovDataDivision(YYSTYPE* cells, YYSTYPE* result) {
    // No section: the header's value (a null node when it is missing too).
    bool empty = true;
    for (int i = 2; i < 10 && empty; ++i) empty = Absent(cells[i]);
    if (empty) {
        *result = cells[0];
        cells[0] = nullptr;
        for (int i = 1; i < 10; ++i) DovDeleteExprCell(&cells[i]);
    } else {
        // Sections without the header: the warning, at the first section.
        if (Absent(cells[0]) && !HasDialect(DIAL_MF))
            for (int i = 2; i < 10; ++i)
                if (!Absent(cells[i])) {
                    Report(MSG_WARN, DovSrcPosnBeg(DovN(cells[i])), "DATA DIVISION header is missing");
                    break;
                }
        DovExpr* division = new DovExprOper(DIVISION_DATA);
        division->SetArg(DS_HEADER, DovN(cells[0]));
        for (int i = 2; i < 10; ++i) division->SetArg(i, DovN(cells[i]));
        *result = division;
    }
    if (WorkingParser && WorkingParser->grammarHook) WorkingParser->grammarHook(result);
    return *result;
}

YYSTYPE DovDataHeaderMissing() { return DovAbsentNode(); }

void DovDataDivisionSeen() {
    if (DovParserImpl* p = Parser()) p->dataDivision = 1;
}

YYSTYPE DovFileSection(YYSTYPE* header, YYSTYPE* entries) {
    if (Absent(*header) && Absent(*entries)) {
        YYSTYPE result = *header;
        *header = nullptr;
        DovDeleteExprCell(entries);
        return result;
    }
    return DovConstructNode(SECTION_FILE, *header, *entries);
}

void DovFdStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* name) {
    StartWith(r, FdHolder, new DovExprOper(DECL_FD_ENTRY), {{FD_LEVEL, *level}, {FD_FILE_NAME, *name}});
}

void DovFdClause(int slot, YYSTYPE value) { FdHolder.SetClause(slot, DovN(value)); }

void DovFdList(int slot, DovOper listOp, YYSTYPE value) { FdHolder.AddToList(slot, listOp, DovN(value)); }

YYSTYPE DovFdFinish() { return FdHolder.Finish(); }

void DovContextWords(int on) {
    if (WorkingParser) WorkingParser->lexer.extraKeywords = on;
}

void DovValueOfContextWords() {
    if (HasDialect(DIAL_WANG)) DovContextWords(1);
}

void DovLinageStart(DovGrammarReduction& r, YYSTYPE* pageSize) {
    StartWith(r, DataEntryHolder, new DovExprOper(FDX_LINAGE), {{FDX_LINAGE__PAGE_SIZE, *pageSize}});
}

YYSTYPE DovLinageFinish() {
    if (DataEntryHolder.current)
        DataEntryHolder.SetClause(FDX_LINAGE__COUNTER, DefineText("LINAGE-COUNTER", NC_DATA_NAME, 1));
    return DataEntryHolder.Finish();
}

void DovDataClause(int slot, YYSTYPE value) { DataEntryHolder.SetClause(slot, DovN(value)); }

YYSTYPE DovPeriodAfterLast(DovGrammarReduction& r, YYSTYPE list) {
    DovExpr* node = DovN(list);
    DovExpr* last = node && node->Oper() != NULL_NODE && node->NumArgs() > 0 ? node->Args(node->NumArgs() - 1) : node;
    r.ReducePosnNow(nullptr);
    if (last && r.pos) last->Tokens().AppendList(*r.pos);
    return list;
}

void DovLinageNoise(DovGrammarReduction& r) {
    DovExpr* linage = DataEntryHolder.current;
    r.ReducePosnNow(nullptr);
    if (!linage || !r.pos) return;
    // The clause written last is the one with the highest order number.
    DovExpr* last = nullptr;
    int order = -1;
    for (int i = 0; i < linage->NumArgs(); ++i)
        if (DovArgSlot* slot = linage->ArgSlots(i); slot && slot->arg && slot->order > order) {
            order = slot->order;
            last = slot->arg;
        }
    if (last) last->Tokens().AppendList(*r.pos);
}

YYSTYPE DovRecordEntries() { return TakeDataList(); }

void DovDataMarker(YYSTYPE marker, int holderCode) { AddEntry(99, DovN(marker), holderCode); }

void DovDataLoose(YYSTYPE node) {
    DovParserImpl* p = Parser();
    if (!p) {
        delete DovN(node);
        return;
    }
    p->AddDataEntry(0, nullptr, 1);
    p->dataList = DovListExpr(DECL_DD_LIST, p->dataList, DovN(node));
}

void DovDataEntryStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* copy, YYSTYPE* name) {
    DovExpr* entry = new DovExprOper(HasDialect(DIAL_WANG) ? DECL_DD_ENTRY_WANG_DISPLAY : DECL_DD_ENTRY);
    DataEntryHolder.Start(entry);
    DovHolderStarted(r, DataEntryHolder);
    if (DovExpr* number = DovN(*level)) {
        // The level is checked on the entry that carries it.
        DataEntryHolder.SetClause(DD_LEVEL, number);
        CheckLevel(number);
    }
    DataEntryHolder.SetClause(DD_COPY_BEF_NAME, DovN(*copy));
    DataEntryHolder.SetClause(DD_DATA_NAME, DovN(*name));
}

namespace {

// The error clause of an entry is reduced as soon as `error` is shifted, so
// what recovery then discards up to the entry's period collects in the next
// pending error node, which no error alternative takes. The entry's error
// clause takes those tokens, after its own.
void TakeSkippedTokens(DovExpr* entry) {
    DovParserImpl* p = Parser();
    if (!p || !entry || !p->errNode || p->errNode->Parent()) return;
    DovExpr* clause = DovArgOrNull(entry, DD_UNINLINED_COPY);
    if (!clause || clause->Oper() != STMT__SYNTAX_ERROR) return;
    DovExpr* skipped = DovArgOrNull(p->errNode, 0);
    if (!skipped || skipped->NumArgs() == 0) return;
    DovExpr* list = DovArgOrNull(clause, 0);
    if (!list || list->Oper() != EX_EXEC_TOKEN_LIST) {
        list = new DovExprOper(EX_EXEC_TOKEN_LIST);
        clause->SetArg(0, list);
    }
    while (skipped->NumArgs() > 0)
        if (DovExpr* item = skipped->DelArg(0, 1, 0)) list->AddArg(item);
}

}  // namespace

void DovDataEntryFinish(DovGrammarReduction& r) {
    TakeSkippedTokens(DataEntryHolder.current);
    FinishEntry(r, DataEntryHolder, DECL_DD);
}

YYSTYPE DovDefineConstantAgain(YYSTYPE& word) {
    Report(MSG_WARN, DovTxtPosn(), "Double definition of 78-level constant. Second definition is ignored.");
    return DovDefineName(word, NC_CONSTANT_NAME, 1);
}

YYSTYPE DovUndefinedConstant(YYSTYPE& word) {
    Report(MSG_WARN, DovTxtPosn(), "Undefined 78-level constant");
    return DovUseOfWord(word, NC_CONSTANT_NAME);
}

YYSTYPE DovUsageComp() {
    return DovKeywordNode(HasDialect(DIAL_RM) || HasDialect(DIAL_RM85) ? DU_COMP_RM : DU_COMP);
}

YYSTYPE DovUsageComp1() {
    if (HasDialect(DIAL_RM) || HasDialect(DIAL_RM85)) return DovKeywordNode(DU_COMP_1_RM);
    return DovKeywordNode(HasDialect(DIAL_ACU) ? DU_COMP_1_ACU : DU_COMP_1);
}

YYSTYPE DovUsageComp2() { return DovKeywordNode(HasDialect(DIAL_ACU) ? DU_COMP_2_ACU : DU_COMP_2); }

YYSTYPE DovRecordingMode(YYSTYPE mode) { return DovConstructNode(FDX_REC_MODE, mode); }

YYSTYPE DovValueOf(YYSTYPE items) { return DovConstructNode(FDX_VALUE_OF, items); }

YYSTYPE DovCdEntryStart(YYSTYPE* name) {
    // name, FOR, INITIAL, direction, phrases; the record entries come later.
    return DovConstructNode(DECL_CD_ENTRY, name[0], name[2], name[3], name[4], DovAbsentNode());
}

void DovRdStart(DovGrammarReduction& r, YYSTYPE* name) {
    StartWith(r, RdHolder, new DovExprOper(DECL_RD_ENTRY), {{RD_REPORT_NAME, *name}});
}

YYSTYPE DovRdFinish() {
    DovExpr* entry = RdHolder.Finish();
    if (!entry) return nullptr;
    entry->SetArg(RD_LINE_COUNTER, DefineText("LINE-COUNTER", NC_DATA_NAME, 1));
    entry->SetArg(RD_PAGE_COUNTER, DefineText("PAGE-COUNTER", NC_DATA_NAME, 1));
    return entry;
}

void DovRdClause(int slot, YYSTYPE value) { RdHolder.SetClause(slot, DovN(value)); }

YYSTYPE DovReportWithGroups(YYSTYPE* entry) {
    YYSTYPE groups = TakeDataList();
    return DovConstructNode(DECL_RD, *entry, groups);
}

void DovReportGroupStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* name) {
    DovExpr* entry = new DovExprOper(DECL_RGD_ENTRY);
    DataEntryHolder.Start(entry);
    DovHolderStarted(r, DataEntryHolder);
    if (DovExpr* number = DovN(*level)) {
        DataEntryHolder.SetClause(RGD_LEVEL, number);
        CheckLevel(number);
    }
    DataEntryHolder.SetClause(RGD_DATA_NAME, DovN(*name));
}

void DovReportGroupFinish(DovGrammarReduction& r) { FinishEntry(r, DataEntryHolder, DECL_RGD); }

YYSTYPE DovScreenSection(DovGrammarReduction& r) {
    DovExpr* section = new DovExprOper(SECTION_SCREEN);
    if (DovParserImpl* p = Parser()) {
        p->AddDataEntry(0, nullptr, 1);
        section->SetArg(SECTION_SCREEN__DESCRS, p->dataList);
        p->dataList = nullptr;
    }
    r.ReducePosnNow(section);
    // The header's tokens belong to the slot of the entries.
    section->ArgSlots(SECTION_SCREEN__DESCRS)->tokens.AppendList(section->Tokens());
    return section;
}

void DovScreenEntryStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* name) {
    DovExpr* entry = new DovExprOper(DECL_SCRD_ENTRY);
    ScreenHolder.Start(entry);
    DovHolderStarted(r, ScreenHolder);
    if (DovExpr* number = DovN(*level)) {
        ScreenHolder.SetClause(IX_ADIS_LEVEL, number);
        CheckLevel(number);
    }
    ScreenHolder.SetClause(IX_ADIS_DATA_NAME, DovN(*name));
}

void DovScreenEntryFinish(DovGrammarReduction& r) { FinishEntry(r, ScreenHolder, DECL_SCRD); }

void DovScreenClause(int slot, YYSTYPE value) { ScreenHolder.SetClause(slot, DovN(value)); }

void DovScreenAttr(DovGrammarReduction& r, int slot, DovOper op) {
    DovExpr* node = new DovExprOper(op);
    r.ReducePosnNow(node);
    ScreenHolder.SetClause(slot, node);
}

// ---- Identification division ------------------------------------------------------

void DovMarkerTokensOn(DovGrammarReduction& r, YYSTYPE* marker) {
    DovExpr* node = DovN(*marker);
    *marker = nullptr;
    r.ReducePosnNow(nullptr);
    if (!node) return;
    if (!r.pos) r.pos = new DovTokenList;
    DovGatherTokens(node, r.pos);
    Forget(node);
    delete node;
}

// ---- Between parses -------------------------------------------------------------------

void DovResetHolders() {
    DovClauseHolder* holders[] = {&ConfigurationHolder, &SpecialNamesHolder, &PhraseHolder, &FileControlHolder,
                                  &FdHolder,            &DataEntryHolder,    &RdHolder,     &ScreenHolder,
                                  &CicsHolder};
    for (DovClauseHolder* h : holders) {
        delete h->current;
        h->current = nullptr;
        h->counter = 0;
        h->gathered.Clear();
    }
    delete CicsHolder.parked;
    CicsHolder.parked = nullptr;
    for (DovExpr* option : CicsHolder.waiting) delete option;
    CicsHolder.waiting.clear();
}
