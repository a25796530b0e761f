#include "lexer/lexer_object.h"

#include <iostream>
#include <utility>

#include "lexer/keywords.h"
#include "tree/expr.h"

DovReplacePhrase::DovReplacePhrase(DovReplacePhrase&& other) noexcept
    : from(std::move(other.from)), to(std::move(other.to)) {
    other.from.clear();
    other.to.clear();
}

DovReplacePhrase& DovReplacePhrase::operator=(DovReplacePhrase&& other) noexcept {
    if (this != &other) {
        Clear();
        from = std::move(other.from);
        to = std::move(other.to);
        other.from.clear();
        other.to.clear();
    }
    return *this;
}

void DovReplacePhrase::Clear() {
    for (DovTokenItem* item : from) delete item;
    for (DovTokenItem* item : to) delete item;
    from.clear();
    to.clear();
}

void DovReplaceStage::Clear() {
    phrases.clear();
    for (DovTokenItem* item : output) delete item;
    for (DovTokenItem* item : lookahead) delete item;
    output.clear();
    lookahead.clear();
    carried.Clear();
}

DovInputFile::~DovInputFile() {
    if (stream.is_open()) stream.close();
    delete pushBack;
    delete sepPushBack;
    delete replacing;
}

DovLexer::DovLexer(DovLexerCallbacks::Message message, DovLexerCallbacks::ExecToken execToken,
                   DovLexerCallbacks::NoteText noteText, DovLexerCallbacks::NameLookup nameLookup,
                   DovLexerCallbacks::CurrentRoot currentRoot)
    : messageCallback(message),
      execTokenCallback(execToken),
      noteTextCallback(noteText),
      nameLookupCallback(nameLookup),
      currentRootCallback(currentRoot) {
    Init();
}

DovLexer::DovLexer(const DovLexer&) {
    Init();
    Report(MSG_TERMINAL, DovNullPosn, "DovLexer::DovLexer(const DovLexer &) must not be called");
}

void DovLexer::Init() {
    copyDirs.Append(".");
    copySuffixes.Append(".cpy");
    Reset();
}

DovLexer::~DovLexer() {
    // Levels left open by an aborted parse go with the lexer.
    while (inputLevel > 0) {
        VString name;
        PopInput(true, name);
    }
    DropLayerState();
}

void DovLexer::PrintTrace(const char* label, const DovTokenItem* item) {
    std::cout << label;
    item->Print(std::cout);
    std::cout << '\n';
}

void DovLexer::LoseSlot(DovTokenItem*& slot, DovTokenItem* item, const char* message) {
    Report(MSG_TERMINAL, item->token ? item->token->Beg() : DovNullPosn, message);
    delete slot;
    slot = nullptr;
}

void DovLexer::Report(int severity, const DovTxtPosn& posn, const VString& text) {
    if (messageCallback)
        messageCallback(severity, posn, text);
    else
        DovPrintPosnMessage(severity, posn, text);
}

// Deletes the statement nodes that were made but never taken: a node the
// parser takes is no longer pointed to from here.
void DovLexer::DropPendingNodes() {
    for (DovExpr** field : {&pendingCopy, &pendingInclude, &pendingInc, &copyEndNode, &pendingReplace}) {
        delete *field;
        *field = nullptr;
    }
}

void DovLexer::SetPending(DovExpr*& field, DovExpr* node) {
    if (field && field != node) delete field;
    field = node;
}

DovExpr* DovLexer::TakeMarkerNode(int code) {
    DovExpr** field = nullptr;
    switch (code) {
        case SEP_UNINLINED_COPY:
        case SEP_INLINED_COPY:
        case SEP_COPY_INC:
            field = pendingCopy ? &pendingCopy : pendingInclude ? &pendingInclude : &pendingInc;
            break;
        case SEP_COPY_EOF:
            field = &copyEndNode;
            break;
        case SEP_REPLACE:
            field = &pendingReplace;
            break;
        default:
            return nullptr;
    }
    DovExpr* node = *field;
    *field = nullptr;
    return node;
}

// Frees every item and node that the layers still hold and empties them.
void DovLexer::DropLayerState() {
    pendingComments.Clear();
    for (DovTokenItem* item : collapsedStack) delete item;
    collapsedStack.clear();
    replaceStage.Clear();
    replaceSuspended = 0;
    delete copylessPushBack;
    copylessPushBack = nullptr;
    copyCarried.Clear();
    delete tokenPushBack;
    tokenPushBack = nullptr;
    for (DovTokenItem* item : cicsAhead) delete item;
    cicsAhead.clear();
    DropPendingNodes();
    brokenWord = VString();
    brokenIndex = 0;
    brokenAtOperators = false;
}

void DovLexer::Reset() {
    // Excluded keywords: upper-cased in place, then dropped from the
    // reserved-word table for the rest of the process.
    for (int i = 0; i < excludedKeywords.count; ++i) {
        VString& word = excludedKeywords.items[i];
        word = word.ToUpper();
        if (KeywordEntry* entry = FindKeyword(word)) entry->dials = 0;
    }

    reservedCheck = 1;
    extraKeywords = 0;
    intrinsicNames = 0;
    debuggingLines = 0;
    decimalPoint = '.';
    modes = TokenModes();
    tokensReturned = 0;
    linesRead = 0;
    lineWordsTaken = 0;
    codeLines = 0;
    codeLineMarks.clear();
    errorFlag = 0;

    // The bare member name is always the last try.
    if (copySuffixes.count == 0 || !copySuffixes.items[copySuffixes.count - 1].IsEmpty())
        copySuffixes.Append(VString());

    optionsLinesAllowed = 1;
    commentEntry = 0;
    ifDepth = 0;

    lineSeen = 0;
    lastIndicatorReported = 0;
    openLiteralDelim = 0;
    copyRecognition = 1;
    execState = execSql = execCics = 0;
    sqlCommentAt = DovNullPosn;
    noteState = 0;
    picSeen = 0;
    noteEnd = brokenBeg = brokenEnd = DovNullPosn;
    DropLayerState();

    while (inputLevel > 0) {
        VString name;
        PopInput(true, name);
    }
    current = nullptr;
}
