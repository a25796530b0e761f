// The parse run: the working parser's construction, Parse with its steps,
// and the release of whatever a parse leaves behind.
#include <iostream>
#include <vector>

#include "parser/clauses.h"
#include "parser/data_layout.h"
#include "parser/error_nodes.h"
#include "parser/hooks.h"
#include "parser/parser_impl.h"
#include "parser/token_adapter.h"
#include "tree/symtab.h"
#include "tree/walk.h"

DovParserImpl* WorkingParser = nullptr;
DovGrammarHooks DovGrammar;
DovSlotPosnFn DovSlotPosnHook = nullptr;
int DovCanParseSql = 1;
int DovCanParseCics = 1;

bool DovDefaultGrammarAcceptsDials(DovDials set) {
    return DovDialsLevel(set, DIAL_WANG) == 0 && DovDialsLevel(set, DIAL_DML) == 0;
}

namespace {

// The lexer's callbacks reach the parser that is working.
void LexerMessage(int level, const DovTxtPosn& position, const VString& text) {
    if (WorkingParser)
        WorkingParser->ParserError(level, position, text);
    else if (DovMessageHook)
        DovMessageHook(level, position, text);
}

DovExpr* LexerNameLookup(const VString& name) { return WorkingParser ? WorkingParser->FindNameInProg(name) : nullptr; }

DovExpr* LexerCurrentRoot() { return WorkingParser ? WorkingParser->root : nullptr; }

int IsInfoOrWarning(DovToken* token) { return token->code == MSG_INFO || token->code == MSG_WARN; }

// The topmost node above `node` (itself when it has no parent).
DovExpr* TopOf(DovExpr* node) {
    while (node->Parent()) node = node->Parent();
    return node;
}

}  // namespace

DovParserImpl::DovParserImpl()
    : lexer(LexerMessage, CollectExecToken, CollectNoteText, LexerNameLookup, LexerCurrentRoot) {
    ResetParseState();
}

DovParserImpl::DovParserImpl(const DovParser& options)
    : DovParser(options), lexer(LexerMessage, CollectExecToken, CollectNoteText, LexerNameLookup, LexerCurrentRoot) {
    ResetParseState();
}

DovParserImpl& DovParserImpl::operator=(const DovParser& options) {
    if (this != &options) DovParser::operator=(options);
    DropParseState(nullptr, 0);
    ResetParseState();
    return *this;
}

DovParserImpl::~DovParserImpl() {
    DropParseState(nullptr, 0);
    if (WorkingParser == this) WorkingParser = nullptr;
}

void DovParserImpl::ResetParseState() {
    root = nullptr;
    messages = nullptr;
    currentPosn = DovNullPosn;
    for (DovExpr*& p : programStack) p = nullptr;
    programCount = 0;
    currentSymTab = nullptr;
    procHolder = nullptr;
    procSectionSlot = 0;
    currentSection = nullptr;
    currentParagraph = nullptr;
    procDivision = 0;
    declaratives = 0;
    dataDivision = 0;
    debuggingOperand = 0;
    currencySign = '$';
    for (DovDataLevel& l : levelStack) l = DovDataLevel();
    levelDepth = 0;
    dataList = nullptr;
    parkedMarkers = nullptr;
    errNode = nullptr;
    errorReduction = 0;
    pushedBack = nullptr;
    lastCode = 0;
    oldCopySkip = 0;
    foldedCopyLevels.clear();
    nameClassification = 1;
    execList = nullptr;
    noteComment = nullptr;
    noteQueue.Clear();
    trailingTokens.Clear();
    computerName = 0;
    sourceComputerOpen = 0;
}

std::vector<DovExpr*> DovParserImpl::LooseTops(DovExpr* const* owned, int ownedCount) const {
    // The nodes the parse state points at may lie inside the root, inside
    // an open program, inside one another, or stand alone: each is freed
    // through its top, once.
    std::vector<DovExpr*> tops;
    auto note = [&](DovExpr* node) {
        if (!node) return;
        DovExpr* top = TopOf(node);
        for (int i = 0; i < ownedCount; ++i)
            if (owned[i] == top) return;
        for (DovExpr* t : tops)
            if (t == top) return;
        tops.push_back(top);
    };
    note(root);
    for (int i = 0; i < programCount && i < kDovMaxProgramLevels; ++i) note(programStack[i]);
    note(currentSymTab);
    note(procHolder);
    note(currentSection);
    note(currentParagraph);
    for (int i = 0; i < levelDepth && i < kDovMaxDataLevels; ++i) note(levelStack[i].holder);
    note(dataList);
    note(parkedMarkers);
    note(errNode);
    note(execList);
    return tops;
}

void DovParserImpl::ForgetNodesWithin(const DovExpr* node) {
    if (!node) return;
    auto forget = [node](DovExpr*& field) {
        for (const DovExpr* n = field; n; n = n->Parent())
            if (n == node) {
                field = nullptr;
                return;
            }
    };
    forget(root);
    for (int i = 0; i < programCount && i < kDovMaxProgramLevels; ++i) forget(programStack[i]);
    forget(currentSymTab);
    forget(procHolder);
    forget(currentSection);
    forget(currentParagraph);
    for (int i = 0; i < levelDepth && i < kDovMaxDataLevels; ++i) forget(levelStack[i].holder);
    forget(dataList);
    forget(parkedMarkers);
    forget(errNode);
    forget(execList);
    DovClauseHoldersForget(node);
}

void DovParserImpl::FreeLooseState(const std::vector<DovExpr*>& tops) {
    for (DovExpr* top : tops) delete top;
    delete pushedBack;
    delete noteComment;
    pushedBack = nullptr;
    noteComment = nullptr;
    ResetParseState();
}

void DovParserImpl::DropParseState(DovExpr* const* owned, int ownedCount) {
    FreeLooseState(LooseTops(owned, ownedCount));
}

void DovParserImpl::Progress(const char* text) const {
    if (progressCallback) progressCallback(DovNullPosn, VString(text));
}

int DovParserImpl::Parse(const char* fileName, DovExpr*& rootOut, DovTokenList* messageList) {
    // 1. One working instance at a time.
    if (WorkingParser) {
        if (DovMessageHook)
            DovMessageHook(MSG_TERMINAL, DovNullPosn, "Cannot have more than one working instance of DovParserImpl object");
        return 23;
    }

    // 2. Register and start from a clean state.
    WorkingParser = this;
    DropParseState(nullptr, 0);
    rootOut = nullptr;
    messages = messageList;
    auto finish = [this](int status) {
        WorkingParser = nullptr;
        return status;
    };

    // 3. Dialects the grammar cannot parse.
    bool (*accepts)(DovDials) = DovGrammar.acceptsDials ? DovGrammar.acceptsDials : DovDefaultGrammarAcceptsDials;
    if (!accepts(dials)) {
        ParserError(MSG_SEVERE, DovNullPosn,
                    DovFormat("Parser cannot parse this mix of dialects: %s", DovDialsText(dials).CStr()));
        messages = nullptr;
        return finish(20);
    }

    // 4. The lexer's settings.
    lexer.sqlSwitch = (DovCanParseSql && sqlSwitch) ? 1 : 0;
    lexer.cicsSwitch = (DovCanParseCics && cicsSwitch) ? 1 : 0;
    lexer.dials = dials;
    lexer.lineFormat = lineFormat;
    lexer.progidComments = progidComments;
    lexer.sepSpaceRequired = sepSpaceRequired;
    lexer.excludedKeywords = excludedKeywords;
    lexer.copyInline = inlineCopy;
    lexer.oldCopy = oldCopy;
    lexer.copyNameCase = copyNameCase;
    lexer.copyDirs = copyDirs;
    lexer.copySuffixes = copySuffixes;
    lexer.progress = progressCallback;
    lexer.progressInterval = progressInterval;
    lexer.traceFlags = errRecoveryTrace;

    // 5. Open the input.
    lexer.Reset();
    int status = lexer.SetInput(fileName);
    if (status != 0) {
        messages = nullptr;
        return finish(status);
    }

    if (lexOnly) {
        // 6. Only the tokens: read and drop them up to the end.
        for (;;) {
            DovTokenItem* item = lexer.GetToken();
            if (!item) break;
            const int code = item->token ? static_cast<int>(item->token->code) : static_cast<int>(SEP_EOF);
            if (item->token) currentPosn = item->token->Beg();
            delete lexer.TakeMarkerNode(code);
            delete item;
            if (code == SEP_EOF) break;
        }
        lexer.CloseInput();
        // What the lexer's callbacks collected meanwhile (EXEC blocks) goes.
        DropParseState(nullptr, 0);
        status = 0;
    } else {
        // 7. A fresh grammar state and the source root.
        if (DovGrammar.clearState) DovGrammar.clearState();
        InitSourceTree(this);

        // 8. The grammar.
        bool failed;
        if (DovGrammar.parse) {
            failed = DovGrammar.parse() != 0;
        } else {
            ParserError(MSG_ERR, DovNullPosn, "DovParserImpl::Parse: no grammar is installed");
            failed = true;
        }
        if (lexer.errorFlag || !root) failed = true;
        lexer.CloseInput();
        if (DovGrammar.dropLeftovers) DovGrammar.dropLeftovers();

        if (failed) {
            // 9. No tree: the open programs, then the root and every loose
            // node of the parse go.
            DovExpr* open[kDovMaxProgramLevels] = {};
            int openCount = 0;
            for (int i = 1; i < programCount && i < kDovMaxProgramLevels; ++i) open[openCount++] = programStack[i];
            const std::vector<DovExpr*> loose = LooseTops(open, openCount);
            FinishSource(1);
            FreeLooseState(loose);
            status = 3;
        } else {
            // 10. The tree goes to the caller.
            FinishSource(0);
            SymTabSettleOrder(SymTabOfHolder(root));
            DovExpr* tree = root;
            root = nullptr;
            rootOut = tree;

            // 11. The tokens after the last program.
            DovExpr* end = new DovExprOper(END_COBOL_FILE);
            end->Tokens().AppendList(trailingTokens);
            tree->SetArg(1, end, -1, 0);

            // 12. Every node comes from the source.
            DovMarkFromSource(tree);

            // 13. Slot positions.
            Progress("Preparing SourcePrint");
            if (DovSlotPosnHook) DovSlotPosnHook(tree);
            Progress("*");

            // 14. Lengths and offsets.
            if (lengthsAndOffsets) {
                Progress("Computing Lengths & Offsets");
                DovLayoutSettings settings;
                settings.storageMode = storageMode;
                settings.trailingSepSign = trailingSepSign;
                settings.pointerSize = pointerSize;
                settings.procPointerSize = procPointerSize;
                settings.indexSize = indexSize;
                settings.unfoldFlexArrays = unfoldFlexArrays;
                DovTokenList scratch;
                DovCalcLengthsAndOffsets(tree, messages ? messages : &scratch, 1, 1, 1, settings);
                Progress("*");
            }

            // 15. Empty slots get null nodes.
            if (fillNullArgs) DovFillNullArgs(rootOut);

            // 16. The status from the messages.
            status = 0;
            if (messages) {
                for (const DovToken* token : *messages) {
                    if (token->code == MSG_WARN && status == 0) status = 1;
                    if (token->code == MSG_ERR) status = 2;
                }
                if (!keepWarnings) messages->RemoveIf(IsInfoOrWarning);
            }

            // Loose nodes of the parse that did not reach the tree.
            DovExpr* kept[1] = {rootOut};
            DropParseState(kept, 1);
        }
    }

    // 17. The tree on request.
    if (printTree) {
        std::cout << "***Program Tree after parsing***" << '\n';
        if (rootOut)
            rootOut->Print(std::cout);
        else
            std::cout << "(NULL)";
        std::cout << "\n\n";
    }

    // 18. Statistics.
    tokenCount = lexer.tokensReturned;
    lineCount = lexer.linesRead;
    codeLineCount = lexer.codeLines;

    // 19. Done.
    messages = nullptr;
    return finish(status);
}
