// Text words: character strings that touch are joined (a picture string with
// its parentheses), and where separators need no space, or inside EXEC SQL,
// words are split again at operator characters.
#include <cstring>
#include <string>
#include <utility>

#include "lexer/lexer_object.h"
#include "tree/expr.h"

namespace {

bool IsCopyMarker(int code) {
    return code == SEP_UNINLINED_COPY || code == SEP_INLINED_COPY || code == SEP_COPY_INC || code == SEP_REPLACE;
}

// Nothing but comments stands between the item and the word before it, and
// text that COPY ... REPLACING or REPLACE replaced, which leaves no gap.
bool Touches(const DovTokenItem* item) {
    for (const DovToken* t : item->list)
        if (t->IsBlankSeparator() && !t->inReplacedText) return false;
    return true;
}

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

// A period inside a word, after a letter or digit and before a letter, in a
// word that holds a letter before it ("PRINT-REC.PERFORM"): the period ends
// the sentence and the next word begins there, as if a space followed it.
// Numbers ("1.5") have no letter before their point; picture strings are
// never split.
bool IsInnerPeriod(const char* word, int at, int length) {
    if (at <= 0 || at + 1 >= length || word[at] != '.' || !IsLetter(word[at + 1])) return false;
    const char before = word[at - 1];
    if (!IsLetter(before) && !(before >= '0' && before <= '9')) return false;
    for (int i = 0; i < at; ++i)
        if (IsLetter(word[i])) return true;
    return false;
}

bool HasInnerPeriod(const VString& word) {
    const char* p = word.CStr();
    const int n = word.Len();
    // Only the periods need the full test; most words have none.
    for (const char* dot = n > 2 ? static_cast<const char*>(std::memchr(p + 1, '.', n - 2)) : nullptr; dot;
         dot = static_cast<const char*>(std::memchr(dot + 1, '.', p + n - 1 - (dot + 1))))
        if (IsInnerPeriod(p, static_cast<int>(dot - p), n)) return true;
    return false;
}

bool IsTokenCode(DovExpr* node, int code) {
    if (!node) return false;
    const DovToken* first = node->LeadingTokens()->First();
    return first && first->code == code;
}

}  // namespace

DovTokenItem* DovLexer::GetTextWord() {
    DovTokenList carried;
    DovTokenItem* result = nullptr;
    while (!result) {
        DovTokenItem* item = GetCopylessTextWord();
        const int code = item->token->code;
        if (code == TK_CHAR_STRING) {
            // The text is built only when a word joins on; a word alone
            // keeps its image.
            std::string text;
            bool joined = false;
            bool reported = false;
            for (;;) {
                DovTokenItem* next = GetCopylessTextWord();
                const int n = next->token->code;
                const bool joins =
                    Touches(next) && (n == TK_CHAR_STRING ||
                                      (picSeen && (n == SEP_LEFT_PAR || n == SEP_RIGHT_PAR || n == SEP_COMMA)));
                if (!joins) {
                    UnGetCopylessTextWord(next);
                    break;
                }
                const std::string piece = n == TK_CHAR_STRING
                                              ? std::string(next->token->image.CStr(), next->token->image.Len())
                                              : std::string(DovTokenText(*next->token).CStr(), 1);
                if (!joined) {
                    text.assign(item->token->image.CStr(), item->token->image.Len());
                    joined = true;
                }
                if (!reported && text.size() + piece.size() > kDovMaxRawWord) {
                    Report(MSG_ERR, next->token->Beg(),
                           DovFormat("DovLexer::GetTextWord: text-word '%s...' is too long. Truncated", text.c_str()));
                    reported = true;
                }
                if (!reported) text += piece;
                item->token->range.end = next->token->End();
                carried.AppendItemDropToken(next);
            }
            if (joined || item->token->image.IsEmpty())
                item->token->image = VString(text.data(), static_cast<int>(text.size()));
            result = item;
        } else if (!execState && !noteState && code == SEP_SPACE) {
            carried.AppendItemDropToken(item);
        } else if (!execState && !noteState && (code == SEP_COMMA || code == SEP_SEMI)) {
            carried.AppendItem(item);
        } else {
            result = item;
        }
    }

    if (IsCopyMarker(result->token->code)) {
        // The tokens in front of a COPY or REPLACE statement belong to its
        // node; the marker goes on without them.
        DovExpr* node = nullptr;
        if (IsTokenCode(pendingCopy, TK_COPY))
            node = pendingCopy;
        else if (pendingInclude)
            node = pendingInclude;
        else if (IsTokenCode(pendingInc, TK__INC))
            node = pendingInc;
        else if (pendingReplace)
            node = pendingReplace;
        if (node) {
            DovTokenList* leading = node->LeadingTokens();
            leading->PrependList(result->list);
            leading->PrependList(carried);
        }
    }
    if (!carried.IsEmpty()) result->list.PrependList(carried);
    Trace(0x10, "GetTextWord: ", result);
    return result;
}

bool DovLexer::IsWordBreak(const char* c) const {
    switch (c[0]) {
        case '*': case '+': case '/': case ';': case '<': case '=': case '>':
            return true;
        case ',':
            return (sepSpaceRequired == 0 && decimalPoint != ',') || execSql;
        case '.':
            return execSql && !(c[1] >= '0' && c[1] <= '9');
        default:
            return false;
    }
}

// Where the word being split breaks: at its operator characters when it is
// split at them, and outside EXEC SQL at an inner period.
bool DovLexer::IsFragmentBreak(const char* word, int at, int length) const {
    if (brokenAtOperators && IsWordBreak(word + at)) return true;
    return !execSql && IsInnerPeriod(word, at, length);
}

// The next fragment of the word being split: its offset and length, or false
// when the word has no more.
bool DovLexer::NextFragment(int& offset, int& length) {
    const char* p = brokenWord.CStr();
    const int n = brokenWord.Len();
    for (;;) {
        const int i = brokenIndex;
        if (i >= n) return false;
        int end;
        if (i == 0 && brokenAtOperators && (p[0] == '-' || p[0] == '+')) {
            // A sign before a letter is an operator; before anything else it
            // starts a number.
            end = 1;
            if (!(n > 1 && p[1] >= 'A' && p[1] <= 'Z'))
                while (end < n && !IsFragmentBreak(p, end, n)) ++end;
        } else if (IsFragmentBreak(p, i, n)) {
            if ((p[i] == ',' || p[i] == ';') && !execState && !noteState) {
                ++brokenIndex;
                continue;
            }
            end = i + 1;
        } else {
            end = i + 1;
            while (end < n && !IsFragmentBreak(p, end, n)) ++end;
        }
        offset = i;
        length = end - i;
        brokenIndex = end;
        return true;
    }
}

// The place of a fragment of the word being split: shifted by its offset on
// the word's line, or the word's own place when that is not known.
DovTxtPosnRange DovLexer::FragmentRange(int offset, int length) const {
    if (!brokenBeg.IsSet() || !brokenEnd.IsSet()) return DovTxtPosnRange{brokenBeg, brokenEnd};
    const std::uint32_t column = brokenBeg.Column() + static_cast<std::uint32_t>(offset);
    return DovTxtPosnRange{DovTxtPosn(brokenBeg.Line(), column, brokenBeg.FileIndex()),
                           DovTxtPosn(brokenBeg.Line(), column + static_cast<std::uint32_t>(length),
                                      brokenBeg.FileIndex())};
}

DovTokenItem* DovLexer::GetBrokenTextWord() {
    DovTokenList carried;
    DovTokenItem* result = nullptr;
    int offset = 0, length = 0;
    if (brokenIndex < brokenWord.Len() && NextFragment(offset, length)) {
        // A later fragment: a word of its own, placed by its offset; an
        // inner period is a separator period.
        if (!execSql && length == 1 && brokenWord.CStr()[offset] == '.')
            result = new DovTokenItem(new DovToken(SEP_DOT, VString(), FragmentRange(offset, length)));
        else
            result = new DovTokenItem(new DovToken(TK_CHAR_STRING, VString(brokenWord.CStr() + offset, length),
                                                   FragmentRange(offset, length)));
    }
    while (!result) {
        if (brokenWord.Ptr()) brokenWord = VString();
        brokenIndex = 0;
        DovTokenItem* word = GetTextWord();
        const bool atOperators = sepSpaceRequired == 0 || execSql;
        if (word->token->code == TK_CHAR_STRING && !picSeen &&
            (atOperators || (!execState && !noteState && HasInnerPeriod(word->token->image)))) {
            brokenAtOperators = atOperators;
            // The word's text moves over for the split; a word that stays
            // whole gets it back, and nothing remains to split.
            brokenWord = std::move(word->token->image);
            brokenBeg = word->token->Beg();
            brokenEnd = word->token->End();
            if (!NextFragment(offset, length)) {
                // Only commas and semicolons: nothing to deliver.
                carried.AppendItemDropToken(word);
                continue;
            }
            // The first fragment keeps the word's item.
            if (length == brokenWord.Len()) {
                word->token->image = std::move(brokenWord);
                brokenIndex = 0;
            } else {
                word->token->image = VString(brokenWord.CStr() + offset, length);
                if (brokenBeg.IsSet() && brokenEnd.IsSet()) word->token->range = FragmentRange(offset, length);
            }
        }
        result = word;
    }
    if (!carried.IsEmpty()) result->list.PrependList(carried);
    Trace(0x10, "GetBrokenTextWord: ", result);
    return result;
}
