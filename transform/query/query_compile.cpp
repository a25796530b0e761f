// The query compiler: a recursive-descent reader over the scanner that
// builds the chain of step lists, with an operator stack for arithmetic and
// a stack of operand type markers for its type checks.
#include <cstdint>
#include <cstring>

#include "transform/query/query.h"
#include "tree/leaf.h"
#include "tree/oper.h"

namespace {

// Operand kinds of ReadOperand.
enum OperandKind : int {
    OPD_OTHER = 0,
    OPD_OPER = 1,
    OPD_SLOT = 2,
    OPD_NUMBER = 3,
    OPD_STRING = 10,
    OPD_VARIABLE = 11,
    OPD_KEYWORD = 12,
};

bool Is(const VString& token, const char* word) {
    const std::size_t n = std::strlen(word);
    return static_cast<std::size_t>(token.Len()) == n && (n == 0 || std::memcmp(token.Ptr(), word, n) == 0);
}

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// Digits as a 64-bit number; a number too large stays at the largest one
// rather than wrapping into some unrelated value.
std::int64_t DigitsValue(const VString& token) {
    constexpr std::int64_t kMax = INT64_MAX;
    std::int64_t v = 0;
    for (int i = 0; i < token.Len(); ++i) {
        const int d = token[i] - '0';
        if (v > (kMax - d) / 10) return kMax;
        v = v * 10 + d;
    }
    return v;
}

bool AllDigits(const VString& token) {
    if (token.IsEmpty()) return false;
    for (int i = 0; i < token.Len(); ++i)
        if (token[i] < '0' || token[i] > '9') return false;
    return true;
}

DovQueryValue* Marker(const char* letter) { return new DovQueryValue(QV_STR, VString(), new DovCharString(letter), 1); }

class Compiler {
public:
    Compiler(const VString& text, DovQueryVarList& vars, bool assign) : text_(text), vars_(vars), assign_(assign) {}

    std::uint8_t Top(DovQueryChain*& chain, int& column);

private:
    DovQueryChain* CompileChain(int single);
    DovQueryNode* CompileCondition();
    int ReadOperand(int& code, std::int64_t& value);

    void Read() { DovQueryNextToken(text_, tok_, mode_); }
    int ReadKeyword() {
        int code = 0;
        DovQueryNextKeyword(text_, tok_, mode_, code);
        return code;
    }
    void ReRead() { mode_ = QS_REREAD; }
    // Records the first error; always null, for the callers' returns.
    std::nullptr_t Fail(int code) {
        if (!error_) error_ = code;
        return nullptr;
    }
    // Error 92 at the '(' (or the token) that nests one level too deep.
    bool Enter() {
        if (++nesting_ <= kDovQueryMaxNesting + 1) return true;  // the wrapping chain is not the user's
        if (!error_) {
            error_ = 92;
            error_column_ = DovQueryScanCursor.last_start - 1;
        }
        return false;
    }
    void Leave() { --nesting_; }

    bool IsConnective(int depth) const {
        return (Is(tok_, ")") && depth == 0) || Is(tok_, "||") || Is(tok_, "AND") || Is(tok_, "OR") ||
               Is(tok_, "&&");
    }

    const VString& text_;
    DovQueryVarList& vars_;
    bool assign_;
    int mode_ = 0;
    int error_ = 0;
    int error_column_ = -2;  // set: the column of a nesting error
    int nesting_ = 0;
    VString tok_;
};

std::uint8_t Compiler::Top(DovQueryChain*& chain, int& column) {
    chain = nullptr;
    column = -1;
    mode_ = QS_RESET;
    Read();
    Read();
    if (Is(tok_, "(")) {
        chain = CompileChain(0);
        if (chain && !error_) {
            Read();
            if (!tok_.IsEmpty()) error_ = 91;
        }
    } else {
        error_ = 84;
    }
    if (!chain && !error_) error_ = 84;
    if (!error_) return 0;
    mode_ = QS_POSITION;
    Read();
    int pos = mode_;
    if (error_column_ != -2) {
        column = error_column_;
    } else {
        column = pos - 1;
        if (error_ == 91 || error_ == 92) column = pos - 2;
        if (error_ == 91 && chain && chain->condition && chain->condition->kind == QK_TRUE) --column;
    }
    // The column always lies in the user's text (its end included).
    const int user_len = text_.Len() >= 3 ? text_.Len() - 3 : 0;
    if (column < 0) column = 0;
    if (column > user_len) column = user_len;
    delete chain;
    chain = nullptr;
    return static_cast<std::uint8_t>(error_);
}

DovQueryChain* Compiler::CompileChain(int single) {
    if (!Enter()) return nullptr;
    auto* head = new DovQueryChain;
    DovQueryChain* elem = head;
    // Compiles one element from the token just read.
    auto element = [&](DovQueryChain* e) -> bool {
        if (Is(tok_, "(") && single == 0) {
            e->group = CompileChain(0);
            return e->group != nullptr && !error_;
        }
        ReRead();
        e->condition = CompileCondition();
        return e->condition != nullptr && !error_;
    };
    Read();
    if (!element(elem)) {
        delete head;
        Leave();
        return nullptr;
    }
    if (single == 1) {
        Leave();
        return head;
    }
    for (;;) {
        Read();
        const bool is_or = Is(tok_, "OR") || Is(tok_, "||");
        const bool is_and = Is(tok_, "AND") || Is(tok_, "&&");
        if (!is_or && !is_and && !Is(tok_, ")") && !Is(tok_, "(") && !tok_.IsEmpty()) {
            Fail(87);
            delete head;
            Leave();
            return nullptr;
        }
        VString last = tok_;
        if (is_or || is_and) {
            elem->connective = is_or ? QK_OR : QK_AND;
            auto* next = new DovQueryChain;
            elem->next = next;
            elem = next;
            Read();
            last = tok_;
            if (!element(elem)) {
                delete head;
                Leave();
                return nullptr;
            }
        }
        if (Is(last, ")")) {
            Leave();
            return head;
        }
        if (last.IsEmpty()) {
            Fail(92);
            delete head;
            Leave();
            return nullptr;
        }
    }
}

int Compiler::ReadOperand(int& code, std::int64_t& value) {
    code = ReadKeyword();
    value = 0;
    if (code != 0) return OPD_KEYWORD;
    if (AllDigits(tok_)) {
        code = QK_INTCONST;
        value = DigitsValue(tok_);
        return OPD_NUMBER;
    }
    int kind = 0;
    const int found = tok_.IsEmpty() ? -1 : DovOperNameLookup(tok_, &kind);
    if (kind == NAME_KIND_OPER || kind == NAME_KIND_SLOT) {
        value = found;
        return kind == NAME_KIND_OPER ? OPD_OPER : OPD_SLOT;
    }
    if (!tok_.IsEmpty() && IsQuote(tok_[0])) {
        code = QK_STRCONST;
        return OPD_STRING;
    }
    const int var = vars_.Find(tok_);
    if (var >= 0 && !tok_.IsEmpty()) {
        code = QK_VAR;
        value = var;
        return OPD_VARIABLE;
    }
    ReRead();
    return OPD_OTHER;
}

DovQueryNode* Compiler::CompileCondition() {
    auto* head = new DovQueryNode;
    DovQueryNode* tail = head;
    DovQueryVarList ops;    // pending operators and "(" marks
    DovQueryVarList types;  // operand type markers
    const char* marker = "-";
    int depth = 0;
    int prev_arith = '-';
    int dot = 0;
    int exact = 1, negate = 0;

    auto emit = [&](int kind) -> DovQueryNode* {
        DovQueryNode* filled = tail;
        filled->kind = static_cast<std::uint8_t>(kind);
        tail = new DovQueryNode;
        filled->next = tail;
        return filled;
    };
    auto append = [&]() {
        tail->next = new DovQueryNode;
        tail = tail->next;
    };
    auto fail = [&](int code) -> DovQueryNode* {
        Fail(code);
        delete head;
        return nullptr;
    };
    auto push_marker = [&]() {
        types.Push(Marker(marker));
        marker = "-";
    };
    // Pops one operator into the tail and checks its operands; false on a
    // type mismatch.
    auto pop_operator = [&](bool new_tail) -> bool {
        DovQueryValue* op = ops.Pop();
        VString optext = op && op->node ? op->node->Value() : VString();
        delete op;
        const int code = DovQueryKeyword(optext);
        tail->kind = static_cast<std::uint8_t>(code);
        if (new_tail) append();
        return types.CheckOperands(code) != 0;
    };
    auto top_operator = [&]() -> VString {
        DovQueryValue* top = ops.Top();
        return top && top->node ? top->node->Value() : VString();
    };
    // Ends an arithmetic expression: the last operand and every pending
    // operator. With `last_tail` a new tail follows the last operator too.
    auto end_expression = [&](bool last_tail) -> bool {
        if (!ops.head) return true;
        if (prev_arith != QK_RPAREN) {
            emit(QK_PUSH);
            push_marker();
        }
        while (ops.head) {
            const bool more = ops.head->next != nullptr;
            if (!pop_operator(more || last_tail)) return false;
        }
        return true;
    };
    auto parse_assignment = [&](int kind) -> DovQueryNode* {
        if (!assign_) return fail(87);
        tail->kind = static_cast<std::uint8_t>(kind);
        tail->has_subchain = 1;
        tail->subchain = CompileChain(1);
        if (!tail->subchain || error_) return fail(error_ ? error_ : 84);
        return head;
    };

    int c = 0;
    std::int64_t value = 0;
    ReadOperand(c, value);
    if (c == QK_TRUE || c == QK_FALSE) {
        head->kind = static_cast<std::uint8_t>(c);
        return head;
    }
    if (Is(tok_, "NOT") || Is(tok_, "!")) {
        emit(QK_NOT);
        mode_ = QS_READ;
        ReadOperand(c, value);
    }
    if (c == QK_DECL_NODE || c == QK_DECL_INT || c == QK_DECL_STR) {
        const int want = c == QK_DECL_NODE ? QV_NODE : c == QK_DECL_INT ? QV_INT : QV_STR;
        Read();
        const int found = vars_.Find(tok_);
        if (found >= 0) {
            if (vars_.ValueAt(found)->kind != want) return fail(95);
        } else if (want == QV_NODE) {
            // The placeholder belongs to the variable until a tree node
            // takes its place.
            vars_.Append(new DovQueryValue(QV_NODE, tok_, new DovNullNode, 1));
        } else if (want == QV_INT) {
            vars_.Append(new DovQueryValue(QV_INT, tok_, new DovIntNumConst(), 1));
        } else {
            // A character string, whose value is its text: a literal's
            // value would be its quoted image.
            vars_.Append(new DovQueryValue(QV_STR, tok_, new DovCharString(VString()), 1));
        }
        c = QK_VAR;
    }
    if (IsConnective(0)) {
        ReRead();
        return head;
    }
    if (c == 0) {
        mode_ = QS_EQUALS;
        c = QK_OP;
    }

    for (;;) {
        if (error_) return fail(error_);
        if (c == QK_VAR) {
            const int index = vars_.Find(tok_);
            if (index < 0) return fail(87);
            const int vkind = vars_.ValueAt(index)->kind;
            marker = vkind == QV_STR ? "S" : vkind == QV_INT ? "I" : "-";
            tail->text = tok_;
            emit(QK_VAR);
            const int code = ReadKeyword();
            if (Is(tok_, ".")) {
                c = QK_ARG;
                dot = 1;
            } else if (Is(tok_, "==") || Is(tok_, "!=") || Is(tok_, "=") || Is(tok_, "<") || Is(tok_, ">") ||
                       Is(tok_, ">=") || Is(tok_, "<=") || Is(tok_, "~") || Is(tok_, "!")) {
                ReRead();
                c = vkind == QV_STR ? QK_VALUE : vkind == QV_INT ? QK_INTVALUE : QK_OP;
            } else {
                c = code;
            }
            continue;
        }
        if (c == QK_SPECREG || c == QK_FROMSRC) {
            tail->kind = static_cast<std::uint8_t>(c);
            return head;
        }
        if (c == QK_INTCONST || c == QK_STRCONST) {
            marker = c == QK_INTCONST ? "I" : "S";
            ReRead();
            int again = 0;
            ReadOperand(again, value);
            if (c == QK_INTCONST) {
                tail->value1 = value;
                tail->text = tok_;
            } else {
                if (tok_.Len() < 2) return fail(88);
                if (tok_[0] != tok_[tok_.Len() - 1]) return fail(90);
                tail->text = tok_.SubStr(1, tok_.Len() - 2);
            }
            emit(c);
            c = ReadKeyword();
            continue;
        }
        if (IsConnective(depth)) {
            if (depth > 0) return fail(92);
            if (!end_expression(false)) return fail(95);
            ReRead();
            return head;
        }

        if (c >= QK_ADD && c <= QK_RPAREN) {
            // Arithmetic.
            if (c != QK_LPAREN && c != QK_RPAREN && prev_arith != QK_RPAREN) {
                emit(QK_PUSH);
                push_marker();
            }
            if (c == QK_LPAREN) {
                if (!Enter()) return fail(92);
                ops.Push(Marker("("));
                ++depth;
            } else if (c == QK_RPAREN) {
                if (depth == 0) return fail(91);
                if (prev_arith != QK_RPAREN) {
                    emit(QK_PUSH);
                    push_marker();
                }
                while (ops.head && !(top_operator() == "(")) {
                    if (!pop_operator(true)) return fail(95);
                }
                ops.Drop();  // the "("
                --depth;
                Leave();
            } else if (!ops.head) {
                ops.Push(Marker(tok_.CStr()));
            } else if (c == QK_ADD || c == QK_SUB) {
                while (ops.head && !(top_operator() == "(")) {
                    if (!pop_operator(true)) return fail(95);
                }
                ops.Push(Marker(tok_.CStr()));
            } else {
                VString top = top_operator();
                const int top_code = DovQueryKeyword(top);
                if (top_code == QK_MUL || top_code == QK_DIV || top_code == QK_MOD) {
                    if (!pop_operator(true)) return fail(95);
                }
                ops.Push(Marker(tok_.CStr()));
            }
            prev_arith = c;
            ReadOperand(c, value);
            continue;
        }

        if (c == QK_ISDESCOF) {
            Read();
            if (!Is(tok_, "(")) return fail(93);
            Read();
            int kind = 0;
            const int code = tok_.IsEmpty() ? -1 : DovOperNameLookup(tok_, &kind);
            if (kind != NAME_KIND_OPER) return fail(85);
            Read();
            if (!Is(tok_, ")")) return fail(92);
            tail->kind = QK_ISDESCOF;
            tail->value1 = code;
            Read();
            if (Is(tok_, ".")) {
                append();
                c = QK_ARG;
                dot = 1;
                continue;
            }
            ReRead();
            return head;
        }

        if (c == QK_OP) {
            Read();
            const int relation = DovQueryRelation(text_, tok_, exact, negate, mode_);
            if (exact == 0) return fail(87);
            if (relation == -1) return parse_assignment(QK_SETNODE);
            if (relation == 7) {
                tail->kind = negate ? QK_NOTNULL : QK_ISNULL;
                return head;
            }
            if (negate) emit(QK_NOT);
            Read();
            int kind = 0;
            const int code = tok_.IsEmpty() ? -1 : DovOperNameLookup(tok_, &kind);
            if (kind != NAME_KIND_OPER) return fail(85);
            tail->kind = QK_OP;
            tail->value1 = code;
            tail->value2 = relation;
            Read();
            if (Is(tok_, ".")) {
                append();
                c = QK_ARG;
                dot = 1;
                mode_ = QS_READ;
                continue;
            }
            ReRead();
            return head;
        }

        if (c == QK_IMAGE || c == QK_VALUE) {
            marker = "S";
            emit(c);
            DovQueryNode* strval = emit(QK_STRVAL);
            Read();
            while (Is(tok_, ".")) {
                const int code = ReadKeyword();
                if (code == QK_LOWER || code == QK_UPPER) {
                    emit(code);
                } else if (code == QK_SUBSTR) {
                    Read();
                    if (!Is(tok_, "(")) return fail(93);
                    int oc = 0;
                    if (ReadOperand(oc, value) != OPD_NUMBER) return fail(95);
                    tail->value1 = value;
                    Read();
                    if (!Is(tok_, ",")) return fail(97);
                    if (ReadOperand(oc, value) != OPD_NUMBER) return fail(95);
                    tail->value2 = value;
                    Read();
                    if (!Is(tok_, ")")) return fail(92);
                    emit(QK_SUBSTR);
                } else {
                    return fail(87);
                }
                Read();
            }
            const int relation = DovQueryRelation(text_, tok_, exact, negate, mode_);
            if (relation == -1) return parse_assignment(QK_SETSTR);
            if (relation == 7) {
                strval->kind = QK_STRNULL;
                strval->value1 = negate;
                return head;
            }
            // A string test needs a relation: without one the text that
            // follows would be taken for the pattern of an equality.
            if (relation == 0) return fail(84);
            if (negate) {
                strval->kind = QK_STRNULL;
                strval->value1 = 0;
                emit(QK_NOT);
            }
            Read();
            const bool like = Is(tok_, "LIKE");
            if (like) Read();
            if (tok_.IsEmpty()) return fail(89);
            if (tok_.Len() == 1 && IsQuote(tok_[0])) return fail(88);
            if (tok_.Len() < 2 || !IsQuote(tok_[0]) || tok_[0] != tok_[tok_.Len() - 1]) return fail(90);
            VString pattern = tok_.SubStr(1, tok_.Len() - 2);
            tail->value2 = relation;
            if (exact) {
                tail->text = pattern;
                tail->kind = like ? QK_LIKE : QK_STREQ;
            } else {
                tail->text = pattern.ToUpper();
                tail->kind = like ? QK_LIKE_NOCASE : QK_STREQ_NOCASE;
            }
            return head;
        }

        if (c == QK_ARG || c == QK_FIND) {
            const int step = c;
            Read();
            if (Is(tok_, "(") && !dot) {
                Read();
            } else if (!dot) {
                return fail(93);
            } else {
                // After a '.', a keyword goes on with its own navigation.
                VString probe = tok_;
                const int code = DovQueryKeyword(probe);
                if (code != 0) {
                    tok_ = probe;
                    dot = 0;
                    c = code;
                    continue;
                }
            }
            ReRead();
            int oc = 0;
            const int k = ReadOperand(oc, value);
            if (k == OPD_OTHER || k == OPD_STRING || k == OPD_KEYWORD) return fail(step == QK_FIND ? 85 : 86);
            if (k == OPD_OPER) {
                if (step == QK_ARG) return fail(86);
                tail->kind = QK_FIND;
            } else {
                if (step == QK_FIND) return fail(85);
                tail->kind = QK_ARG;
                if (k == OPD_NUMBER) {
                    value -= 1;
                } else if (k == OPD_VARIABLE) {
                    value = 0;
                    tail->value2 = 1;
                }
            }
            tail->text = tok_;
            tail->value1 = value;
            if (!dot) {
                Read();
                if (!Is(tok_, ")")) return fail(92);
            }
            dot = 0;
            Read();
            if (IsConnective(depth)) tok_ = "==";
            if (Is(tok_, ".")) {
                append();
                c = QK_ARG;
                dot = 1;
                mode_ = QS_READ;
                continue;
            }
            if (Is(tok_, "==") || Is(tok_, "!=") || Is(tok_, "=")) {
                append();
                ReRead();
                c = QK_OP;
                continue;
            }
            return fail(87);
        }

        if (c == QK_ARGNO || c == QK_INTVALUE || c == QK_INDEX || c == QK_INTCMP) {
            marker = "I";
            Read();
            const int relation = DovQueryRelation(text_, tok_, exact, negate, mode_);
            if (relation == -1) return parse_assignment(QK_SETINT);
            if (relation == 0 || relation == 7 || exact == 0) return fail(87);
            tail->kind = static_cast<std::uint8_t>(c);
            tail->value2 = relation + 100 * negate;
            int oc = 0;
            const int k = ReadOperand(oc, value);
            if (!(k == OPD_NUMBER || k == OPD_VARIABLE || (k == OPD_SLOT && c == QK_INDEX))) return fail(94);
            if (k == OPD_NUMBER && c == QK_INDEX) value -= 1;
            tail->value1 = value;
            append();
            if (k == OPD_VARIABLE) {
                tail->kind = QK_VAR;
                tail->text = tok_;
                return head;
            }
            c = oc;
            continue;
        }

        if (c == QK_PARENT || c == QK_ENCLSTMT || c == QK_ENCLSECTION || c == QK_LINK) {
            emit(c);
            Read();
            if (IsConnective(depth)) tok_ = "==";
            if (Is(tok_, "==") || Is(tok_, "!=")) {
                ReRead();
                c = QK_OP;
                continue;
            }
            if (Is(tok_, ".")) {
                c = QK_ARG;
                dot = 1;
                continue;
            }
            return fail(84);
        }

        // A relation after an arithmetic expression.
        if (!(Is(tok_, "=") || Is(tok_, "==") || Is(tok_, ">") || Is(tok_, ">=") || Is(tok_, "<") ||
              Is(tok_, "<=") || Is(tok_, "~") || Is(tok_, "!") || Is(tok_, "!=")))
            return fail(84);
        if (depth > 0) return fail(92);
        if (!end_expression(true)) return fail(95);
        DovQueryValue* top = types.Top();
        const VString mark = top && top->node ? top->node->Value() : VString();
        if (mark == "I") {
            c = QK_INTCMP;
        } else if (mark == "S") {
            c = QK_VALUE;
        } else {
            return fail(84);
        }
        ReRead();
    }
    return fail(84);
}

}  // namespace

std::uint8_t DovQuery::Compile(DovQueryVarList* list, VString& message, int& column) {
    Reset();
    const VString wrapped = VString("(") + text + VString("\n)");
    vars = new DovQueryVarList;
    vars->Create(true);
    Compiler compiler(wrapped, list ? *list : *vars, allowAssignments);
    const std::uint8_t code = compiler.Top(chain, column);
    if (code != 0) message = DovQueryErrorText(code);
    return code;
}

const char* DovQueryErrorText(int code) {
    switch (code) {
    case 0: return "Ok";
    case 30: return "BAD Signal";
    case 84: return "Syntax error";
    case 85: return "Invalid operation name";
    case 86: return "Invalid clause number constant";
    case 87: return "Unknown or disallowed command";
    case 88: return "Open string constant";
    case 89: return "Parameter missing";
    case 90: return "String constant is not quoted";
    case 91: return "Unexpected ')'";
    case 92: return "Expected ')' missing";
    case 93: return "Expected '(' missing";
    case 94: return "Invalid integer number";
    case 95: return "Type mismatch";
    case 97: return "',' required";
    case 98: return "No such variable";
    case 99: return "Var already connected to a tree";
    case 100: return "Var is not connected to any tree";
    case 101: return "No such arg (child) clause";
    case 102: return "No IMAGE/VALUE";
    case 103: return "No INTVALUE";
    case 104: return "'DO' required";
    case 105: return "'THEN' required";
    case 106: return "';' required";
    case 107: return "'END' required";
    default: return "Unhandled error";
    }
}
