#include "grammar/stmt_actions.h"

#include "parser/parser_impl.h"
#include "parser/token_adapter.h"
#include "tree/walk.h"

namespace {

// The BY phrase in force for the parameters of CALL ... USING.
DovOper callMode = EX_PT_BY_REFERENCE;

bool Present(DovExpr* node) { return node && node->Oper() != NULL_NODE; }

void Warn(const char* text) {
    if (WorkingParser) WorkingParser->ParserError(MSG_WARN, WorkingParser->CurrentPosn(), VString(text));
}

void Error(const char* text) {
    if (WorkingParser) WorkingParser->ParserError(MSG_ERR, WorkingParser->CurrentPosn(), VString(text));
}

bool InDeclaratives() { return WorkingParser && WorkingParser->declaratives; }

// Deletes a phrase that is not kept; its tokens go to `owner`.
void Drop(DovExpr* phrase, DovExpr* owner) {
    if (!phrase) return;
    DovGatherTokens(phrase, &owner->Tokens());
    delete phrase;
}

// Of an AT phrase and an INVALID KEY phrase one is kept; the other is
// dropped. Both present: reported, the AT phrase stays.
DovExpr* ChooseException(DovExpr* at, DovExpr* invalid, const char* bothText, DovExpr* owner) {
    if (Present(at) && Present(invalid)) {
        Error(bothText);
        Drop(invalid, owner);
        return at;
    }
    if (Present(invalid)) {
        Drop(at, owner);
        return invalid;
    }
    Drop(invalid, owner);
    return at;
}

// Takes the two phrases out of a DovPhrasePair and deletes it; tokens it
// holds itself go to `owner`.
void TakePair(YYSTYPE pairValue, DovExpr* owner, DovExpr*& first, DovExpr*& second) {
    DovExpr* pair = DovN(pairValue);
    if (!pair) return;
    first = pair->NumArgs() > 0 ? pair->DelArg(0, 0, 1) : nullptr;
    second = pair->NumArgs() > 1 ? pair->DelArg(1, 0, 1) : nullptr;
    DovGatherTokens(pair, &owner->Tokens());
    delete pair;
}

}  // namespace

YYSTYPE DovEvalRange(YYSTYPE from, YYSTYPE to) {
    auto* range = new DovExprOper(EX_EXPR_RANGE);
    range->SetArg(0, DovN(from));
    if (DovExpr* t = DovN(to)) range->SetArg(1, t);
    return range;
}

YYSTYPE DovGotoStmt(YYSTYPE procedures, YYSTYPE& depending) {
    DovExpr* labels = DovN(procedures);
    DovExpr* dep = DovN(depending);
    if (Present(dep)) return new DovExprOper(STMT_GOTO_DEPENDING, labels, dep);
    if (labels && labels->Oper() == EX_LIST && labels->NumArgs() > 1)
        Error("More than one procedure name in GO TO without DEPENDING");
    DovDeleteExprCell(&depending);
    return new DovExprOper(STMT_GOTO, labels);
}

void DovEnterStmt() { Warn("ENTER statement is ignored"); }

YYSTYPE DovStatementListAppend(DovGrammarReduction& r, YYSTYPE list, YYSTYPE statement) {
    if (!DovN(statement)) return list;
    DovTokenList pending;
    if (DovExpr* before = DovN(list); before && before->Oper() == STMT_LIST) pending.AppendList(before->Tokens());
    DovExpr* joined = DovN(DovListAppend(STMT_LIST, list, statement));
    if (!joined) return joined;
    if (r.reduce_posn) {
        r.ReducePosnNow(joined);
        pending.AppendList(joined->Tokens());
    }
    const int last = joined->NumArgs() - 1;
    if (last >= 0) joined->ArgSlots(last)->tokens.PrependList(pending);
    else joined->Tokens().PrependList(pending);
    return joined;
}

void DovCallModeSet(DovOper mode) { callMode = mode; }

YYSTYPE DovCallModeNode(DovOper mode) {
    callMode = mode;
    return new DovExprOper(mode);
}

YYSTYPE DovCallParam(YYSTYPE byPhrase, YYSTYPE operand, YYSTYPE size) {
    return new DovExprOper(EX_CALL_PARAM, DovN(byPhrase), DovN(operand), DovN(size), new DovExprOper(callMode));
}

YYSTYPE DovCallStmt(DovGrammarReduction& r, YYSTYPE linkage, YYSTYPE usingPhrase, YYSTYPE giving,
                    YYSTYPE onException, YYSTYPE notOnException, YYSTYPE endCall) {
    auto* call = new DovExprOper(STMT_CALL);
    DovExpr* convention = nullptr;
    DovExpr* program = nullptr;
    YYSTYPE& target = r.vsp[2 - r.len];
    TakePair(target, call, convention, program);
    target = convention ? convention : program;
    call->SetArg(0, convention);
    call->SetArg(1, program);
    call->SetArg(2, DovN(linkage));
    call->SetArg(3, DovN(usingPhrase));
    call->SetArg(4, DovN(giving));
    call->SetArg(5, DovN(onException));
    call->SetArg(6, DovN(notOnException));
    call->SetArg(7, DovN(endCall));
    return call;
}

YYSTYPE DovExitAddressArg(DovGrammarReduction& r, YYSTYPE ident) {
    auto* address = new DovExprOper(SR_ADDRESS_OF, DovN(ident));
    r.ReducePosnNow(address);
    return new DovExprOper(EX_EXIT_ARG, address, nullptr);
}

YYSTYPE DovNoteStmt(DovGrammarReduction& r) {
    CollectNoteText(nullptr);
    auto* note = new DovExprOper(STMT_NOTE);
    r.ReducePosnNow(note);
    note->Tokens().RemoveIf([](DovToken* t) { return IsNoteKeywordToken(t) ? 1 : 0; });
    if (WorkingParser) note->Tokens().AppendList(WorkingParser->noteQueue);
    return note;
}

YYSTYPE DovUseAfterStmt(YYSTYPE global, YYSTYPE event, YYSTYPE onWhat, YYSTYPE giving) {
    if (!InDeclaratives()) Warn("USE AFTER PROCEDURE statement can appear in DECLARATIVES only");
    return new DovExprOper(STMT_USE_AFTER, DovN(global), DovN(event), DovN(onWhat), DovN(giving));
}

YYSTYPE DovUseBeforeReportingStmt(YYSTYPE global, YYSTYPE ident) {
    if (!InDeclaratives()) Warn("USE BEFORE REPORTING statement should appear in DECLARATIVES only");
    return new DovExprOper(STMT_USE_BEFORE_REPORTING, DovN(global), DovN(ident));
}

YYSTYPE DovUseForDebuggingStmt(YYSTYPE items) {
    if (!InDeclaratives()) Warn("USE FOR DEBUGGING statement should appear in DECLARATIVES only");
    return new DovExprOper(STMT_USE_FOR_DEBUGGING, DovN(items));
}

void DovDebuggingOperands(int on) {
    if (WorkingParser) WorkingParser->debuggingOperand = on;
}

YYSTYPE DovPhrasePair(YYSTYPE first, YYSTYPE second) { return new DovExprOper(EX_LIST, DovN(first), DovN(second)); }

YYSTYPE DovReadStmt(YYSTYPE file, YYSTYPE nextPrev, YYSTYPE into, YYSTYPE lock, YYSTYPE key,
                    YYSTYPE atEnd, YYSTYPE invalid, YYSTYPE nots, YYSTYPE endRead) {
    static const char* const kBoth = "Both AT AND and INVALID KEY used";
    auto* read = new DovExprOper(STMT_READ);
    DovExpr* notAtEnd = nullptr;
    DovExpr* notInvalid = nullptr;
    TakePair(nots, read, notAtEnd, notInvalid);
    read->SetArg(0, DovN(file));
    read->SetArg(1, DovN(nextPrev));
    read->SetArg(2, new DovNullNode);
    read->SetArg(3, DovN(into));
    read->SetArg(4, DovN(lock));
    read->SetArg(5, DovN(key));
    read->SetArg(6, new DovNullNode);
    read->SetArg(7, ChooseException(DovN(atEnd), DovN(invalid), kBoth, read));
    read->SetArg(8, ChooseException(notAtEnd, notInvalid, kBoth, read));
    read->SetArg(9, DovN(endRead));
    return read;
}

YYSTYPE DovWriteStmt(YYSTYPE record, YYSTYPE from, YYSTYPE advancing, YYSTYPE atEop,
                     YYSTYPE invalid, YYSTYPE nots, YYSTYPE endWrite) {
    static const char* const kBoth = "Both AT END-OF-PAGE and INVALID KEY used";
    auto* write = new DovExprOper(STMT_WRITE);
    DovExpr* notAtEop = nullptr;
    DovExpr* notInvalid = nullptr;
    TakePair(nots, write, notAtEop, notInvalid);
    write->SetArg(0, DovN(record));
    write->SetArg(1, DovN(from));
    write->SetArg(2, DovN(advancing));
    write->SetArg(3, new DovNullNode);
    write->SetArg(4, ChooseException(DovN(atEop), DovN(invalid), kBoth, write));
    write->SetArg(5, ChooseException(notAtEop, notInvalid, kBoth, write));
    write->SetArg(6, DovN(endWrite));
    return write;
}

YYSTYPE DovStartKey(YYSTYPE relation, YYSTYPE key) {
    return new DovExprOper(static_cast<DovOper>(DovValueToInt(relation)), new DovExprOper(START_KEY), DovN(key));
}

YYSTYPE DovProcRefAsOperand(YYSTYPE ref) {
    if (auto* use = dynamic_cast<DovNamedObjUse*>(DovN(ref))) use->SetCategory(NC_DATA_NAME);
    return ref;
}

void DovScreenItemStart(DovGrammarReduction& r, DovOper op, YYSTYPE* position, YYSTYPE* operand) {
    ScreenHolder.Start(new DovExprOper(op));
    DovHolderStarted(r, ScreenHolder);
    ScreenHolder.SetClause(0, position ? DovN(*position) : DovN(DovAbsentNode()));
    ScreenHolder.SetClause(1, DovN(*operand));
    if (position) *position = nullptr;
    *operand = nullptr;
}

void DovScreenItemClause(DovGrammarReduction& r, int n, YYSTYPE phrase) {
    r.ReducePosnNow(DovN(phrase));
    ScreenHolder.SetClause(n, DovN(phrase));
}

YYSTYPE DovScreenItemFinish() { return ScreenHolder.Finish(); }

YYSTYPE DovPassOn(DovGrammarReduction& r, YYSTYPE value) {
    DovExpr* node = DovN(value);
    if (!node || r.trial || !r.reduce_posn) return value;
    DovTokenList own;
    own.AppendList(node->Tokens());
    r.ReducePosnNow(node);
    DovTokenList* lead = node->LeadingTokens();
    if (lead != &node->Tokens()) {
        DovTokenList front;
        front.AppendList(node->Tokens());
        front.AppendList(*lead);
        lead->AppendList(front);
    }
    node->Tokens().AppendList(own);
    return value;
}
