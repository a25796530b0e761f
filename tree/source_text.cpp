#include "tree/source_text.h"

#include <string>

#include "tree/expr.h"

namespace {

constexpr const char* kUndefined = "-[undefined]-";
constexpr const char* kUnknown = "-[unknown]-";

void AppendV(std::string& out, const VString& text) { out.append(text.CStr(), static_cast<std::size_t>(text.Len())); }

void AppendText(std::string& out, const DovExpr* e);

void AppendJoined(std::string& out, const DovExpr* e, const char* separator) {
    for (int i = 0; i < e->NumArgs(); ++i) {
        if (i > 0) out += separator;
        AppendText(out, DovArgOrNull(e, i));
    }
}

// A name of a qualified name: its image; anything that is no leaf is
// spelled as an expression.
void AppendName(std::string& out, const DovExpr* e) {
    if (e && e->IsTerminal())
        AppendV(out, e->Image());
    else
        AppendText(out, e);
}

void AppendText(std::string& out, const DovExpr* e) {
    if (!e || e->Oper() == NULL_NODE) {
        out += kUndefined;
        return;
    }
    switch (e->Oper()) {
        case EX_LIST:
            AppendJoined(out, e, " , ");
            break;
        case EX_VALUE_RANGE_LIST:
            AppendJoined(out, e, " ");
            break;
        case EX_VALUE_RANGE: {
            AppendText(out, DovArgOrNull(e, 0));
            const DovExpr* to = DovArgOrNull(e, 1);
            if (to && to->Oper() != NULL_NODE) {
                out += " THRU ";
                AppendText(out, to);
            }
            break;
        }
        case EX_VALUE_WHEN_FALSE:
        case NAMED_OBJ_USE:
            AppendText(out, DovArgOrNull(e, 0));
            break;
        case FIG_ALL:
            out += "ALL ";
            AppendText(out, DovArgOrNull(e, 0));
            break;
        case FIG_ZERO:
        case FIG_SPACE:
        case FIG_HIGH_VALUE:
        case FIG_LOW_VALUE:
        case FIG_QUOTE:
        case FIG_NULL:
        case EX_INDEX_ALL:
            out += DovOperTemplate(e->Oper());
            break;
        case STR_CONST:
        case INT_NUM_CONST:
        case REAL_NUM_CONST:
        case NAME_USE:
            AppendV(out, e->Value());
            break;
        case OF_IN_LIST:
            for (int i = 0; i < e->NumArgs(); ++i) {
                if (i > 0) out += " OF ";
                AppendName(out, DovArgOrNull(e, i));
            }
            break;
        case REFERENCE_MOD:
            AppendText(out, DovArgOrNull(e, 0));
            out += '(';
            AppendText(out, DovArgOrNull(e, 1));
            out += ':';
            AppendText(out, DovArgOrNull(e, 2));
            out += ')';
            break;
        case TABLE_ELT:
            AppendText(out, DovArgOrNull(e, 0));
            out += '(';
            AppendText(out, DovArgOrNull(e, 1));
            out += ')';
            break;
        case OP_ADD_IX:
        case AR_ADD:
            AppendJoined(out, e, " + ");
            break;
        case OP_SUB_IX:
        case AR_SUB:
            AppendJoined(out, e, " - ");
            break;
        case STR_CONCATENATE:
            AppendJoined(out, e, " & ");
            break;
        default:
            out += kUnknown;
            break;
    }
}

}  // namespace

VString DovExprSourceText(const DovExpr* expr) {
    std::string out;
    AppendText(out, expr);
    return VString(out.data(), static_cast<int>(out.size()));
}
