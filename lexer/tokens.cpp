// The token layer: each word is classified for the grammar (reserved words,
// operators, numbers, picture strings, intrinsic function names, user-defined
// words); NOTE paragraphs and EXEC ... END-EXEC blocks have states of their
// own, with the SQL and CICS words classified by their own tables and the
// words of other subsystems handed to the EXEC-token callback.
#include <cstring>

#include "lexer/keywords.h"
#include "lexer/lexer_object.h"

namespace {

struct NamedCode {
    const char* word;
    int code;
};

const NamedCode kOperators[] = {
    {"+", OP_PLUS}, {"-", OP_MINUS}, {"*", OP_MUL}, {"**", OP_EXP}, {"/", OP_DIV}, {"=", OP_EQ},
    {">", OP_GT},   {">=", OP_GE},   {"<", OP_LT},  {"<=", OP_LE},  {"<>", OP_NE},
};

const NamedCode kSqlOperators[] = {
    {"\xac", ST_RIGHT_ANGLE}, {"[", ST_LEFT_BRK}, {"]", ST_RIGHT_BRK}, {",", ST_COMMA}, {".", ST_DOT},
    {":", ST_COLON},          {";", ST_SEMI},     {"+", ST_PLUS},      {"-", ST_MINUS}, {"*", ST_STAR},
    {"/", ST_SLASH},          {"%", ST_PERC},     {"?", ST_QMARK},     {"|", ST_VERT},  {"=", ST_EQ},
    {">", ST_GT},             {"<", ST_LT},
};

// Intrinsic functions and their arguments: 0 none, 1 or 2 a fixed number,
// -1 a list, -2 optional.
const NamedCode kIntrinsics[] = {
    {"ACOS", 1},
    {"ANNUITY", 1},
    {"ASIN", 1},
    {"ATAN", 1},
    {"CHAR", 1},
    {"COS", 1},
    {"CURRENT-DATE", 0},
    {"DATE-OF-INTEGER", 1},
    {"DAY-OF-INTEGER", 1},
    {"FACTORIAL", 1},
    {"INTEGER", 1},
    {"INTEGER-OF-DATE", 1},
    {"INTEGER-OF-DAY", 1},
    {"INTEGER-PART", 1},
    {"LENGTH", 1},
    {"LOG", 1},
    {"LOG10", 1},
    {"LOWER-CASE", 1},
    {"MAX", -1},
    {"MEAN", -1},
    {"MEDIAN", -1},
    {"MIDRANGE", -1},
    {"MIN", -1},
    {"MOD", 2},
    {"NUMVAL", 1},
    {"NUMVAL-C", 1},
    {"ORD", 1},
    {"ORD-MAX", -1},
    {"ORD-MIN", -1},
    {"PRESENT-VALUE", -1},
    {"RANDOM", -2},
    {"RANGE", -1},
    {"REM", 2},
    {"REVERSE", 1},
    {"SIN", 1},
    {"SQRT", 1},
    {"STANDARD-DEVIATION", -1},
    {"SUM", -1},
    {"TAN", 1},
    {"UPPER-CASE", 1},
    {"VARIANCE", -1},
    {"WHEN-COMPILED", 0},
};

const NamedCode* Find(const NamedCode* table, std::size_t count, const VString& word) {
    if (static_cast<std::size_t>(word.Len()) != std::strlen(word.CStr())) return nullptr;
    // The first characters sort out nearly every entry without a full
    // comparison (the table words are never empty).
    const char first = word.CStr()[0];
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].word[0] == first && word == table[i].word) return &table[i];
    return nullptr;
}

template <std::size_t N>
const NamedCode* Find(const NamedCode (&table)[N], const VString& word) {
    return Find(table, N, word);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a word can be one of kOperators: one or two characters, the first
// an operator character. Nearly every word is told apart here.
bool MayBeOperator(const VString& word) {
    if (word.Len() == 0 || word.Len() > 2) return false;
    switch (word.CStr()[0]) {
        case '+': case '-': case '*': case '/': case '=': case '>': case '<':
            return true;
        default:
            return false;
    }
}

// Letters and digits, the characters of a word that need no further test.
struct WordLetterTable {
    bool alnum[256];
    constexpr WordLetterTable() : alnum() {
        for (int c = 'A'; c <= 'Z'; ++c) alnum[c] = alnum[c - 'A' + 'a'] = true;
        for (int c = '0'; c <= '9'; ++c) alnum[c] = true;
    }
};
constexpr WordLetterTable kWordLetters;

}  // namespace

// The number test: digits, one decimal point (not in the exponent), a sign
// first or right after E, one E after a digit. 0 when the word is no number
// (or, with `longRunIsWord`, a plain run of more than 18 digits, which is a
// word such as a paragraph name); else `realCode` with a decimal point,
// `intCode` without.
int DovLexer::NumberCode(DovToken* token, bool longRunIsWord, int intCode, int realCode) {
    const char* p = token->image.CStr();
    const int n = token->image.Len();
    if (n == 0) return 0;
    bool point = false, exponent = false, sign = false;
    int mantissa = 0;  // digits before any exponent
    for (int i = 0; i < n; ++i) {
        const char c = p[i];
        if (c == static_cast<char>(decimalPoint)) {
            if (point || exponent) return 0;
            point = true;
        } else if (c == '+' || c == '-') {
            if (i == 0)
                sign = true;
            else if (p[i - 1] != 'E')
                return 0;
        } else if (IsDigit(c)) {
            if (!exponent) ++mantissa;
        } else if (c == 'E') {
            if (exponent || mantissa == 0) return 0;
            exponent = true;
        } else {
            return 0;
        }
    }
    if (mantissa > kDovMaxNumericDigits && longRunIsWord && !sign && !point && !exponent) return 0;
    // An exponent needs a digit before it: no mantissa digit means no digit.
    CheckDigits(token, mantissa);
    return point ? realCode : intCode;
}

// The limits of a numeric literal with `digits` digits (before any exponent).
void DovLexer::CheckDigits(const DovToken* token, int digits) {
    if (digits > kDovMaxNumericDigits)
        Report(MSG_ERR, token->Beg(),
               DovFormat("Numeric literal '%s' longer than %d digits.", token->image.CStr(), kDovMaxNumericDigits));
    if (digits == 0)
        Report(MSG_ERR, token->Beg(),
               DovFormat("Numeric literal '%s' does not contain digits. Set to zero", token->image.CStr()));
}

// Letters, digits, and '-' (inside EXEC SQL also '_') neither first nor last;
// '?' inside EXEC SQL under ICOBOL. Anything else is reported and the token
// becomes a user-defined word.
bool DovLexer::LegalWord(DovToken* token, bool sql) {
    const VString& word = token->image;
    const int n = word.Len();
    bool legal = n > 0;
    const char* p = word.CStr();
    for (int i = 0; legal; ++i) {
        // Runs of letters and digits pass without further tests.
        while (i < n && kWordLetters.alnum[static_cast<unsigned char>(p[i])]) ++i;
        if (i >= n) break;
        const char c = p[i];
        if (c == '-' || (sql && c == '_'))
            legal = i != 0 && i != n - 1;
        else
            legal = sql && c == '?' && Has(DIAL_ICOBOL);
    }
    if (!legal) {
        Report(MSG_ERR, token->Beg(), DovFormat("Not a legal COBOL word, number or operation: '%s'.", word.CStr()));
        token->code = TK_USER_DEFD_WORD;
    }
    return legal;
}

// A word outside EXEC and NOTE (EXEC, EXECUTE and NOTE are handled by the
// caller).
void DovLexer::ClassifyWord(DovToken* token) {
    VString& word = token->image;
    int code = 0;
    if (picSeen) {
        if (word == "IS") {
            token->code = RW_IS;
            word = VString();
        } else {
            token->code = TK_PIC_CHAR_STRING;
            picSeen = 0;
        }
        return;
    }
    if (const NamedCode* op = MayBeOperator(word) ? Find(kOperators, word) : nullptr) {
        token->code = static_cast<std::int16_t>(op->code);
        word = VString();
        return;
    }
    // A word that starts with a letter is no number (an 'E' first has no
    // digit before it).
    const char first = word.CStr()[0];
    const bool letterFirst = ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) &&
                             first != static_cast<char>(decimalPoint);
    code = letterFirst ? 0 : NumberCode(token, true, TK_INT_NUM_LIT, TK_REAL_NUM_LIT);
    if (code) {
        token->code = static_cast<std::int16_t>(code);
        return;
    }
    if (!LegalWord(token, false)) return;
    // The word after FUNCTION and the name after PROGRAM-ID are never
    // reserved words; context keywords count inside ACCEPT and DISPLAY and
    // for the recording mode.
    const bool functionName = modes.functionName != 0;
    const bool reserved = reservedCheck && !functionName && !modes.programName;
    const bool extra = extraKeywords || modes.acceptDisplay || modes.recordingMode;
    if (const KeywordEntry* entry = DovReservedKeyword(word, dials.word, reserved, extra)) {
        code = entry->code;
        word = VString();
    } else if (intrinsicNames || functionName) {
        const NamedCode* function = Find(kIntrinsics, word);
        if (!function) {
            Report(MSG_ERR, token->Beg(), DovFormat("Not a legal intrinsic function name: '%s'", word.CStr()));
            code = TK_CHAR_STRING;
        } else if (function->code == 0) {
            code = TK_FUNC_NAME_NO_ARGS;
        } else if (function->code == -2) {
            code = TK_CHAR_STRING;
        } else {
            code = TK_FUNC_NAME_WITH_ARGS;
        }
    } else {
        code = TK_USER_DEFD_WORD;
        const int longest = Has(DIAL_MF) ? kDovMaxUserWordMf : kDovMaxUserWord;
        if (word.Len() > longest)
            Report(MSG_ERR, token->Beg(),
                   DovFormat("User defined word '%s' is longer than %d characters.", word.CStr(), longest));
    }
    token->code = static_cast<std::int16_t>(code);
    if (code == RW_PIC || code == RW_PICTURE) picSeen = 1;
}

// SQL's "--" comments run to the end of their line: the words of such a
// line become comment tokens kept in front of the next real token. True
// when the item was taken that way.
bool DovLexer::SqlComment(DovTokenItem* item, DovTokenList& carried) {
    DovToken* token = item->token;
    const DovTxtPosn at = token->Beg();
    bool starts = token->code == TK_CHAR_STRING && token->image.StartsWith("--");
    bool goes_on = sqlCommentAt.IsSet() && at.FileIndex() == sqlCommentAt.FileIndex() &&
                   at.Line() == sqlCommentAt.Line() && token->code != SEP_EOF;
    if (!starts && !goes_on) {
        sqlCommentAt = DovNullPosn;
        return false;
    }
    if (starts) sqlCommentAt = at;
    if (token->code != SEP_SPACE) token->code = CM_INLINE_COMMENT;
    carried.AppendItem(item);
    return true;
}

// A word inside EXEC SQL. False when the item was left out (a blank); its
// tokens then wait in `carried`.
bool DovLexer::ClassifySql(DovTokenItem* item, DovTokenList& carried) {
    DovToken* token = item->token;
    switch (token->code) {
        case SEP_UNINLINED_COPY: case SEP_INLINED_COPY: case SEP_COPY_INC: case SEP_COPY_EOF:
        case SEP_EQEQ: case SEP_EOF:
            return true;
        case SEP_REPLACE: token->code = STK_REPLACE; return true;
        case SEP_LEFT_PAR: token->code = ST_LEFT_PAR; return true;
        case SEP_RIGHT_PAR: token->code = ST_RIGHT_PAR; return true;
        case SEP_DOT: token->code = ST_DOT; return true;
        case SEP_COMMA: token->code = ST_COMMA; return true;
        case SEP_SEMI: token->code = ST_SEMI; return true;
        case SEP_COLON: token->code = ST_COLON; return true;
        case SEP_SPACE:
            carried.AppendItemDropToken(item);
            return false;
        case TK_NONNUM_LIT:
            token->code = token->image.CStr()[0] == '"' ? ST_IDENT : ST_STR_LITER;
            return true;
        case TK_CHAR_STRING: {
            // The not sign also comes as its two UTF-8 bytes (C2 AC) from
            // sources saved as UTF-8.
            if (token->image == "\xc2\xac") token->image = VString("\xac");
            if (token->image.Len() == 1) {
                if (const NamedCode* op = Find(kSqlOperators, token->image)) {
                    token->code = static_cast<std::int16_t>(op->code);
                    token->image = VString();
                    return true;
                }
            }
            if (int code = NumberCode(token, false, ST_EXACT_NUM_LIT, ST_APPROX_NUM_LIT)) {
                token->code = static_cast<std::int16_t>(code);
                return true;
            }
            if (!LegalWord(token, true)) return true;
            if (int code = DovFindSqlKeyword(token->image)) {
                token->code = static_cast<std::int16_t>(code);
                token->image = VString();
                return true;
            }
            token->code = ST_IDENT;
            return true;
        }
        default:
            Report(MSG_SEVERE, token->Beg(), "DovLexer::GetToken: GetBrokenTextWord() returned bad token");
            return true;
    }
}

// A word inside EXEC CICS. False when the item was left out of the stream.
bool DovLexer::ClassifyCics(DovTokenItem* item, DovTokenList& carried) {
    DovToken* token = item->token;
    switch (token->code) {
        case SEP_LEFT_PAR:
            ++modes.cicsParens;
            return true;
        case SEP_RIGHT_PAR:
            if (modes.cicsParens > 0) --modes.cicsParens;
            return true;
        case SEP_UNINLINED_COPY: case SEP_INLINED_COPY: case SEP_COPY_INC: case SEP_COPY_EOF: case SEP_REPLACE:
        case SEP_EQEQ: case SEP_EOF: case TK_NONNUM_LIT:
            return true;
        case SEP_DOT: case SEP_SEMI: case SEP_COLON:
            Report(MSG_ERR, token->Beg(),
                   DovFormat("This token cannot be used in CICS: '%s'.", DovTokenText(*token).CStr()));
            carried.AppendItem(item);
            return false;
        case SEP_SPACE:
            carried.AppendItemDropToken(item);
            return false;
        case SEP_COMMA:
            carried.AppendItem(item);
            return false;
        case TK_CHAR_STRING: {
            const char* p = token->image.CStr();
            const int n = token->image.Len();
            bool number = n > 0;
            int digits = 0;
            for (int i = 0; i < n && number; ++i) {
                if (IsDigit(p[i]))
                    ++digits;
                else if (i != 0 || (p[i] != '+' && p[i] != '-'))
                    number = false;
            }
            if (number) {
                CheckDigits(token, digits);
                token->code = TK_INT_NUM_LIT;
                return true;
            }
            if (!LegalWord(token, false)) return true;
            const int word = modes.cicsWords++;
            int code = DovFindCicsKeyword(token->image);
            if (modes.cicsAssign && modes.cicsParens == 0) {
                // Inside ASSIGN the names outside the parentheses are plain
                // words: no CICS keyword and no symbol lookup; only the
                // options every command takes (NOHANDLE, RESP, RESP2) stay
                // keywords.
                if (code != CTK_NOHANDLE && code != CTK_RESP && code != CTK_RESP2) {
                    token->code = TK_CHAR_STRING;
                    return true;
                }
            } else if (!reservedCheck) {
                code = 0;
            }
            // Inside an option's parentheses a word is a COBOL word (a data
            // name, a procedure name, part of an expression), whatever its
            // spelling; only ADDRESS OF and LENGTH OF keep their keywords.
            if (code && modes.cicsParens > 0 && !((code == CTK_ADDRESS || code == CTK_LENGTH) && NextIsOf()))
                code = 0;
            if (code) {
                token->code = static_cast<std::int16_t>(code);
                token->image = VString();
                if (word == 0 && code == CTK_ASSIGN) modes.cicsAssign = 1;
                return true;
            }
            if (token->image == "IN") {
                token->code = RW_IN;
                token->image = VString();
            } else if (token->image == "OF") {
                token->code = RW_OF;
                token->image = VString();
            } else {
                token->code = TK_USER_DEFD_WORD;
            }
            return true;
        }
        default:
            Report(MSG_SEVERE, token->Beg(), "DovLexer::GetToken: GetBrokenTextWord() returned bad token");
            return true;
    }
}

// Whether the word after the one being classified inside EXEC CICS is OF.
// The items up to it are read ahead as they come from the word layer and
// classified later, in their turn.
bool DovLexer::NextIsOf() {
    for (std::size_t i = 0;; ++i) {
        if (i == cicsAhead.size()) cicsAhead.push_back(GetBrokenTextWord());
        const DovToken* token = cicsAhead[i]->token;
        if (token->code == SEP_SPACE || token->code == SEP_COMMA) continue;
        return token->code == TK_CHAR_STRING && token->image == "OF";
    }
}

// The end of an EXEC block: END-EXEC or the end of the file.
void DovLexer::EndExec() {
    execState = execSql = execCics = 0;
    modes.cicsWords = modes.cicsAssign = modes.cicsParens = 0;
    sqlCommentAt = DovNullPosn;
}

DovTokenItem* DovLexer::GetToken() {
    if (DovTokenItem* item = TakeSlot(tokenPushBack)) {
        Trace(0x01, "-GetToken: ", item);
        return item;
    }
    DovTokenList carried;
    DovTokenItem* item = nullptr;
    for (;;) {
        if (cicsAhead.empty()) {
            item = GetBrokenTextWord();
        } else {
            item = cicsAhead.front();
            cicsAhead.pop_front();
        }
        DovToken* token = item->token;
        const int code = token->code;

        if (execState) {
            if (code == SEP_EOF) {
                Report(MSG_ERR, token->Beg(), "Unexpected end-of-file within EXEC ... END-EXEC statement");
                token->code = RW_END_EXEC;
                EndExec();
                break;
            }
            if (code == TK_CHAR_STRING && token->image == "END-EXEC") {
                token->code = RW_END_EXEC;
                token->image = VString();
                EndExec();
                break;
            }
            if (execState == 1) {
                if (code == SEP_SPACE) {
                    carried.AppendItemDropToken(item);
                    continue;
                }
                execState = 2;
                if (code == TK_CHAR_STRING) {
                    if (sqlSwitch && token->image == "SQL") {
                        execSql = 1;
                        token->code = TK_SQL;
                        token->image = VString();
                        break;
                    }
                    if (cicsSwitch && token->image == "CICS") {
                        execCics = 1;
                        modes.cicsWords = modes.cicsAssign = modes.cicsParens = 0;
                        token->code = TK_CICS;
                        token->image = VString();
                        break;
                    }
                } else {
                    Report(MSG_ERR, token->Beg(), "EXEC subsystem specifier expected.");
                }
            } else if (execSql) {
                if (SqlComment(item, carried)) continue;
                if (ClassifySql(item, carried)) break;
                continue;
            } else if (execCics) {
                if (ClassifyCics(item, carried)) break;
                continue;
            }
            // The words of any other subsystem go to the callback only.
            item->list.PrependList(carried);
            Trace(0x08, "-NextExecToken: ", item);
            if (execTokenCallback)
                execTokenCallback(item);
            else
                delete item;
            continue;
        }

        if (noteState) {
            if (code == SEP_EOF) {
                Report(MSG_ERR, token->Beg(), "Unexpected end-of-file within NOTE statement");
                token->code = SEP_DOT;
                noteState = 0;
                break;
            }
            if (code == SEP_DOT) {
                // The paragraph's end comes first, its period next.
                tokenPushBack = item;
                item = new DovTokenItem(new DovToken(TK_END_NOTE, VString(), DovTxtPosnRange{token->Beg(), token->Beg()}));
                noteState = 0;
                break;
            }
            if (token->Beg().Line() != noteEnd.Line()) {
                auto* newline = new DovTokenItem(new DovToken(TK_CHAR_STRING, "\n", DovTxtPosnRange{noteEnd, noteEnd}));
                Trace(0x08, "-NextNoteToken: ", newline);
                if (noteTextCallback) noteTextCallback(newline);
                delete newline;
                noteEnd = token->End();
            }
            Trace(0x08, "-NextNoteToken: ", item);
            if (noteTextCallback) noteTextCallback(item);
            delete item;
            continue;
        }

        switch (code) {
            case TK_NONNUM_LIT:
                if (token->image.CStr()[0] == 'H') token->code = TK_INT_NUM_LIT;
                break;
            case TK_CHAR_STRING:
                if (token->image == "EXEC" || token->image == "EXECUTE") {
                    token->code = RW_EXEC;
                    token->image = VString();
                    execState = 1;
                } else if (token->image == "NOTE" && (Has(DIAL_OSVS) || Has(DIAL_DOSVS))) {
                    token->code = RW_NOTE;
                    token->image = VString();
                    noteState = 1;
                    noteEnd = token->End();
                    Trace(0x08, "-NextNoteToken: ", item);
                    if (noteTextCallback) noteTextCallback(item);
                } else {
                    ClassifyWord(token);
                }
                break;
            case SEP_UNINLINED_COPY: case SEP_INLINED_COPY: case SEP_COPY_INC: case SEP_COPY_EOF: case SEP_REPLACE:
            case SEP_LEFT_PAR: case SEP_RIGHT_PAR: case SEP_DOT:
            case SEP_COLON: case SEP_AMPER: case SEP_EQEQ: case SEP_EOF:
                break;
            default:
                Report(MSG_SEVERE, token->Beg(), "DovLexer::GetToken: GetBrokenTextWord() returned bad token");
                break;
        }
        ++tokensReturned;
        break;
    }
    CountCodeLine(item->token);
    if (!carried.IsEmpty()) item->list.PrependList(carried);
    FollowModes(item->token->code);
    Trace(0x01, "-GetToken: ", item);
    return item;
}

void DovLexer::CountCodeLine(const DovToken* token) {
    if (!token) return;
    switch (token->code) {
        case SEP_UNINLINED_COPY: case SEP_INLINED_COPY: case SEP_COPY_INC: case SEP_COPY_EOF: case SEP_REPLACE:
        case SEP_EOF:
            return;
        default:
            break;
    }
    const DovTxtPosn& at = token->Beg();
    if (at.Line() == 0) return;
    const std::size_t file = at.FileIndex();
    if (file >= codeLineMarks.size()) codeLineMarks.resize(file + 1, 0);
    if (at.Line() > codeLineMarks[file]) {
        codeLineMarks[file] = at.Line();
        ++codeLines;
    }
}

// Tokens after which an open statement is over: the period, the verbs that
// start another statement, the phrase words of the enclosing statements and
// the scope terminators.
bool DovEndsOpenStatement(int code) {
    switch (code) {
        case SEP_DOT:
        case RW_ACCEPT: case RW_DISPLAY:
        case RW_ADD: case RW_ALTER: case RW_CALL: case RW_CANCEL: case RW_CLOSE: case RW_COMPUTE:
        case RW_CONTINUE: case RW_DELETE: case RW_DIVIDE: case RW_ENTRY: case RW_EVALUATE: case RW_EXIT:
        case RW_GO: case RW_GOBACK: case RW_IF: case RW_INITIALIZE: case RW_INITIATE: case RW_INSPECT:
        case RW_MERGE: case RW_MOVE: case RW_MULTIPLY: case RW_OPEN: case RW_PERFORM: case RW_READ:
        case RW_RECEIVE: case RW_RELEASE: case RW_RETURN: case RW_REWRITE: case RW_SEARCH: case RW_SEND:
        case RW_SET: case RW_SORT: case RW_START: case RW_STOP: case RW_STRING: case RW_SUBTRACT:
        case RW_SUPPRESS: case RW_TERMINATE: case RW_UNSTRING: case RW_USE: case RW_WRITE: case RW_EXEC:
        case RW_GENERATE: case RW_ENABLE: case RW_DISABLE: case RW_PURGE: case RW_EXHIBIT: case RW_EXAMINE:
        case RW_TRANSFORM: case RW_ELSE: case RW_WHEN: case RW_DECLARATIVES: case RW_SECTION:
            return true;
        default: {
            const char* name = DovTokenName(code);
            return name && (std::strncmp(name, "RW_END_", 7) == 0 || std::strcmp(name, "RW_END") == 0);
        }
    }
}

void DovLexer::FollowModes(int code) {
    modes.functionName = code == RW_FUNCTION;
    if (code == RW_PROGRAM_ID)
        modes.programName = 1;
    else if (code != SEP_DOT)
        modes.programName = 0;
    if (code == RW_DECIMAL_POINT) {
        modes.decimalPoint = 1;
    } else if (modes.decimalPoint && code != RW_IS) {
        if (code == RW_COMMA) decimalPoint = ',';
        modes.decimalPoint = 0;
    }
    if (code == RW_RECORDING)
        modes.recordingMode = 1;
    else if (!modes.recordingMode || (code != RW_MODE && code != RW_IS))
        modes.recordingMode = 0;
    if (code == RW_PROCEDURE) modes.procedure = 1;
    if (code == RW_IDENTIFICATION || code == RW_ID || code == RW_PROGRAM_ID) modes.procedure = modes.acceptDisplay = 0;
    if (modes.procedure && (code == RW_ACCEPT || code == RW_DISPLAY))
        modes.acceptDisplay = 1;
    else if (modes.acceptDisplay && DovEndsOpenStatement(code))
        modes.acceptDisplay = 0;
}

void DovLexer::UnGetToken(DovTokenItem* item) {
    if (!item) return;
    Trace(0x01, "UnGetToken: ", item);
    PutSlot(tokenPushBack, item, "DovLexer::UnGetToken: cannot unget");
}
