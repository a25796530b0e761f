// The '$' directives of the conditional-compilation preprocessor ($IF,
// $ELSE, $END, $SET, $DISPLAY), their operands and preprocessor constants.
#include <cstdint>
#include <cstring>
#include <iostream>

#include "lbase/strutil.h"
#include "lexer/lexer_object.h"

namespace {

bool IsBlank(char c) { return c == ' '; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Nothing but blanks from `index` to the end of the level's line.
bool AtLineEnd(const DovInputFile* in, int index) {
    while (index < in->lineLen && IsBlank(in->line[index])) ++index;
    return index >= in->lineLen;
}

// A signed decimal integer: an optional sign and digits. False for any other
// text, and for a number beyond 64 bits, with the reason in `error`.
bool ParseInteger(const char* text, int len, long long& value, VString& error) {
    int i = len > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (i == len) return false;
    for (; i < len; ++i)
        if (!IsDigit(text[i])) return false;
    std::int64_t v = 0;
    if (DovIntLiteralValue(VString(text, len), v, error) != 0) return false;
    value = v;
    return true;
}

// The value of a quoted literal: delimiters removed, doubled delimiters made
// single. False with the reason in `error` when it is malformed.
bool LiteralValue(const VString& literal, VString& value, VString& error) {
    const char* p = literal.CStr();
    int len = literal.Len();
    char delim = p[0];
    std::string out;
    int i = 1;
    for (;;) {
        if (i >= len) {
            error = DovFormat("Non-numeric literal %s has no ending delimiter", literal.CStr());
            return false;
        }
        if (p[i] == delim) {
            if (i + 1 < len && p[i + 1] == delim) {
                out += delim;
                i += 2;
                continue;
            }
            break;
        }
        out += p[i++];
    }
    if (i + 1 != len) {
        error = DovFormat("Text follows the non-numeric literal %s", literal.CStr());
        return false;
    }
    value = VString(out.data(), static_cast<int>(out.size()));
    return true;
}

}  // namespace

int DovLexer::GetDirectiveWord(VString& word, int& index) {
    word = VString();
    if (!current) return 2;
    const char* buf = current->line;
    const int len = current->lineLen;
    int i = index < 0 ? 0 : index;
    while (i < len && IsBlank(buf[i])) ++i;
    std::string text;
    char quote = 0;
    // Blanks inside a quoted part do not end the word, and a quoted part
    // keeps its case.
    for (; i < len && (quote || !IsBlank(buf[i])); ++i) {
        char c = buf[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (IsQuote(c)) {
            quote = c;
        } else {
            c = static_cast<char>(DovCharToUpper(static_cast<unsigned char>(c)));
        }
        text += c;
    }
    index = i;
    if (text.empty()) {
        Report(MSG_ERR, current->posn, "Non-space token expected here");
        return 2;
    }
    word = VString(text.data(), static_cast<int>(text.size()));
    return 0;
}

int DovLexer::GetDirectiveOperand(VString& text, VString& name, int& defined, int& isNumber, long long& number,
                                  int& index) {
    text = VString();
    name = VString();
    defined = 0;
    isNumber = 0;
    number = 0;
    VString word;
    if (int rc = GetDirectiveWord(word, index)) return rc;
    name = word;

    bool digitsOnly = true;
    for (int i = 0; i < word.Len(); ++i) digitsOnly = digitsOnly && IsDigit(word[i]);

    VString reason;  // of a number beyond 64 bits, which is compared as text
    if (digitsOnly && ParseInteger(word.CStr(), word.Len(), number, reason)) {
        text = word;
        defined = 1;
        isNumber = 1;
    } else if (digitsOnly) {
        // Too long for a number: compared as text only.
        text = word;
        defined = 1;
    } else if (IsQuote(word[0])) {
        VString error;
        if (!LiteralValue(word, text, error)) {
            Report(MSG_ERR, current->posn, error);
            return 2;
        }
        defined = 1;
    } else {
        DovExpr* found = nameLookupCallback ? nameLookupCallback(word) : nullptr;
        defined = DovPreprocessorConstantValue(found, text, isNumber, number) ? 1 : 0;
    }
    if (traceFlags & 0x02)
        std::cout << "-DirectiveOperand: '" << name << "' defined=" << defined << " number=" << isNumber
                  << " text='" << text << "'" << std::endl;
    return 0;
}

int DovLexer::SetPreprocessorConstant(const VString& text, DovExpr* root) {
    if (traceFlags & 0x02) std::cout << "-SetPreprocessorConstant: " << text << std::endl;
    const char* p = text.CStr();
    const int len = text.Len();
    int i = 0;
    while (i < len && ((p[i] >= 'A' && p[i] <= 'Z') || (p[i] >= 'a' && p[i] <= 'z') || IsDigit(p[i]) || p[i] == '-'))
        ++i;
    VString name = VString(p, i).ToUpper();

    if (i > 0 && i < len && IsQuote(p[i])) {
        VString image(p + i, len - i), value, error;
        if (!LiteralValue(image, value, error)) {
            Report(MSG_ERR, CurrentPosn(), error);
            return 2;
        }
        DeclareConstant(root, name, image, true, 0);
        return 0;
    }
    if (i > 0 && i < len && p[i] == '(') {
        if (p[len - 1] != ')' || len - i <= 2) {
            Report(MSG_ERR, CurrentPosn(), DovFormat("Bad constant set: %s", text.CStr()));
            return 2;
        }
        long long value = 0;
        VString reason;
        if (!ParseInteger(p + i + 1, len - i - 2, value, reason)) {
            Report(MSG_ERR, CurrentPosn(),
                   reason.IsEmpty() ? DovFormat("Bad numeric constant set: %s", text.CStr())
                                    : DovFormat("Bad numeric constant set: %s: %s", text.CStr(), reason.CStr()));
            return 2;
        }
        DeclareConstant(root, name, VString(p + i + 1, len - i - 2), false, value);
        return 0;
    }
    Report(MSG_ERR, CurrentPosn(), DovFormat("Bad constant set: %s", text.CStr()));
    return 2;
}

// $IF operand operator operand, or $IF operand [NOT] DEFINED.
void DovLexer::DollarIf(int index) {
    enum { kEqual, kLess, kGreater, kDefined } op;
    VString t1, n1, t2, n2, opWord;
    int d1 = 0, num1 = 0, d2 = 0, num2 = 0;
    long long v1 = 0, v2 = 0;
    const DovTxtPosn at = current->posn;

    int rc1 = GetDirectiveOperand(t1, n1, d1, num1, v1, index);
    // A $IF without anything after it has been reported once already.
    if (rc1 != 0 && AtLineEnd(current, index)) return;
    if (GetDirectiveWord(opWord, index) != 0) return;
    bool negate = false;
    if (opWord == "NOT") {
        negate = true;
        if (GetDirectiveWord(opWord, index) != 0) return;
    }
    if (opWord == "=")
        op = kEqual;
    else if (opWord == "<")
        op = kLess;
    else if (opWord == ">")
        op = kGreater;
    else if (opWord == "DEFINED")
        op = kDefined;
    else {
        Report(MSG_ERR, at, "Bad operation in $IF");
        return;
    }

    bool evaluated = rc1 == 0;
    bool value = false;
    if (op == kDefined) {
        value = d1 != 0;
    } else {
        int rc2 = GetDirectiveOperand(t2, n2, d2, num2, v2, index);
        if (rc1 == 0 && !d1)
            Report(MSG_WARN, at,
                   DovFormat("Undefined constant '%s' in $IF condition. Assumed to be null-string.", n1.CStr()));
        if (rc2 == 0 && !d2)
            Report(MSG_WARN, at,
                   DovFormat("Undefined constant '%s' in $IF condition. Assumed to be null-string.", n2.CStr()));
        evaluated = evaluated && rc2 == 0;
        if (evaluated && op == kEqual) {
            value = t1.Len() == t2.Len() && std::memcmp(t1.CStr(), t2.CStr(), t1.Len()) == 0;
        } else if (evaluated) {
            if (num1 && num2) {
                value = op == kLess ? v1 < v2 : v1 > v2;
            } else {
                Report(MSG_ERR, at, "Bad argument types in $IF.");
                evaluated = false;
            }
        }
    }
    if (negate) value = !value;

    if (ifDepth >= kDovMaxIfDepth) {
        Report(MSG_SEVERE, at, "Embedded $IF: nesting too deep");
        return;
    }
    if (!evaluated) {
        Report(MSG_ERR, at, "Condition could not be evaluated. Condition assumed False.");
        value = false;
    }
    ifStates[ifDepth++] = value ? 3 : 2;
}

int DovLexer::DollarDirective(DovInputFile* in, const VString& word, int wordEnd) {
    const DovTxtPosn at = in->posn;
    const bool skipping = ifDepth > 0 && ifStates[ifDepth - 1] != 3 && ifStates[ifDepth - 1] != 1;

    if (word == "$END") {
        if (ifDepth == 0)
            Report(MSG_ERR, at, "No corresponding $IF for this $END. Ignored.");
        else
            --ifDepth;
        return CM_COMMENT;
    }
    if (word == "$ELSE") {
        if (ifDepth == 0) {
            Report(MSG_ERR, at, "No corresponding $IF for this $ELSE. Ignored.");
            return CM_COMMENT;
        }
        int& state = ifStates[ifDepth - 1];
        if (state == 3)
            state = 0;
        else if (state == 2)
            state = 1;
        else if (state != kDovIfInSkipped)
            Report(MSG_ERR, at, "$IF at this level already has $ELSE. Ignored.");
        return CM_COMMENT;
    }
    if (skipping) {
        // A $IF inside a skipped part still opens a level, so that its own
        // $END does not close the enclosing one; both its parts are skipped.
        if (word == "$IF") {
            if (ifDepth >= kDovMaxIfDepth)
                Report(MSG_SEVERE, at, "Embedded $IF: nesting too deep");
            else
                ifStates[ifDepth++] = kDovIfInSkipped;
        }
        return CM_COMMENT;
    }

    if (word == "$IF") {
        DollarIf(wordEnd);
    } else if (word == "$SET") {
        int index = wordEnd;
        VString next;
        if (!AtLineEnd(in, index) && GetDirectiveWord(next, index) == 0 && next == "CONSTANT") {
            DovExpr* root = currentRootCallback ? currentRootCallback() : nullptr;
            // Each setting in turn; the first bad one ends the line.
            while (root && !AtLineEnd(in, index)) {
                VString setting;
                if (GetDirectiveWord(setting, index) != 0 || SetPreprocessorConstant(setting, root) != 0) break;
            }
        }
    } else if (word == "$DISPLAY") {
        // Up to the last non-blank: the columns freed by moving the
        // directive left are blanks.
        int end = in->lineLen;
        while (end > wordEnd && IsBlank(in->line[end - 1])) --end;
        VString rest(in->line + wordEnd, end - wordEnd);
        Report(MSG_INFO, at, DovFormat("$DISPLAY:%s", rest.CStr()));
    }
    return CM_COMMENT;
}
