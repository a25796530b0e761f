// Tokens and token lists. A token is one lexical token of the source (code,
// image, position range); the same record carries messages, with a severity
// as its code and the message text as its image. Every node and argument slot
// of the tree holds a token list with the separators and comments in front of
// it, so that every character of the source reaches the tree.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "lbase/small_blocks.h"
#include "lbase/txtposn.h"
#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
#include "tree/token_codes.h"

class DovToken {
public:
    DovToken() = default;
    DovToken(int code, const VString& image, const DovTxtPosnRange& range = {})
        : code(static_cast<std::int16_t>(code)), image(image), range(range) {}
    // A copy is in no list; assigning to a token keeps its place in its list.
    DovToken(const DovToken& other)
        : code(other.code), inReplacedText(other.inReplacedText), image(other.image), range(other.range) {}
    DovToken& operator=(const DovToken& other) {
        code = other.code;
        inReplacedText = other.inReplacedText;
        image = other.image;
        range = other.range;
        return *this;
    }
    // Not virtual: nothing derives from a token, and without a table pointer
    // a token takes 48 bytes, not 56.
    ~DovToken() = default;

    // 1 for the separators SEP_UNINLINED_COPY..SEP_REPLACE, SEP_LEFT_PAR..SEP_EOF
    // and TK_NONNUM_LIT; 0 otherwise.
    int IsSeparator() const;
    // 1 for SEP_SPACE, SEP_COMMA and SEP_SEMI.
    int IsBlankSeparator() const;

    // Debug form: the token's name, its image and its range when placed.
    void Print(std::ostream& os) const;

    // TIC form: T<code>,<image as counted string><range>.
    void PutTic(std::ostream& os) const;
    char GetTic(std::istream& is, VString& message);

    const DovTxtPosn& Beg() const { return range.beg; }
    const DovTxtPosn& End() const { return range.end; }

    VEMLO_SMALL_BLOCK_OPERATORS

    std::int16_t code = 0;
    // A blank or separator that stands inside text COPY ... REPLACING or
    // REPLACE replaced (a blank run over a word replaced by nothing, or one
    // between the words of a longer text): the text around the replaced text
    // joins across it as if it had never been there. Set and read by the
    // lexer only; the TIC form does not carry it.
    bool inReplacedText = false;
    VString image;
    DovTxtPosnRange range;

private:
    friend class DovTokenList;
    // The next token of the list that owns this one (see DovTokenList).
    DovToken* next_ = nullptr;
};

// The test of DovToken::IsBlankSeparator as a free predicate for RemoveIf.
int DovIsBlankSeparator(DovToken* token);

// Message form: separators and operators as their symbol, words and literals
// as a category word and the image, keywords as "keyword " and the word;
// anything else in its debug form.
std::ostream& operator<<(std::ostream& os, const DovToken& token);
VString DovTokenMsgStr(const DovToken& token);

// The text of a token where tokens are compared or rebuilt as text: the
// spelling of separators and operators, the image of words and literals, the
// word of keywords.
VString DovTokenText(const DovToken& token);

class DovTokenItem;

// A singly linked list of owned tokens in source order, kept as a ring: the
// one field points at the last token, whose link leads back to the first.
// The links live in the tokens themselves (a token is owned by one list at
// a time), so a token costs one block, and every node and slot pays one
// word for its list; appending, prepending and reading either end cost the
// same whatever the length.
class DovTokenList {
public:
    DovTokenList() = default;
    // Lists made on their own (the parser's positions) come from
    // DovSmallBlocks.
    VEMLO_SMALL_BLOCK_OPERATORS
    DovTokenList(const DovTokenList& other);
    // Also announces itself on standard output: whole lists are not meant to
    // be copied by assignment in the library; Assign does it quietly.
    DovTokenList& operator=(const DovTokenList& other);
    ~DovTokenList() {
        if (last_) Clear();
    }

    DovTokenList& Assign(const DovTokenList& other);
    // Deletes every token.
    void Clear();
    bool IsEmpty() const { return last_ == nullptr; }
    // The first token, or null for an empty list.
    DovToken* First() const { return last_ ? last_->next_ : nullptr; }

    // Iteration over the tokens in order.
    class Iterator {
    public:
        // The end of every list.
        Iterator() = default;
        Iterator(DovToken* token, DovToken* last) : token_(token), last_(last) {}
        DovToken* operator*() const { return token_; }
        Iterator& operator++() {
            token_ = token_ == last_ ? nullptr : token_->next_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return token_ != other.token_; }

    private:
        DovToken* token_ = nullptr;
        DovToken* last_ = nullptr;
    };
    Iterator begin() const { return Iterator(last_ ? last_->next_ : nullptr, last_); }
    Iterator end() const { return Iterator(); }

    // Take the token; the caller's pointer becomes null. A null token adds
    // nothing.
    void AppendToken(DovToken*& token);
    void PushFront(DovToken*& token);
    // Relink every token of `other` behind (in front of) this list's tokens;
    // `other` becomes empty.
    void AppendList(DovTokenList& other);
    void PrependList(DovTokenList& other);
    // Relinks the item's kept tokens, then its token, and frees the item.
    void AppendItem(DovTokenItem* item);
    // Relinks the item's kept tokens, deletes its token and frees the item.
    void AppendItemDropToken(DovTokenItem* item);

    // The first token that is no blank, comma, semicolon or comment; null if
    // none.
    DovToken* FirstSignificant() const;
    DovToken* Last() const;
    // Unlink the first (last) token and hand it to the caller; null for
    // an empty list.
    DovToken* PopFront();
    DovToken* PopBack();
    // Deletes every token the predicate holds for; the rest keep their order.
    void RemoveIf(int (*pred)(DovToken*));
    void RemoveBlankSeparators() { RemoveIf(DovIsBlankSeparator); }
    // Appends every image, in order, to `list`, then clears this list.
    void MoveImagesTo(VStringList& list);
    // Queues a message (or any token): `code`, a copy of `text`, placed at
    // `posn` from begin to end.
    void AddNewToken(int code, const DovTxtPosn& posn, const VString& text);

    DovTxtPosnRange PosnRange() const;
    // Takes the first placed begin while `range` has none, and the last placed
    // end.
    void WidenPosnRange(DovTxtPosnRange& range) const;
    // 1 when a token other than a comment lacks its begin or end position.
    int HasUnplacedToken() const;

    // Debug form "{tok, tok}".
    void Print(std::ostream& os) const;

    // TIC form: "-" and the token for every token, then "#".
    void PutTic(std::ostream& os) const;
    char GetTic(std::istream& is, VString& message);

private:
    // Links `token` in behind the last token, as the first (LinkFirst) or
    // the last (LinkLast) of the ring.
    void LinkFirst(DovToken* token);
    void LinkLast(DovToken* token);
    // Empties the list and hands its tokens over as a chain ending in null.
    DovToken* TakeChain();
    // Takes the tokens of `other` into the ring in front of this list's
    // first token; `other` becomes empty.
    void SpliceIn(DovTokenList& other);

    DovToken* last_ = nullptr;
};

// Message form "{tok, tok}".
std::ostream& operator<<(std::ostream& os, const DovTokenList& list);

// What the lexer hands on: a token and the tokens that stood in front of it
// (comments, blanks). The item owns both until a list takes them.
class DovTokenItem {
public:
    DovTokenItem() = default;
    explicit DovTokenItem(DovToken* token) : token(token) {}
    DovTokenItem(const DovTokenItem&) = delete;
    DovTokenItem& operator=(const DovTokenItem&) = delete;
    ~DovTokenItem() { delete token; }

    // The token's debug form, ", " and the kept list's debug form.
    void Print(std::ostream& os) const;

    VEMLO_SMALL_BLOCK_OPERATORS

    DovToken* token = nullptr;
    DovTokenList list;
};

// The token's message form, ", {", the kept tokens' message forms, "}".
std::ostream& operator<<(std::ostream& os, const DovTokenItem& item);
