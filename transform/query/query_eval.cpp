// The query evaluator: a compiled chain at one node of the program tree.
//
// A step list is run in a loop: the steps that hand over to the next one
// move along the list, and the steps that only shape the rest's result (NOT,
// and OP, which evaluates the rest in any case) fold into one pending
// transform of the final result. Only FIND, which tries the rest once per
// matching child (so no deeper than the tree), the variable operand of an
// integer test and the subchains of assignments evaluate recursively.
#include <cstring>
#include <iostream>

#include "lbase/txtposn.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/walk.h"
#include "transform/query/query.h"

VString DovQueryString;

namespace {

// What is still to be done with the rest's result.
enum Transform : int {
    XF_ID,    // the result as it is
    XF_NORM,  // 1 or 0
    XF_NOT,   // negated
    XF_C0,    // 0 whatever the rest gives
    XF_C1,    // 1 whatever the rest gives
};

int Apply(Transform g, int x) {
    switch (g) {
    case XF_ID: return x;
    case XF_NORM: return x != 0;
    case XF_NOT: return x == 0;
    case XF_C0: return 0;
    case XF_C1: return 1;
    }
    return x;
}

// g applied after h.
Transform Compose(Transform g, Transform h) {
    switch (h) {
    case XF_ID: return g;
    case XF_C0: return Apply(g, 0) ? XF_C1 : XF_C0;
    case XF_C1: return Apply(g, 1) ? XF_C1 : XF_C0;
    case XF_NORM: return g == XF_ID ? XF_NORM : g;
    case XF_NOT: return (g == XF_ID || g == XF_NORM) ? XF_NOT : g == XF_NOT ? XF_NORM : g;
    }
    return g;
}

bool IsNullNode(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

bool IsBelow(const DovExpr* node, const DovExpr* above) {
    for (const DovExpr* p = node ? node->Parent() : nullptr; p; p = p->Parent())
        if (p == above) return true;
    return false;
}

DovExpr* NewIntNode(std::int64_t value) {
    return new DovIntNumConst(DovFormat("%d", static_cast<int>(static_cast<std::int32_t>(value))), value);
}

// The register's own values: a character string and an integer constant
// that the register, as long as it owns them, refills in place instead of
// allocating a new node for every step.
class RegisterText : public DovExpr {
public:
    explicit RegisterText(const VString& text) : DovExpr(CHAR_STRING), text_(text) {}
    RegisterText(const RegisterText& other) : DovExpr(other), text_(other.text_) {}
    DovExpr* Copy() const override { return new RegisterText(*this); }
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return text_; }
    VString Value() const override { return text_; }

    VString text_;
};

class RegisterInt : public DovExpr {
public:
    explicit RegisterInt(std::int64_t value) : DovExpr(INT_NUM_CONST), value_(value) {}
    RegisterInt(const RegisterInt& other) : DovExpr(other), value_(other.value_) {}
    DovExpr* Copy() const override { return new RegisterInt(*this); }
    int IsTerminal() const override { return 1; }
    // The image is the low 32 bits as a signed decimal.
    const VString& Image() const override {
        image_ = DovFormat("%d", static_cast<int>(static_cast<std::int32_t>(value_)));
        return image_;
    }
    VString Value() const override { return Image(); }
    long long IntValue() const override { return value_; }

    std::int64_t value_;
    mutable VString image_;
};

// The register when it owns a free node of class T, else null.
template <typename T>
T* OwnRegister(DovQueryVarList* vars) {
    DovQueryValue* h = DovQueryH(vars);
    if (!h || !h->owned || !h->node || h->node->Parent()) return nullptr;
    return dynamic_cast<T*>(h->node);
}

void SetHString(DovQueryVarList* vars, const VString& text) {
    if (RegisterText* own = OwnRegister<RegisterText>(vars)) {
        own->text_ = text;
        DovQueryH(vars)->kind = QV_STR;
        return;
    }
    DovQuerySetH(vars, new RegisterText(text), QV_STR, 1);
}

void SetHInt(DovQueryVarList* vars, std::int64_t value) {
    if (RegisterInt* own = OwnRegister<RegisterInt>(vars)) {
        own->value_ = value;
        DovQueryH(vars)->kind = QV_INT;
        return;
    }
    DovQuerySetH(vars, new RegisterInt(value), QV_INT, 1);
}

DovQueryValue* FindVar(DovQueryVarList* vars, const VString& name) {
    return vars ? vars->ValueAt(vars->Find(name)) : nullptr;
}

// The integer of a QK_VAR step that follows `step`: the step runs first
// (flag 0) and must leave an integer in " H".
bool VarInteger(DovQueryNode* step, DovExpr** cur, DovQueryVarList* vars, DovQueryVarList* stack,
                std::int64_t& out) {
    if (!DovQueryNode::Eval(step->next, cur, vars, stack, 0)) return false;
    DovQueryValue* h = DovQueryH(vars);
    if (!h || h->kind != QV_INT || !h->node) return false;
    out = h->node->IntValue();
    return true;
}

// The QK_STRNULL step of a null test on IMAGE or VALUE ("== NULL", "!= NULL"
// or the word alone, after any LOWER, UPPER or SUBSTR), as opposed to the
// one in front of a negated comparison, which a QK_NOT follows.
bool IsNullTest(const DovQueryNode* step) {
    if (step->kind != QK_STRNULL) return false;
    const DovQueryNode* rest = step->next;
    while (rest && (rest->kind == QK_LOWER || rest->kind == QK_UPPER || rest->kind == QK_SUBSTR)) rest = rest->next;
    return !rest || (rest->kind == QK_TRUE && !rest->next);
}

bool NextIsVar(const DovQueryNode* step) { return step->next && step->next->kind == QK_VAR; }

std::int64_t Wrap(std::uint64_t v) { return static_cast<std::int64_t>(v); }

// Upper-cases the letters a-z of a string in place: the string owns its
// buffer, so no copy is needed.
void UpperInPlace(VString& s) {
    char* p = const_cast<char*>(s.Ptr());
    for (int i = 0; i < s.Len(); ++i)
        if (p[i] >= 'a' && p[i] <= 'z') p[i] = static_cast<char>(p[i] - 'a' + 'A');
}

void LowerInPlace(VString& s) {
    char* p = const_cast<char*>(s.Ptr());
    for (int i = 0; i < s.Len(); ++i)
        if (p[i] >= 'A' && p[i] <= 'Z') p[i] = static_cast<char>(p[i] - 'A' + 'a');
}

int ClampInt(std::int64_t v) {
    if (v > 0x7fffffff) return 0x7fffffff;
    if (v < -0x7fffffff) return -0x7fffffff;
    return static_cast<int>(v);
}

}  // namespace

int DovQueryCompareInt(std::int64_t x, std::int64_t y, std::int64_t r) {
    if (r >= 100) return !DovQueryCompareInt(x, y, r - 100);
    switch (r) {
    case 1: return x == y;
    case 2: return x > y;
    case 3: return x >= y;
    case 4: return x < y;
    case 5: return x <= y;
    default: return 0;
    }
}

int DovQueryCompareStr(const VString& x, const VString& y, std::int64_t r) {
    if (r == 1) return x == y;
    if (r < 2 || r > 5) return 0;
    const int c = x.Compare(y);
    switch (r) {
    case 2: return c > 0;
    case 3: return c >= 0;
    case 4: return c < 0;
    default: return c <= 0;
    }
}

// "*" stands for any run of characters, also none, and "?" for any one
// character. A mismatch goes back to the latest "*" and lets it take one
// more character: only the latest is ever retried, since a match of what
// follows it with a shorter run of an earlier "*" is also found from there.
// At most pattern times text steps, no recursion.
int DovQueryMatchPattern(const VString& pattern, const VString& text) {
    const char* p = pattern.Ptr();
    const char* s = text.Ptr();
    const int pl = pattern.Len();
    const int sl = text.Len();
    int i = 0, j = 0;
    int star = -1;  // the latest "*" met in the pattern
    int from = 0;   // where the text after that "*" is being matched from
    while (j < sl) {
        if (i < pl && p[i] == '*') {
            star = i++;
            from = j;
        } else if (i < pl && (p[i] == '?' || p[i] == s[j])) {
            ++i;
            ++j;
        } else if (star >= 0) {
            i = star + 1;
            j = ++from;
        } else {
            return 0;
        }
    }
    while (i < pl && p[i] == '*') ++i;
    return i == pl;
}

int DovQueryChain::Eval(DovQueryChain* chain, DovExpr** node, DovQueryVarList* vars, int flag) {
    int result = 0;
    bool first = true;
    for (DovQueryChain* link = chain; link;) {
        int r = 0;
        {
            DovQueryVarList stack;
            if (link->condition)
                r = DovQueryNode::Eval(link->condition, node, vars, &stack, flag);
            else if (link->group)
                r = Eval(link->group, node, vars, flag);
        }
        result = first ? r : (r != 0);
        first = false;
        const bool go_on = link->next && ((link->connective == QK_AND && r) || (link->connective == QK_OR && !r));
        if (!go_on) break;
        link = link->next;
    }
    return result;
}

int DovQueryNode::Eval(DovQueryNode* step, DovExpr** ref, DovQueryVarList* vars, DovQueryVarList* stack, int flag) {
    Transform g = XF_ID;
    DovExpr** cur = ref;
    DovExpr* reached = nullptr;  // the node of the last navigation
    DovExpr* none = nullptr;
    if (!cur) cur = &none;

// Hands over to the next step at the node `*where`, or ends with `other`
// when there is none.
#define DOV_CONTINUE_AT(where, other) \
    do {                              \
        if (!step->next) return Apply(g, (other)); \
        cur = (where);                \
        step = step->next;            \
        goto next_step;               \
    } while (0)
#define DOV_CONTINUE(other) DOV_CONTINUE_AT(cur, other)

    while (step) {
    next_step:
        DovExpr* node = *cur;
        switch (step->kind) {
        case QK_TRUE: return Apply(g, 1);
        case QK_FALSE: return Apply(g, 0);
        case QK_NOT:
            if (!step->next) return Apply(g, 0);
            g = Compose(g, XF_NOT);
            step = step->next;
            continue;
        case QK_OP: {
            if (!node) return Apply(g, 0);
            DovQuerySetH(vars, node, QV_NODE, 0);
            const int ok = DovQueryCompareInt(node->Oper(), step->value1, step->value2);
            if (!step->next) return Apply(g, ok);
            g = Compose(g, ok ? XF_NORM : XF_C0);
            step = step->next;
            continue;
        }
        case QK_INTCMP: {
            DovQueryValue* top = stack ? stack->Top() : nullptr;
            if (!top || top->kind != QV_INT || !top->node) return Apply(g, 0);
            if (NextIsVar(step)) {
                std::int64_t v = 0;
                if (!VarInteger(step, cur, vars, stack, v)) return Apply(g, 0);
                step->value1 = v;
            }
            const std::int64_t x = top->node->IntValue();
            SetHInt(vars, x);
            return Apply(g, DovQueryCompareInt(x, step->value1, step->value2));
        }
        case QK_STREQ_NOCASE:
        case QK_STREQ: {
            if (step->kind == QK_STREQ_NOCASE) {
                UpperInPlace(step->text);
                UpperInPlace(DovQueryString);
            }
            const std::int64_t r = step->value2 == 0 ? 1 : step->value2;
            return Apply(g, DovQueryCompareStr(DovQueryString, step->text, r));
        }
        case QK_LIKE_NOCASE:
        case QK_LIKE:
            if (step->kind == QK_LIKE_NOCASE) {
                UpperInPlace(step->text);
                UpperInPlace(DovQueryString);
            }
            // The step's text is the pattern, the node's text the text.
            return Apply(g, DovQueryMatchPattern(step->text, DovQueryString));
        case QK_NOTNULL: return Apply(g, IsNullNode(node) && flag == 0 ? 0 : 1);
        case QK_ISNULL: return Apply(g, IsNullNode(node) ? 1 : 0);
        case QK_STRNULL:
            if (!node) return Apply(g, 0);
            if (!node->IsTerminal()) return Apply(g, step->value1 != 0);
            DovQuerySetH(vars, node, QV_STR, 0);
            if (!step->next) return Apply(g, step->value1 == 0);
            // A null test: the node has an image, so "!= NULL" holds and
            // "== NULL" does not.
            if (IsNullTest(step)) return Apply(g, step->value1 != 0);
            step = step->next;
            continue;
        case QK_INTNODE:
            if (!node || node->Oper() != INT_NUM_CONST) return Apply(g, 0);
            DovQuerySetH(vars, node, QV_INT, 0);
            DOV_CONTINUE(1);
        case QK_ARG: {
            if (!node) return Apply(g, 0);
            if (step->value2 == 1) {
                DovQueryValue* var = FindVar(vars, step->text);
                if (!var || !var->node || var->kind != QV_INT) return Apply(g, 0);
                step->value1 = Wrap(static_cast<std::uint64_t>(var->node->IntValue()) - 1);
            }
            if (!step->next || step->value1 < 0 || step->value1 >= node->NumArgs()) return Apply(g, 0);
            DovExpr* child = DovArgOrNull(node, static_cast<int>(step->value1));
            DovQuerySetH(vars, child, QV_NODE, 0);
            reached = child;
            DOV_CONTINUE_AT(&reached, 0);
        }
        case QK_FIND: {
            if (!node || node->NumArgs() < 1 || !step->next) return Apply(g, 0);
            for (int k = 0; k < node->NumArgs(); ++k) {
                DovExpr* child = DovArgOrNull(node, k);
                DovQuerySetH(vars, child, QV_NODE, 0);
                if (child && child->Oper() == step->value1 && Eval(step->next, &child, vars, stack, flag))
                    return Apply(g, 1);
            }
            return Apply(g, 0);
        }
        case QK_PARENT: {
            if (!node || !step->next || !node->Parent()) return Apply(g, 0);
            reached = node->Parent();
            DovQuerySetH(vars, reached, QV_NODE, 0);
            DOV_CONTINUE_AT(&reached, 0);
        }
        case QK_LINK: {
            if (IsNullNode(node) || node->NumLinks() == 0 || !step->next) return Apply(g, 0);
            DovLink* link = nullptr;
            for (int i = 0; i < node->NumLinks() && !link; ++i) {
                DovLink& l = node->Link(i);
                // A link that has gone stale is no way on.
                if (l.target && DovIsLiveLinkedNode(l.target)) link = &l;
            }
            if (!link) return Apply(g, 0);
            DovQuerySetH(vars, link->target, QV_NODE, 0);
            DOV_CONTINUE_AT(&link->target, 0);
        }
        case QK_IMAGE:
        case QK_VALUE:
            if (step->kind == QK_VALUE && stack && stack->head && stack->head->value &&
                stack->head->value->kind == QV_STR && stack->head->value->node) {
                // After a string expression: its computed text.
                DovQueryString = stack->head->value->node->Value();
                SetHString(vars, DovQueryString);
                DOV_CONTINUE(1);
            }
            if (!node || !node->IsTerminal()) {
                // Without an image only "IMAGE == NULL" holds.
                if (step->next && IsNullTest(step->next)) return Apply(g, step->next->value1 == 0);
                return Apply(g, 0);
            }
            if (step->kind == QK_IMAGE)
                DovQueryString = node->Image();
            else
                DovQueryString = node->Value();
            SetHString(vars, DovQueryString);
            DOV_CONTINUE(1);
        case QK_LOWER:
            LowerInPlace(DovQueryString);
            SetHString(vars, DovQueryString);
            DOV_CONTINUE(1);
        case QK_UPPER:
            UpperInPlace(DovQueryString);
            SetHString(vars, DovQueryString);
            DOV_CONTINUE(1);
        case QK_SUBSTR:
            DovQueryString = DovQueryString.SubStr(ClampInt(step->value1), ClampInt(step->value2));
            SetHString(vars, DovQueryString);
            DOV_CONTINUE(1);
        case QK_VAR: {
            DovQueryValue* var = FindVar(vars, step->text);
            if (!var) return Apply(g, 0);
            DovQuerySetH(vars, var->node, var->kind, 0);
            DOV_CONTINUE_AT(&var->node, 1);
        }
        case QK_ARGNO:
        case QK_INTVALUE:
        case QK_INDEX: {
            if (!node) return Apply(g, 0);
            if (step->kind == QK_INTVALUE && node->Oper() != INT_NUM_CONST) return Apply(g, 0);
            DovExpr* parent = nullptr;
            int index = 0;
            if (step->kind == QK_INDEX) {
                if (!node->Parent()) return Apply(g, 0);
                index = node->FindMe(&parent);
                if (index < 0) return Apply(g, 0);
            }
            if (NextIsVar(step)) {
                std::int64_t v = 0;
                if (!VarInteger(step, cur, vars, stack, v)) return Apply(g, 0);
                step->value1 = step->kind == QK_INDEX ? Wrap(static_cast<std::uint64_t>(v) - 1) : v;
            }
            std::int64_t x;
            if (step->kind == QK_ARGNO) {
                x = node->NumArgs();
                SetHInt(vars, x);
            } else if (step->kind == QK_INTVALUE) {
                x = node->IntValue();
                SetHInt(vars, x);
            } else {
                x = index;
                SetHInt(vars, x + 1);
            }
            if (!DovQueryCompareInt(x, step->value1, step->value2)) return Apply(g, 0);
            DOV_CONTINUE(1);
        }
        case QK_ISDESCOF: {
            if (!node || !node->Parent()) return Apply(g, 0);
            DovExpr* up = node->Parent();
            while (up && up->Oper() != step->value1) up = up->Parent();
            if (!up) return Apply(g, 0);
            reached = up;
            DovQuerySetH(vars, up, QV_NODE, 0);
            DOV_CONTINUE_AT(&reached, 1);
        }
        case QK_SPECREG:
            if (!node) return Apply(g, 0);
            DovQuerySetH(vars, node, QV_NODE, 0);
            return Apply(g, DovIsFileLevelDef(node));
        case QK_FROMSRC: {
            if (!node) return Apply(g, 0);
            SetHString(vars, DovTxtPosnStr(DovSrcPosnBeg(node)));
            const int f = node->Flag() & 3;
            return Apply(g, f >= 2 ? f - 4 : f);
        }
        case QK_ENCLSTMT:
        case QK_ENCLSECTION: {
            if (!node || !step->next) return Apply(g, 0);
            reached = step->kind == QK_ENCLSTMT ? DovEnclosingEntry(node) : DovEnclosingSection(node);
            DovQuerySetH(vars, reached, QV_NODE, 0);
            DOV_CONTINUE_AT(&reached, 0);
        }
        case QK_INTCONST:
            SetHInt(vars, step->value1);
            DOV_CONTINUE(1);
        case QK_STRCONST:
            SetHString(vars, step->text);
            DOV_CONTINUE(1);
        case QK_SETNODE: {
            if (!step->subchain || !node) return Apply(g, 0);
            const int r = DovQueryChain::Eval(step->subchain, cur, vars, 0);
            *cur = node;
            if (!r) return Apply(g, 0);
            DovQueryValue* h = DovQueryH(vars);
            if (!h || h->kind != QV_NODE || !h->node) return Apply(g, 0);
            DovExpr* repl = h->node;
            if (repl == node) return Apply(g, 1);
            if (node->Parent() && repl->Parent()) return Apply(g, 0);
            // Neither a node above the current one nor, where the current
            // node is deleted whole, one inside it can take its place.
            if (IsBelow(node, repl) || (!node->Parent() && IsBelow(repl, node))) return Apply(g, 0);
            vars->ReplaceNode(node, repl);
            if (node->Parent()) {
                DovExpr* old = node->ReplThis(repl);
                delete old;
            } else {
                delete node;
            }
            *cur = repl;
            return Apply(g, 1);
        }
        case QK_SETINT:
        case QK_SETSTR: {
            if (!step->subchain || !node) return Apply(g, 0);
            const int r = DovQueryChain::Eval(step->subchain, cur, vars, 0);
            *cur = node;
            if (!r) return Apply(g, 0);
            DovQueryValue* h = DovQueryH(vars);
            if (!h || !h->node) return Apply(g, 0);
            if (step->kind == QK_SETINT) {
                if (node->Oper() != INT_NUM_CONST || h->kind != QV_INT) return Apply(g, 0);
                node->SetValue(static_cast<long long>(h->node->IntValue()));
            } else {
                if (!node->IsTerminal() || h->kind != QV_STR) return Apply(g, 0);
                node->SetImage(h->node->Value());
            }
            return Apply(g, 1);
        }
        case QK_PUSH: {
            DovQueryValue* h = DovQueryH(vars);
            if (!h || !h->node || (h->kind != QV_STR && h->kind != QV_INT) || !stack) return Apply(g, 0);
            // A value of its own rather than a copy of the node: a copy of
            // a linked leaf would enter itself into the tree's link lists.
            DovExpr* value = h->kind == QV_INT ? NewIntNode(h->node->IntValue()) : new DovCharString(h->node->Value());
            stack->Push(new DovQueryValue(h->kind, VString(), value, 1));
            DOV_CONTINUE(0);
        }
        case QK_ADD:
        case QK_SUB:
        case QK_MUL:
        case QK_DIV:
        case QK_MOD: {
            if (!stack) return Apply(g, 0);
            // The right operand was pushed last: it comes off first.
            DovQueryValue* right = stack->Pop();
            DovQueryValue* left = right ? stack->Pop() : nullptr;
            const bool both = right && left && right->node && left->node && right->kind == left->kind;
            const bool ints = both && right->kind == QV_INT;
            const bool strs = both && right->kind == QV_STR && step->kind == QK_ADD;
            if (!ints && !strs) {
                delete right;
                delete left;
                return Apply(g, 0);
            }
            if (strs) {
                const VString sum = left->node->Value() + right->node->Value();
                delete right;
                delete left;
                stack->Push(new DovQueryValue(QV_STR, VString(), new DovCharString(sum), 1));
                SetHString(vars, sum);
                DOV_CONTINUE(1);
            }
            const std::int64_t a = left->node->IntValue();
            const std::int64_t b = right->node->IntValue();
            delete right;
            delete left;
            const auto ua = static_cast<std::uint64_t>(a);
            const auto ub = static_cast<std::uint64_t>(b);
            std::int64_t v = 0;
            switch (step->kind) {
            case QK_ADD: v = Wrap(ua + ub); break;
            case QK_SUB: v = Wrap(ua - ub); break;
            case QK_MUL: v = Wrap(ua * ub); break;
            default:
                // By zero: no value, the condition is false.
                if (b == 0) return Apply(g, 0);
                if (b == -1)  // the one quotient that overflows wraps
                    v = step->kind == QK_DIV ? Wrap(0 - ua) : 0;
                else
                    v = step->kind == QK_DIV ? a / b : a % b;
                break;
            }
            stack->Push(new DovQueryValue(QV_INT, VString(), NewIntNode(v), 1));
            SetHInt(vars, v);
            DOV_CONTINUE(1);
        }
        case QK_STRVAL: DOV_CONTINUE(1);
        default: return Apply(g, 0);
        }
    }
#undef DOV_CONTINUE
#undef DOV_CONTINUE_AT
    return Apply(g, 0);
}
