#include "lexer/lexer_object.h"

#include <utility>

#include "lexer/keywords.h"

namespace {

// Appends to a string array, doubling its room when it is full: settings
// copied into the lexer are never dropped.
void AppendGrowing(VStringArray& array, const VString& text) {
    if (array.count >= array.capacity) {
        int grown = array.capacity > 0 ? array.capacity * 2 : 4;
        VString* fresh = new VString[grown];
        for (int i = 0; i < array.count; ++i) fresh[i] = std::move(array.items[i]);
        delete[] array.items;
        array.items = fresh;
        array.capacity = grown;
    }
    array.items[array.count++] = text;
}

}  // namespace

DovInputFile::~DovInputFile() {
    if (stream.is_open()) stream.close();
    delete pushBack;
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
    AppendGrowing(copyDirs, ".");
    AppendGrowing(copySuffixes, ".cpy");
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

void DovLexer::Report(int severity, const DovTxtPosn& posn, const VString& text) {
    if (messageCallback)
        messageCallback(severity, posn, text);
    else
        DovPrintPosnMessage(severity, posn, text);
}

// Frees every item and node that the layers still hold and empties them.
void DovLexer::DropLayerState() {
    pendingComments.Clear();
    delete sepPushBack;
    sepPushBack = nullptr;
    for (DovTokenItem* item : collapsedStack) delete item;
    collapsedStack.clear();
    for (ReplacePhrase& phrase : phrases) {
        for (int i = 0; i < kDovReplaceTextSlots; ++i) {
            delete phrase.from[i];
            delete phrase.to[i];
            phrase.from[i] = phrase.to[i] = nullptr;
        }
        phrase.live = 1;
    }
    for (int i = 0; i < kDovReplaceTextSlots; ++i) {
        delete candidates[i];
        candidates[i] = nullptr;
    }
    candidateCount = 0;
    for (DovTokenItem*& item : replacedOutput) {
        delete item;
        item = nullptr;
    }
    replacedCursor = 0;
    delete copylessPushBack;
    copylessPushBack = nullptr;
    delete tokenPushBack;
    tokenPushBack = nullptr;
    keptSeparator = nullptr;
    // The statement nodes belong to the parser once it has taken them; the
    // pointers only say what is still to be taken.
    pendingCopy = pendingInclude = pendingInc = copyEndNode = pendingReplace = nullptr;
    brokenWord = VString();
    brokenIndex = 0;
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
    tokensReturned = 0;
    linesRead = 0;
    errorFlag = 0;

    // The bare member name is always the last try.
    if (copySuffixes.count == 0 || !copySuffixes.items[copySuffixes.count - 1].IsEmpty())
        AppendGrowing(copySuffixes, VString());

    optionsLinesAllowed = 1;
    commentEntry = 0;
    ifDepth = 0;

    lineSeen = 0;
    lastIndicatorReported = 0;
    openLiteralDelim = 0;
    keepComma = keepSemi = 0;
    copyRecognition = 1;
    phrasesInForce = 0;
    execState = execSql = execCics = 0;
    noteState = 0;
    picSeen = 0;
    execBeg = execEnd = noteBeg = noteEnd = brokenBeg = brokenEnd = DovNullPosn;
    DropLayerState();

    while (inputLevel > 0) {
        VString name;
        PopInput(true, name);
    }
    current = nullptr;
}
