// COPY, REPLACE, EXEC SQL INCLUDE and -INC. The COPY layer turns each
// statement into a node that waits for the parser and a marker token, opens
// the member as a new input level so that its text follows in line, and marks
// each member's end. Below it the replacing layer applies the REPLACING
// phrases of the member being read and, on top of them, the phrases of the
// REPLACE statement in force.
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "lexer/lexer_object.h"
#include "tree/expr.h"
#include "tree/leaf.h"
#include "tree/walk.h"

namespace {

bool IsWord(const DovTokenItem* item, const char* word) {
    return item->token->code == TK_CHAR_STRING && item->token->image == word;
}

bool IsWordOrLiteral(const DovTokenItem* item) {
    return item->token->code == TK_CHAR_STRING || item->token->code == TK_NONNUM_LIT;
}

// Items that end a statement's operands whatever they are: the end of a
// level and the COPY markers.
bool EndsOperands(const DovTokenItem* item) {
    const int c = item->token->code;
    return c == SEP_EOF || (c >= SEP_UNINLINED_COPY && c <= SEP_REPLACE);
}

bool SameWord(const DovToken* a, const DovToken* b) {
    return a->code == b->code && a->image.Len() == b->image.Len() &&
           std::memcmp(a->image.CStr(), b->image.CStr(), a->image.Len()) == 0;
}

DovTokenItem* CopyItem(const DovTokenItem* item) {
    auto* copy = new DovTokenItem(new DovToken(*item->token));
    copy->list.Assign(item->list);
    return copy;
}

// Reading statement operands turns replacing off and on again.
class Unreplaced {
public:
    explicit Unreplaced(int& flag) : flag_(flag) { ++flag_; }
    ~Unreplaced() { --flag_; }
    Unreplaced(const Unreplaced&) = delete;
    Unreplaced& operator=(const Unreplaced&) = delete;

private:
    int& flag_;
};

// The label, then each token on a line of its own.
void PrintTokenArray(const char* label, const std::vector<DovTokenItem*>& items) {
    std::cout << label << '\n';
    for (const DovTokenItem* item : items) {
        item->token->Print(std::cout);
        std::cout << '\n';
    }
}

}  // namespace

// --- Replacing ---------------------------------------------------------------

// Words that are never read ahead of nor replaced: the end of a level, COPY
// markers, and the words that start COPY, REPLACE and EXEC SQL INCLUDE
// statements, which are handled before any replacing.
bool DovLexer::IsBarrier(const DovTokenItem* item) const {
    if (EndsOperands(item)) return true;
    if (item->token->code != TK_CHAR_STRING) return false;
    const VString& w = item->token->image;
    return (copyRecognition && w == "COPY") || w == "REPLACE" || w == "EXEC";
}

DovTokenItem* DovLexer::StageSource(bool memberStage) {
    if (!memberStage && current && current->replacing) return StageGet(*current->replacing, true);
    return GetSpaceCollapsedRawTextWord();
}

DovTokenItem* DovLexer::StageGet(DovReplaceStage& stage, bool memberStage) {
    for (;;) {
        DovTokenItem* item = nullptr;
        if (!stage.output.empty()) {
            item = stage.output.front();
            stage.output.pop_front();
        } else if (stage.phrases.empty() || replaceSuspended) {
            if (!stage.lookahead.empty()) {
                item = stage.lookahead.front();
                stage.lookahead.pop_front();
            } else {
                item = StageSource(memberStage);
            }
        } else {
            if (stage.lookahead.empty()) stage.lookahead.push_back(StageSource(memberStage));
            // The phrases are tried in their order; the first whose whole
            // FROM text matches the words that follow wins.
            int matched = -1;
            for (std::size_t p = 0; p < stage.phrases.size() && matched < 0; ++p) {
                const std::vector<DovTokenItem*>& from = stage.phrases[p].from;
                std::size_t k = 0;
                for (; k < from.size(); ++k) {
                    if (k == stage.lookahead.size()) {
                        if (IsBarrier(stage.lookahead.back())) break;
                        stage.lookahead.push_back(StageSource(memberStage));
                    }
                    const DovTokenItem* word = stage.lookahead[k];
                    if (IsBarrier(word) || !SameWord(word->token, from[k]->token)) break;
                }
                if (!from.empty() && k == from.size()) matched = static_cast<int>(p);
            }
            if (matched < 0) {
                item = stage.lookahead.front();
                stage.lookahead.pop_front();
            } else {
                const DovReplacePhrase& phrase = stage.phrases[static_cast<std::size_t>(matched)];
                const std::size_t n = phrase.from.size();
                if (traceFlags & 0x04) {
                    PrintTokenArray("**Match_FR:", phrase.from);
                    PrintTokenArray("**Match_TO:", phrase.to);
                    std::cout << "**\n";
                }
                const DovTxtPosn beg = stage.lookahead.front()->token->Beg();
                const DovTxtPosn end = stage.lookahead[n - 1]->token->End();
                // The comments and blanks of the replaced words go on with
                // the next word delivered. Words replaced by nothing go on
                // as blank runs over their text, so that a token still holds
                // every character of the source. What stands from the first
                // replaced word to the last is gone for the joining of text
                // words: the words around it join as if it had never been
                // there.
                for (std::size_t i = 0; i < n; ++i) {
                    DovTokenItem* word = stage.lookahead.front();
                    stage.lookahead.pop_front();
                    if (i > 0)
                        for (DovToken* t : word->list)
                            if (t->IsBlankSeparator()) t->inReplacedText = true;
                    if (!phrase.to.empty()) {
                        stage.carried.AppendItemDropToken(word);
                        continue;
                    }
                    stage.carried.AppendList(word->list);
                    DovToken* blank = word->token;
                    word->token = nullptr;
                    delete word;
                    blank->code = SEP_SPACE;
                    blank->image = VString();
                    blank->inReplacedText = true;
                    stage.carried.AppendToken(blank);
                }
                for (std::size_t j = 0; j < phrase.to.size(); ++j) {
                    DovTokenItem* copy = CopyItem(phrase.to[j]);
                    copy->token->range = DovTxtPosnRange{};
                    if (j == 0) copy->token->range.beg = beg;
                    if (j + 1 == phrase.to.size()) copy->token->range.end = end;
                    stage.output.push_back(copy);
                }
                continue;
            }
        }
        if (!stage.carried.IsEmpty()) item->list.PrependList(stage.carried);
        return item;
    }
}

DovTokenItem* DovLexer::GetRpldTextWord() {
    // Stages that pass would hand on what the space-collapsing layer gives
    // (and trace nothing): it is asked directly, a plain word taken from
    // the line.
    if (StagesPass()) {
        if (DovTokenItem* word = LineWord()) return word;
        return GetSpaceCollapsedRawTextWord();
    }
    DovTokenItem* item = StageGet(replaceStage, false);
    Trace(0x10, "GetRpldTextWord: ", item);
    return item;
}

void DovLexer::UngetRpldTextWord(DovTokenItem* item) {
    if (!item) return;
    Trace(0x10, "UngetRpldTextWord: ", item);
    replaceStage.output.push_front(item);
}

// A word read for a statement that turned out not to belong to it goes back
// in front of the source words, where replacing will see it.
void DovLexer::UnreadWord(DovTokenItem* item) {
    if (item) replaceStage.lookahead.push_front(item);
}

void DovLexer::ClearReplacingPhrases() { replaceStage.ClearPhrases(); }

// Asked only when a comma or semicolon arrives: the phrases in force are
// those of the REPLACE statement and the REPLACING phrases of the member
// being read.
bool DovLexer::PhraseReplaces(int code) const {
    auto replaces = [code](const DovReplaceStage* stage) {
        if (!stage) return false;
        for (const DovReplacePhrase& phrase : stage->phrases)
            if (phrase.from.size() == 1 && phrase.from[0]->token->code == code) return true;
        return false;
    };
    return replaces(&replaceStage) || (current && replaces(current->replacing));
}

// --- Statement operands ---------------------------------------------------------

DovTokenItem* DovLexer::GetCopylessWordSkippingCopy() {
    DovTokenList kept;
    for (;;) {
        DovTokenItem* item = GetRpldTextWord();
        const int c = item->token->code;
        if (c == SEP_SPACE || c == SEP_COMMA || c == SEP_SEMI || c == CM_COMMENT) {
            kept.AppendItem(item);
            continue;
        }
        if (c == TK_CHAR_STRING && copyRecognition && item->token->image == "COPY") {
            Report(MSG_ERR, item->token->Beg(), "COPY statement embedded within a COPY statement. Ignored.");
            kept.AppendItem(item);
            continue;
        }
        item->list.PrependList(kept);
        return item;
    }
}

void DovLexer::AddOperandToken(DovTokenItem* item, std::vector<DovTokenItem*>& text, DovExpr*& list) {
    auto* shown = new DovCharString(DovTokenText(*item->token));
    shown->Tokens().Assign(item->list);
    auto* token = new DovToken(*item->token);
    shown->Tokens().AppendToken(token);
    list = DovListExpr(COPY_TOKEN_LIST, list, shown);
    text.push_back(item);
}

DovTokenItem* DovLexer::ReadReplacingOperand(DovTokenItem* first, std::vector<DovTokenItem*>& text,
                                             DovExpr*& operand) {
    operand = nullptr;
    if (first->token->code == SEP_EQEQ) {
        DovExpr* tokens = nullptr;
        DovTokenList opening;
        opening.AppendItem(first);
        DovTokenItem* item = nullptr;
        bool closed = false;
        for (;;) {
            item = GetCopylessWordSkippingCopy();
            if (item->token->code == SEP_EQEQ) {
                closed = true;
                break;
            }
            if (EndsOperands(item)) {
                Report(MSG_ERR, item->token->Beg(), "End-of-file in pseudo-text");
                break;
            }
            AddOperandToken(item, text, tokens);
        }
        // ==,== and ==;==: the separator that the space-collapsing layer
        // hung on the closing delimiter is the text.
        if (closed && text.empty()) {
            DovTokenList rest;
            DovToken* sep = nullptr;
            while (DovToken* t = item->list.PopFront()) {
                if (!sep && (t->code == SEP_COMMA || t->code == SEP_SEMI)) {
                    sep = t;
                } else {
                    rest.AppendToken(t);
                }
            }
            item->list.AppendList(rest);
            if (sep) AddOperandToken(new DovTokenItem(sep), text, tokens);
        }
        auto* eqeqs = new DovExprOper(COPY_EQEQS);
        if (tokens) eqeqs->SetArg(0, tokens);
        eqeqs->ArgSlots(0)->tokens.AppendList(opening);
        operand = eqeqs;
        if (!closed) return item;
        eqeqs->Tokens().AppendItem(item);
        return GetCopylessWordSkippingCopy();
    }
    if (!IsWordOrLiteral(first)) return first;

    DovExpr* tokens = nullptr;
    AddOperandToken(first, text, tokens);
    DovTokenItem* item = GetCopylessWordSkippingCopy();
    while (IsWord(item, "OF") || IsWord(item, "IN")) {
        AddOperandToken(item, text, tokens);
        item = GetCopylessWordSkippingCopy();
        if (!IsWordOrLiteral(item)) break;
        AddOperandToken(item, text, tokens);
        item = GetCopylessWordSkippingCopy();
    }
    if (item->token->code == SEP_LEFT_PAR) {
        int depth = 0;
        for (;;) {
            const int c = item->token->code;
            if (EndsOperands(item) || c == SEP_DOT) break;
            AddOperandToken(item, text, tokens);
            item = GetCopylessWordSkippingCopy();
            if (c == SEP_LEFT_PAR) ++depth;
            if (c == SEP_RIGHT_PAR && --depth == 0) break;
        }
    }
    operand = tokens;
    return item;
}

// The phrases of REPLACING or REPLACE from `item` on, up to the item that
// ends them (returned). `failed` is set when a phrase has no BY or no text
// after it; the statement is then dropped.
DovTokenItem* DovLexer::ReadPhrases(DovTokenItem* item, DovExpr*& list, std::vector<DovReplacePhrase>& phrases,
                                    bool isReplace, bool& failed) {
    failed = false;
    const char* const emptyText =
        isReplace ? "The text after REPLACE keyword cannot be empty" : "The text after REPLACING keyword cannot be empty";
    if (item->token->code == SEP_DOT || EndsOperands(item)) {
        Report(MSG_ERR, item->token->Beg(), emptyText);
        failed = isReplace;
        return item;
    }
    while (item->token->code != SEP_DOT && !EndsOperands(item)) {
        DovReplacePhrase phrase;
        DovExpr* fromNode = nullptr;
        const DovTxtPosn at = item->token->Beg();
        item = ReadReplacingOperand(item, phrase.from, fromNode);
        if (phrase.from.empty()) {
            Report(MSG_ERR, at, emptyText);
            if (isReplace) failed = true;
        }
        if (!IsWord(item, "BY")) {
            Report(MSG_ERR, item->token->Beg(),
                   isReplace ? "We expect word BY after text-1 in REPLACE statement"
                             : "We expect word BY after text-1 in COPY statement");
            list = DovListExpr(COPY_REPLACING_LIST, list, new DovExprOper(COPY_REPLACING_BY, fromNode, nullptr));
            failed = true;
            return item;
        }
        auto* by = new DovExprOper(COPY_REPLACING_BY, fromNode, nullptr);
        by->ArgSlots(1)->tokens.AppendItem(item);
        list = DovListExpr(COPY_REPLACING_LIST, list, by);
        item = GetCopylessWordSkippingCopy();
        DovExpr* toNode = nullptr;
        const bool pseudo = item->token->code == SEP_EQEQ;
        item = ReadReplacingOperand(item, phrase.to, toNode);
        by->SetArg(1, toNode);
        if (!pseudo && phrase.to.empty()) {
            Report(MSG_ERR, item->token->Beg(), "Replacing text expected after BY");
            failed = true;
            return item;
        }
        // A FROM text that is one comma or semicolon stands for that
        // separator.
        if (phrase.from.size() == 1) {
            DovToken* t = phrase.from[0]->token;
            if (t->code == TK_CHAR_STRING && (t->image == "," || t->image == ";")) {
                t->code = t->image == "," ? SEP_COMMA : SEP_SEMI;
                t->image = VString();
            }
        }
        if (traceFlags & 0x04) {
            std::cout << "##Repl phrase # " << phrases.size() << '\n';
            PrintTokenArray("####FR:", phrase.from);
            PrintTokenArray("####TO:", phrase.to);
            std::cout << "##\n";
        }
        if (!phrase.from.empty()) phrases.push_back(std::move(phrase));
    }
    return item;
}

// A statement that cannot be used: its words go on, as kept tokens, with the
// next item, and the word that did not fit is read again as text; a period
// ends the statement and goes with it.
void DovLexer::DropStatement(DovExpr* node, DovTokenItem* offending, DovTokenList& before) {
    copyCarried.AppendList(before);
    DovGatherTokens(node, &copyCarried);
    delete node;
    if (offending->token->code == SEP_DOT)
        copyCarried.AppendItem(offending);
    else
        UnreadWord(offending);
}

DovExpr* DovLexer::MakeCopyNameNode(DovTokenItem* item) {
    DovExpr* node;
    if (item->token->code == TK_NONNUM_LIT)
        node = new DovStrConst(item->token->image);
    else
        node = new DovCharString(item->token->image);
    node->Tokens().AppendItem(item);
    return node;
}

// The file name that a member-name or library-name operand stands for: a
// literal's value, or the word.
VString DovLexer::MemberName(const DovTokenItem* item) {
    const DovToken* token = item->token;
    return token->code == TK_NONNUM_LIT ? DovNonnumLiteralValue(messageCallback, token->image, token->Beg())
                                        : token->image;
}

// The marker token of a statement from `beg` to `end`, with the tokens that
// stood in front of the statement.
DovTokenItem* DovLexer::NewMarker(int code, const DovTxtPosn& beg, const DovTxtPosn& end, DovTokenList& before) {
    auto* marker = new DovTokenItem(new DovToken(code, VString(), DovTxtPosnRange{beg, end}));
    marker->list.AppendList(before);
    return marker;
}

// Opens the member of a COPY, EXEC SQL INCLUDE or -INC statement as the new
// current level, whose end will yield `endKind`. When it opens, the node
// becomes the matching *_BEG node with the path and the nesting depth. What
// stops the member from opening is reported at the member's name.
bool DovLexer::EnterMember(DovExpr* node, const VString& name, int endKind) {
    VString path;
    if (!PushInput(name, endKind, path, DovSrcPosnBeg(node->Args(0)))) return false;
    node->SetOper(endKind == STMT_INLINED_INCLUDE_END ? STMT_INLINED_INCLUDE_BEG : STMT_INLINED_COPY_BEG, 0, 0);
    node->SetArg(2, new DovCharString(path));
    node->SetArg(3, new DovIntNumConst(static_cast<long long>(inputLevel - 1)));
    return true;
}

// --- Statements ---------------------------------------------------------------------

DovTokenItem* DovLexer::CopyStatement(DovTokenItem* copyItem) {
    Unreplaced unreplaced(replaceSuspended);
    auto* node = new DovExprOper(STMT_UNINLINED_COPY);
    const DovTxtPosn beg = copyItem->token->Beg();
    DovTokenList before;
    before.AppendList(copyItem->list);
    copyItem->token->code = TK_COPY;
    node->ArgSlots(0)->tokens.AppendItem(copyItem);

    DovTokenItem* item = GetCopylessWordSkippingCopy();
    if (!IsWordOrLiteral(item)) {
        Report(MSG_ERR, item->token->Beg(), "We expect file name after COPY word. Ignored");
        DropStatement(node, item, before);
        return nullptr;
    }
    VString name = MemberName(item);
    DovExpr* nameNode = MakeCopyNameNode(item);
    node->SetArg(0, nameNode);

    item = GetCopylessWordSkippingCopy();
    if (IsWord(item, "OF") || IsWord(item, "IN")) {
        nameNode->Tokens().AppendItem(item);
        item = GetCopylessWordSkippingCopy();
        if (!IsWordOrLiteral(item)) {
            Report(MSG_ERR, item->token->Beg(), "Expect library name after OF/IN word in COPY statement");
            DropStatement(node, item, before);
            return nullptr;
        }
        const VString library = MemberName(item);
        // The library names an environment variable that holds the folder.
        const char* folder = std::getenv(library.CStr());
        if (!folder) {
            Report(MSG_WARN, item->token->Beg(),
                   DovFormat("Environment variable '%s' is not defined, so library name is ignored", library.CStr()));
        } else if (*folder) {
            name = VString(folder) + "/" + name;
        }
        nameNode->Tokens().AppendItem(item);
        item = GetCopylessWordSkippingCopy();
    }
    if (IsWord(item, "SUPPRESS")) {
        node->ArgSlots(1)->tokens.AppendItem(item);
        item = GetCopylessWordSkippingCopy();
    }
    std::vector<DovReplacePhrase> phrases;
    if (IsWord(item, "REPLACING")) {
        auto* replacing = new DovExprOper(COPY_REPLACING);
        replacing->ArgSlots(0)->tokens.AppendItem(item);
        node->SetArg(1, replacing);
        DovExpr* list = nullptr;
        bool failed = false;
        item = ReadPhrases(GetCopylessWordSkippingCopy(), list, phrases, false, failed);
        if (list) replacing->SetArg(0, list);
        if (failed) {
            DropStatement(node, item, before);
            return nullptr;
        }
    }
    if (item->token->code != SEP_DOT) {
        Report(MSG_ERR, item->token->Beg(), "COPY statement should be ended with separator period. Ignored.");
        DropStatement(node, item, before);
        return nullptr;
    }
    DovTokenItem* marker = NewMarker(SEP_UNINLINED_COPY, beg, item->token->End(), before);
    node->Tokens().AppendItem(item);
    node->SetFlag(1);
    SetPending(pendingCopy, node);
    if (EnterMember(node, name, STMT_INLINED_COPY_END)) {
        if (!phrases.empty()) {
            current->replacing = new DovReplaceStage;
            current->replacing->phrases = std::move(phrases);
        }
        marker->token->code = SEP_INLINED_COPY;
    }
    return marker;
}

DovTokenItem* DovLexer::ReplaceStatement(DovTokenItem* replaceItem) {
    Unreplaced unreplaced(replaceSuspended);
    const DovTxtPosn beg = replaceItem->token->Beg();
    DovTokenList before;
    before.AppendList(replaceItem->list);
    DovTokenItem* item = GetCopylessWordSkippingCopy();

    DovExpr* node;
    if (IsWord(item, "OFF")) {
        node = new DovExprOper(STMT_REPLACE_OFF);
        node->Tokens().AppendItem(replaceItem);
        node->Tokens().AppendItem(item);
        item = GetCopylessWordSkippingCopy();
        if (item->token->code != SEP_DOT) {
            Report(MSG_ERR, item->token->Beg(),
                   "REPLACE OFF statement should be ended with separator period. Ignored.");
            DropStatement(node, item, before);
            return nullptr;
        }
        if (traceFlags & 0x04) std::cout << "##REPLACE OFF.\n";
        ClearReplacingPhrases();
    } else {
        node = new DovExprOper(STMT_REPLACE);
        node->ArgSlots(0)->tokens.AppendItem(replaceItem);
        std::vector<DovReplacePhrase> phrases;
        DovExpr* list = nullptr;
        bool failed = false;
        item = ReadPhrases(item, list, phrases, true, failed);
        if (list) node->SetArg(0, list);
        if (!failed && item->token->code != SEP_DOT) {
            Report(MSG_ERR, item->token->Beg(), "REPLACE statement should be ended with separator period. Ignored.");
            failed = true;
        }
        if (failed) {
            DropStatement(node, item, before);
            return nullptr;
        }
        // A new REPLACE ends the one in force.
        replaceStage.phrases = std::move(phrases);
    }
    DovTokenItem* marker = NewMarker(SEP_REPLACE, beg, item->token->End(), before);
    node->Tokens().AppendItem(item);
    SetPending(pendingReplace, node);
    return marker;
}

// EXEC SQL INCLUDE member END-EXEC: like a COPY of the member. Any other
// EXEC goes on as it is.
DovTokenItem* DovLexer::ExecSqlInclude(DovTokenItem* execItem) {
    DovTokenItem* sql = GetRpldTextWord();
    if (!IsWord(sql, "SQL")) {
        UngetRpldTextWord(sql);
        return execItem;
    }
    DovTokenItem* include = GetRpldTextWord();
    if (!IsWord(include, "INCLUDE")) {
        UngetRpldTextWord(include);
        UngetRpldTextWord(sql);
        return execItem;
    }

    Unreplaced unreplaced(replaceSuspended);
    const DovTxtPosn beg = execItem->token->Beg();
    DovTokenList before;
    before.AppendList(execItem->list);
    auto* node = new DovExprOper(STMT_UNINLINED_INCLUDE);
    DovTokenList& words = node->ArgSlots(0)->tokens;
    words.AppendItem(execItem);
    words.AppendItem(sql);
    words.AppendItem(include);

    DovTokenItem* item = GetCopylessWordSkippingCopy();
    if (!IsWordOrLiteral(item)) {
        Report(MSG_ERR, item->token->Beg(), "We expect file name after EXEC SQL INCLUDE. Ignored");
        DropStatement(node, item, before);
        return nullptr;
    }
    const VString name = MemberName(item);
    node->SetArg(0, MakeCopyNameNode(item));
    item = GetCopylessWordSkippingCopy();
    if (!IsWord(item, "END-EXEC")) {
        Report(MSG_ERR, item->token->Beg(), "We expect END-EXEC after file name in EXEC SQL INCLUDE. Ignored");
        DropStatement(node, item, before);
        return nullptr;
    }
    // A period written right after END-EXEC belongs to the statement.
    DovTokenItem* dot = nullptr;
    if (current && current->sepPushBack && current->sepPushBack->token->code == SEP_DOT)
        dot = TakeSlot(current->sepPushBack);
    DovTokenItem* marker = NewMarker(SEP_UNINLINED_COPY, beg, (dot ? dot : item)->token->End(), before);
    node->Tokens().AppendItem(item);
    node->Tokens().AppendItem(dot);
    node->SetFlag(1);
    SetPending(pendingInclude, node);
    if (EnterMember(node, name, STMT_INLINED_INCLUDE_END)) marker->token->code = SEP_INLINED_COPY;
    return marker;
}

// The member of a -INC line, named in the node the character layer made.
DovTokenItem* DovLexer::IncMember(DovTokenItem* item) {
    DovExpr* node = pendingInc;
    DovExpr* names = node ? node->Args(0) : nullptr;
    DovExpr* nameNode = names && names->NumArgs() > 0 ? names->Args(0) : nullptr;
    if (nameNode && !EnterMember(node, nameNode->Image(), STMT_INLINED_COPY_END))
        item->token->code = SEP_UNINLINED_COPY;
    return item;
}

// SEP_EOF of a member: the level closes and the end is marked; the main
// file's SEP_EOF passes.
DovTokenItem* DovLexer::MemberEnd(DovTokenItem* item) {
    if (inputLevel <= 1) {
        SetPending(copyEndNode, nullptr);
        return item;
    }
    VString path;
    // A member level's kind is the operation code of its end node.
    auto* node = new DovExprOper(static_cast<DovOper>(PopInput(false, path)));
    node->SetArg(0, new DovCharString(path));
    node->SetArg(1, new DovIntNumConst(static_cast<long long>(inputLevel)));
    SetPending(copyEndNode, node);
    item->token->code = SEP_COPY_EOF;
    return item;
}

DovTokenItem* DovLexer::GetCopylessTextWord() {
    DovTokenItem* out = TakeSlot(copylessPushBack);
    while (!out) {
        DovTokenItem* item = GetRpldTextWord();
        const int c = item->token->code;
        if (c == SEP_EOF) {
            out = MemberEnd(item);
        } else if (c == SEP_COPY_INC) {
            out = IncMember(item);
        } else if (c == TK_CHAR_STRING && !noteState) {
            const VString& w = item->token->image;
            if (copyRecognition && w == "COPY")
                out = CopyStatement(item);
            else if (w == "REPLACE" && !execState)
                out = ReplaceStatement(item);
            else if (w == "EXEC")
                out = ExecSqlInclude(item);
            else
                out = item;
        } else {
            out = item;
        }
        if (out && !copyCarried.IsEmpty()) out->list.PrependList(copyCarried);
    }
    Trace(0x10, "GetCopylessTextWord: ", out);
    return out;
}

void DovLexer::UnGetCopylessTextWord(DovTokenItem* item) {
    if (!item) return;
    Trace(0x10, "UnGetCopylessTextWord: ", item);
    PutSlot(copylessPushBack, item, "DovLexer::UnGetCopylessTextWord: cannot do 2nd unget");
}
