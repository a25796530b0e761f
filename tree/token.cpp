#include "tree/token.h"

#include <iostream>

#include "lbase/fast_ostream.h"
#include "lbase/tic.h"
#include "tree/keyword_table.h"

const char* DovTokenName(int code) {
    if (code < kDovFirstTokenCode || code > kDovLastTokenCode) return nullptr;
    return DovTokenNames[code - kDovFirstTokenCode];
}

namespace {

// Spelling of the separators and operators, shared by the message form and
// the text of a token; null for other codes.
const char* FixedSymbol(int code) {
    switch (code) {
        case SEP_LEFT_PAR: case ST_LEFT_PAR: return "(";
        case SEP_RIGHT_PAR: case ST_RIGHT_PAR: return ")";
        case SEP_DOT: case ST_DOT: return ".";
        case SEP_SPACE: return " ";
        case SEP_COMMA: case ST_COMMA: return ",";
        case SEP_SEMI: case ST_SEMI: return ";";
        case SEP_COLON: case ST_COLON: return ":";
        case SEP_AMPER: return "&";
        case SEP_EQEQ: return "==";
        case OP_PLUS: case ST_PLUS: return "+";
        case OP_MINUS: case ST_MINUS: return "-";
        case OP_MUL: case ST_STAR: return "*";
        case OP_DIV: case ST_SLASH: return "/";
        case OP_EXP: return "**";
        case OP_EQ: case ST_EQ: return "=";
        case OP_GT: case ST_GT: return ">";
        case OP_GE: return ">=";
        case OP_LT: case ST_LT: return "<";
        case OP_LE: return "<=";
        case ST_LEFT_BRK: return "[";
        case ST_RIGHT_BRK: return "]";
        case ST_PERC: return "%";
        case ST_QMARK: return "?";
        case ST_VERT: return "|";
        default: return nullptr;
    }
}

// Category word of words and literals in messages; null for other codes.
const char* CategoryWord(int code) {
    switch (code) {
        case TK_AREA_A_NAME: return "area-a-name ";
        case TK_NONNUM_LIT: return "nonnum-literal ";
        case TK_INT_NUM_LIT: return "num-literal ";
        case TK_REAL_NUM_LIT: return "real-num-literal ";
        case TK_PIC_CHAR_STRING: return "pic-char-string ";
        case TK_CHAR_STRING: return "char-string ";
        case TK_USER_DEFD_WORD: return "user-word ";
        case UW_SYMBOLIC_CHAR: return "symbolic-char-name ";
        case UW_SYMBOLIC_CONSTANT: return "symbolic-const-name ";
        case UW_CONSTANT_NAME: return "constant-name ";
        case UW_USER_FIG_CONST: return "figurative-const-name ";
        case ST_EXACT_NUM_LIT: return "exact-numeric-literal ";
        case ST_APPROX_NUM_LIT: return "approx-numeric-literal ";
        case ST_STR_LITER: return "string-literal ";
        case ST_IDENT: return "identifier ";
        case ST_DELIM_IDENT: return "delimited-identifier ";
        default: return nullptr;
    }
}

// Tokens whose text is their image: words, literals, preserved text and
// comments.
bool TextIsImage(int code) {
    switch (code) {
        case TK_AREA_A_NAME:
        case PRESERVED_STRING:
        case TK_NONNUM_LIT: case TK_INT_NUM_LIT: case TK_REAL_NUM_LIT: case TK_PIC_CHAR_STRING:
        case TK_CHAR_STRING: case TK_USER_DEFD_WORD:
        case TK_FUNC_NAME_NO_ARGS: case TK_FUNC_NAME_WITH_ARGS:
        case UW_SYMBOLIC_CHAR: case UW_SYMBOLIC_CONSTANT: case UW_CONSTANT_NAME: case UW_USER_FIG_CONST:
        case CM_BLANK_LINE: case CM_COMMENT: case CM_INLINE_COMMENT: case CM_PERSISTENT: case CM_LIBR_INC:
        case TK_COPY: case TK__INC:
        case RW__NOT_KEYWORD:
        case ST_EXACT_NUM_LIT: case ST_APPROX_NUM_LIT: case ST_STR_LITER: case ST_IDENT: case ST_DELIM_IDENT:
            return true;
        default:
            return false;
    }
}

// Fixed words of the tokens the parser makes from two keywords.
const char* FixedWord(int code) {
    switch (code) {
        case RW_DATA_DIVISION: return "DATA_DIVISION";
        case RW_FILE_SECTION: return "FILE_SECTION";
        case RW_INPUT_OUTPUT_SECTION: return "INPUT_OUTPUT_SECTION";
        case RW_ENVIRONMENT_DIVISION: return "ENVIRONMENT_DIVISION";
        case RW_ID_DIVISION: return "ID_DIVISION";
        case RW_END_DECLARATIVES: return "END_DECLARATIVES";
        case RW_END_PROGRAM: return "END_PROGRAM";
        case CMB_NOT_ON_AT: return "NOT";
        case CMB_ON_BEF_KWD: return "ON";
        case TK_CICS: return "CICS";
        case TK_SQL: return "SQL";
        default: return nullptr;
    }
}

VString DebugStr(const DovToken& token) {
    FastOstrstream os;
    token.Print(os);
    return VString(os);
}

}  // namespace

const char* DovKeywordWordOfCode(int code) {
    for (const KeywordEntry* e = DovKeywordTable; e->word; ++e)
        if (e->code == code) return e->word;
    return nullptr;
}

const char* DovSqlKeywordName(int code) {
    if (code < kDovSqlKeywordFirst || code > kDovSqlKeywordLast) return nullptr;
    return DovSqlKeywordNames[code - kDovSqlKeywordFirst];
}

const char* DovCicsKeywordName(int code) {
    if (code < kDovCicsKeywordFirst || code > kDovCicsKeywordLast) return nullptr;
    return DovCicsKeywordNames[code - kDovCicsKeywordFirst];
}

int DovToken::IsSeparator() const {
    return (code >= SEP_UNINLINED_COPY && code <= SEP_REPLACE) || (code >= SEP_LEFT_PAR && code <= SEP_EOF) ||
           code == TK_NONNUM_LIT;
}

int DovToken::IsBlankSeparator() const { return code == SEP_SPACE || code == SEP_COMMA || code == SEP_SEMI; }

int DovIsBlankSeparator(DovToken* token) { return token && token->IsBlankSeparator(); }

void DovToken::Print(std::ostream& os) const {
    if (code == 0) {
        os << "LEX_EOF";
    } else if (const char* name = DovTokenName(code)) {
        os << name;
    } else if (code > 0 && code <= 255) {
        os << "TokenChar '" << static_cast<char>(code) << "'";
    } else {
        os << "Token #" << std::dec << code;
    }
    if (!image.IsEmpty()) os << ' ' << image;
    if (range.beg.IsSet() || range.end.IsSet()) os << " posn=" << range;
}

std::ostream& operator<<(std::ostream& os, const DovToken& token) {
    if (const char* symbol = FixedSymbol(token.code)) return os << symbol;
    if (const char* category = CategoryWord(token.code)) return os << category << token.image;
    if (const char* word = DovKeywordWordOfCode(token.code)) return os << "keyword " << word;
    token.Print(os);
    return os;
}

VString DovTokenMsgStr(const DovToken& token) {
    FastOstrstream os;
    os << token;
    return VString(os);
}

VString DovTokenText(const DovToken& token) {
    int code = token.code;
    if (code == PRESERVED_SPACE) return VString(" ");
    if (code == ST_RIGHT_ANGLE) return VString('\xac');
    if (const char* symbol = FixedSymbol(code)) return VString(symbol);
    if (const char* word = FixedWord(code)) return VString(word);
    if (TextIsImage(code)) return token.image;
    if (const char* word = DovKeywordWordOfCode(code)) return VString(word);
    if (const char* word = DovSqlKeywordName(code)) return VString(word);
    if (const char* word = DovCicsKeywordName(code)) return VString(word);
    return DebugStr(token);
}

void DovToken::PutTic(std::ostream& os) const {
    os << 'T' << std::dec << code << ',';
    image.PutTicCounted(os);
    range.PutTic(os);
}

char DovToken::GetTic(std::istream& is, VString& message) {
    int c = is.get();
    if (c != 'T') {
        message = c == std::char_traits<char>::eof()
                      ? VString("DovToken::GetTic: 'T' is expected, found the end of the input")
                      : DovFormat("DovToken::GetTic: 'T' is expected, found '%c'", c);
        if (c == std::char_traits<char>::eof()) is.clear(is.rdstate() & ~std::ios::failbit);
        return TIC_BAD_FORMAT;
    }
    int value = 0;
    if (char r = GetTicIntNo(is, value, false, ',', message)) return r;
    // The code is a 16-bit field: a larger number would come back as another
    // token.
    if (value > INT16_MAX) {
        message = DovFormat("DovToken::GetTic: token code %d is out of range", value);
        return TIC_BAD_INT;
    }
    code = static_cast<std::int16_t>(value);
    if (char r = image.GetTicCounted(is, message)) return r;
    return range.GetTic(is, message);
}

DovTokenList::DovTokenList(const DovTokenList& other) { Assign(other); }

DovTokenList& DovTokenList::operator=(const DovTokenList& other) {
    std::cout << "=== &DovTokenList::operator = (const DovTokenList &tl)\n";
    return Assign(other);
}

DovTokenList& DovTokenList::Assign(const DovTokenList& other) {
    // Clearing first would empty `other` too when it is this list.
    if (&other == this) return *this;
    Clear();
    for (const DovToken* t : other) LinkLast(new DovToken(*t));
    return *this;
}

void DovTokenList::Clear() {
    for (DovToken* t = TakeChain(); t;) {
        DovToken* next = t->next_;
        delete t;
        t = next;
    }
}

DovToken* DovTokenList::TakeChain() {
    if (!last_) return nullptr;
    DovToken* first = last_->next_;
    last_->next_ = nullptr;
    last_ = nullptr;
    return first;
}

void DovTokenList::LinkFirst(DovToken* token) {
    if (last_) {
        token->next_ = last_->next_;
        last_->next_ = token;
    } else {
        token->next_ = token;
        last_ = token;
    }
}

void DovTokenList::LinkLast(DovToken* token) {
    LinkFirst(token);
    last_ = token;
}

void DovTokenList::SpliceIn(DovTokenList& other) {
    if (last_) {
        DovToken* first = last_->next_;
        last_->next_ = other.last_->next_;
        other.last_->next_ = first;
    } else {
        last_ = other.last_;
    }
    other.last_ = nullptr;
}

void DovTokenList::AppendToken(DovToken*& token) {
    if (!token) return;
    LinkLast(token);
    token = nullptr;
}

void DovTokenList::PushFront(DovToken*& token) {
    if (!token) return;
    LinkFirst(token);
    token = nullptr;
}

void DovTokenList::AppendList(DovTokenList& other) {
    // A list appended to itself would lose its ring.
    if (&other == this || !other.last_) return;
    DovToken* other_last = other.last_;
    SpliceIn(other);
    last_ = other_last;
}

void DovTokenList::PrependList(DovTokenList& other) {
    if (&other == this || !other.last_) return;
    SpliceIn(other);
}

void DovTokenList::AppendItem(DovTokenItem* item) {
    if (!item) return;
    AppendList(item->list);
    AppendToken(item->token);
    delete item;
}

void DovTokenList::AppendItemDropToken(DovTokenItem* item) {
    if (!item) return;
    AppendList(item->list);
    delete item;  // deletes its token
}

DovToken* DovTokenList::FirstSignificant() const {
    for (DovToken* t : *this)
        if (t->code != SEP_SPACE && t->code != SEP_COMMA && t->code != SEP_SEMI && t->code != CM_COMMENT)
            return t;
    return nullptr;
}

DovToken* DovTokenList::Last() const { return last_; }

DovToken* DovTokenList::PopFront() {
    if (!last_) return nullptr;
    DovToken* t = last_->next_;
    if (t == last_)
        last_ = nullptr;
    else
        last_->next_ = t->next_;
    t->next_ = nullptr;
    return t;
}

DovToken* DovTokenList::PopBack() {
    if (!last_) return nullptr;
    DovToken* t = last_;
    DovToken* prev = t->next_;
    while (prev->next_ != t) prev = prev->next_;
    if (prev == t) {
        last_ = nullptr;
    } else {
        prev->next_ = t->next_;
        last_ = prev;
    }
    t->next_ = nullptr;
    return t;
}

void DovTokenList::RemoveIf(int (*pred)(DovToken*)) {
    for (DovToken* t = TakeChain(); t;) {
        DovToken* next = t->next_;
        if (pred(t))
            delete t;
        else
            LinkLast(t);
        t = next;
    }
}

void DovTokenList::MoveImagesTo(VStringList& list) {
    for (const DovToken* t : *this)
        list.Append(t->image);
    Clear();
}

void DovTokenList::AddNewToken(int code, const DovTxtPosn& posn, const VString& text) {
    auto* token = new DovToken(code, text, DovTxtPosnRange{posn, posn});
    AppendToken(token);
}

DovTxtPosnRange DovTokenList::PosnRange() const {
    DovTxtPosnRange range;
    WidenPosnRange(range);
    return range;
}

void DovTokenList::WidenPosnRange(DovTxtPosnRange& range) const {
    for (const DovToken* t : *this) {
        if (range.beg.IsNull() && t->range.beg.IsSet()) range.beg = t->range.beg;
        if (t->range.end.IsSet()) range.end = t->range.end;
    }
}

int DovTokenList::HasUnplacedToken() const {
    for (const DovToken* t : *this) {
        if (t->code != CM_COMMENT && (t->range.beg.IsNull() || t->range.end.IsNull())) return 1;
    }
    return 0;
}

void DovTokenList::Print(std::ostream& os) const {
    os << '{';
    bool first = true;
    for (const DovToken* t : *this) {
        if (!first) os << ", ";
        first = false;
        t->Print(os);
    }
    os << '}';
}

std::ostream& operator<<(std::ostream& os, const DovTokenList& list) {
    os << '{';
    bool first = true;
    for (const DovToken* t : list) {
        if (!first) os << ", ";
        first = false;
        os << *t;
    }
    return os << '}';
}

void DovTokenList::PutTic(std::ostream& os) const {
    for (const DovToken* t : *this) {
        os << '-';
        t->PutTic(os);
    }
    os << '#';
}

char DovTokenList::GetTic(std::istream& is, VString& message) {
    while (is.peek() == '-') {
        is.get();
        auto* token = new DovToken;
        if (char r = token->GetTic(is, message)) {
            delete token;
            return r;
        }
        LinkLast(token);
    }
    int c = is.get();
    if (c != '#') {
        if (c == std::char_traits<char>::eof()) is.clear(is.rdstate() & ~std::ios::failbit);
        message = "DovTokenList::GetTic: '#' is expected";
        return TIC_BAD_FORMAT;
    }
    return TIC_OK;
}

void DovTokenItem::Print(std::ostream& os) const {
    if (token)
        token->Print(os);
    else
        os << "-(NULL)-";
    os << ", ";
    list.Print(os);
}

std::ostream& operator<<(std::ostream& os, const DovTokenItem& item) {
    if (item.token)
        os << *item.token;
    else
        os << "-(NULL)-";
    return os << ", " << item.list;
}
