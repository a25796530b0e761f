#include "parser/data_map.h"

#include <cinttypes>
#include <cstdio>
#include <ostream>
#include <string>

#include "parser/data_layout.h"
#include "parser/data_slots.h"
#include "tree/data_attrs.h"
#include "tree/expr.h"
#include "tree/source_text.h"
#include "tree/walk.h"

using namespace dov_data_slots;

namespace {

const char kRule[] = "--+-------------------------------+----------+--+-------+-+------+------+------\n";
const char kHead[] = "Lv|Data-Name                      |PIC       |CT|USAGE  |S|Offset|Length|OfsGlb\n";

// Where the columns of a row end.
constexpr std::size_t kNameEnd = 34;
constexpr std::size_t kPicEnd = 45;
constexpr std::size_t kCategoryEnd = 48;
constexpr std::size_t kUsageEnd = 56;
constexpr std::size_t kOffsetEnd = 65;
constexpr std::size_t kLengthEnd = 72;
constexpr std::size_t kGlobalEnd = 79;

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }
DovExpr* Arg(const DovExpr* node, int i) { return DovArgOrNull(node, i); }

void Pad(std::string& row, std::size_t width) {
    if (row.size() < width) row.append(width - row.size(), ' ');
}

void Append(std::string& row, const VString& text) { row.append(text.CStr(), static_cast<std::size_t>(text.Len())); }

void PrintRule(std::ostream& out) { out << kRule; }
void PrintHead(std::ostream& out) { out << kHead; }

// The short category text when the catalogue gives the operation no print
// template.
const char* CategoryFallback(int oper) {
    switch (oper) {
        case DCAT_GROUP: return "G";
        case DCAT_INDEX: return "IX";
        case DCAT_POINTER: return "P";
        case DCAT_PROC_POINTER: return "PP";
        case PIC_ALPHA: return "A";
        case PIC_NUM: return "N";
        case PIC_ALPHA_NUM: return "AN";
        case PIC_ALPHA_NUM_EDITED: return "AE";
        case PIC_NUM_EDITED: return "NE";
        case PIC_INT_FLOAT: return "IF";
        case PIC_EXT_FLOAT: return "EF";
        case PIC_BIT: return "B";
        case PIC_NATIONAL: return "NA";
        case PIC_NATIONAL_EDITED: return "NX";
        default: return "";
    }
}

// The USAGE word when the catalogue gives the operation no print template.
const char* UsageFallback(int oper) {
    switch (oper) {
        case DU_BINARY: return "BINARY";
        case DU_COMP:
        case DU_COMP_RM: return "COMP";
        case DU_COMP_0: return "COMP-0";
        case DU_COMP_1:
        case DU_COMP_1_ACU:
        case DU_COMP_1_RM: return "COMP-1";
        case DU_COMP_2:
        case DU_COMP_2_ACU: return "COMP-2";
        case DU_COMP_3: return "COMP-3";
        case DU_COMP_4: return "COMP-4";
        case DU_COMP_5: return "COMP-5";
        case DU_COMP_6: return "COMP-6";
        case DU_COMP_X: return "COMP-X";
        case DU_BIT: return "BIT";
        case DU_DISPLAY: return "DISPLAY";
        case DU_INDEX: return "INDEX";
        case DU_POINTER: return "POINTER";
        default: return "";
    }
}

const char* TemplateOr(int oper, const char* fallback) {
    const char* t = DovOperTemplate(static_cast<std::uint16_t>(oper));
    return t && *t ? t : fallback;
}

std::string UsageText(int usage) {
    switch (usage) {
        case DU_DISPLAY_1: return "DISPL-1";
        case DU_PACKED_DECIMAL: return "PAK-DEC";
        case DU_PROC_POINTER: return "PROCPTR";
        default: break;
    }
    if (usage < DU_BINARY || usage > DU_PROC_POINTER) return "UNKNOWN";
    return TemplateOr(usage, UsageFallback(usage));
}

// A layout number: "%6lld", "UNDEF" for an unknown one, nothing when the
// slot holds none.
void AppendNumber(std::string& row, const DovExpr* entry, int slot) {
    const DovExpr* n = Arg(entry, slot);
    if (!n || n->Oper() != INT_NUM_CONST) return;
    const long long v = n->IntValue();
    if (v == kDovLayoutUnknown) {
        row += "UNDEF";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%6lld", v);
    row += buf;
}

void AppendName(std::string& row, const DovExpr* name) {
    if (Absent(name))
        row += "(noname)";
    else if (name->Oper() == EX_FILLER)
        row += "FILLER";
    else
        Append(row, name->Image());
}

void AppendDepth(std::string& row, int depth) {
    for (int i = 0; i < depth; ++i) row += ". ";
}

// The text of a constant value expression: the arithmetic, bit and NEXT /
// START OF / LENGTH OF forms here, everything else as the tree spells it.
void AppendValue(std::string& row, const DovExpr* e) {
    if (Absent(e)) {
        Append(row, DovExprSourceText(e));
        return;
    }
    const char* separator = nullptr;
    switch (e->Oper()) {
        case EX_VAL_NEXT: row += "NEXT"; return;
        case EX_VAL_START_OF:
            row += "START OF ";
            AppendValue(row, Arg(e, 0));
            return;
        case EX_VAL_LENGTH_OF:
            row += "LENGTH OF ";
            AppendValue(row, Arg(e, 0));
            return;
        case OP_PARENS:
            row += '(';
            AppendValue(row, Arg(e, 0));
            row += ')';
            return;
        case AR_UN_MINUS:
            row += '-';
            AppendValue(row, Arg(e, 0));
            return;
        case AR_UN_PLUS:
            row += '+';
            AppendValue(row, Arg(e, 0));
            return;
        case AR_ADD: separator = " + "; break;
        case AR_SUB: separator = " - "; break;
        case AR_MUL: separator = " * "; break;
        case AR_DIV: separator = " / "; break;
        case BIT_AND: separator = " AND "; break;
        case BIT_OR: separator = " OR "; break;
        default: Append(row, DovExprSourceText(e)); return;
    }
    for (int i = 0; i < e->NumArgs(); ++i) {
        if (i > 0) row += separator;
        AppendValue(row, Arg(e, i));
    }
}

// A bound of an OCCURS clause, or false when it cannot be computed.
bool Bound(DovExpr* node, long long& value) {
    if (Absent(node)) return false;
    DovExpr* v = DovLayoutCalcValueExpr(node);
    if (!v) return false;
    value = v->IntValue();
    delete v;
    return true;
}

void AppendOccurs(std::string& row, DovExpr* occurs) {
    row += " OCCURS ";
    DovExpr* times = Arg(occurs, kOccursTimes);
    DovExpr* low = nullptr;
    DovExpr* high = times;
    if (!Absent(times) &&
        (times->Oper() == EX_INT_CONST_RANGE || times->Oper() == EX_VALUE_RANGE || times->Oper() == EX_EXPR_RANGE) &&
        !Absent(Arg(times, 1))) {
        low = Arg(times, 0);
        high = Arg(times, 1);
    }
    char buf[48];
    long long v = 0;
    if (low) {
        if (Bound(low, v)) {
            std::snprintf(buf, sizeof buf, "%d", static_cast<int>(v));
            row += buf;
        } else {
            row += "UNDEF";
        }
        if (Bound(high, v)) {
            std::snprintf(buf, sizeof buf, " TO %lld TIMES", v);
            row += buf;
        } else {
            row += " TO UNDEF TIMES";
        }
    } else if (Bound(high, v)) {
        std::snprintf(buf, sizeof buf, "%lld TIMES", v);
        row += buf;
    } else {
        row += "UNDEF TIMES";
    }
    DovExpr* depending = Arg(occurs, kOccursDepending);
    if (!Absent(depending)) {
        row += " DEPENDING ON ";
        Append(row, DovExprSourceText(depending->Oper() == EX_DEPENDING_ON ? Arg(depending, 0) : depending));
    }
    const DovExpr* width = Arg(occurs, kOccursEltLength);
    if (width && width->Oper() == INT_NUM_CONST) {
        if (width->IntValue() == kDovLayoutUnknown) {
            row += " (loc-len=UNDEF)";
        } else {
            std::snprintf(buf, sizeof buf, " (loc-len=%lld)", width->IntValue());
            row += buf;
        }
    }
}

void PrintDataRow(std::ostream& out, DovExpr* entry, int depth) {
    const DovExpr* levelNode = Arg(entry, kDdLevel);
    const int level = levelNode && levelNode->Oper() == INT_NUM_CONST ? static_cast<int>(levelNode->IntValue()) : 0;
    if (level == 1 || level == 77) PrintRule(out);

    std::string row;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d|", level);
    row += buf;
    AppendDepth(row, depth);
    AppendName(row, Arg(entry, kDdDataName));
    Pad(row, kNameEnd);
    row += '|';
    DovExpr* picture = Arg(entry, kDdPicture);
    if (!Absent(picture)) {
        const DovExpr* text = Arg(picture, 0);
        if (text && text->IsTerminal()) Append(row, text->Image());
    }
    Pad(row, kPicEnd);
    row += '|';
    const DovExpr* category = Arg(entry, kDdCategory);
    if (!Absent(category)) {
        std::snprintf(buf, sizeof buf, "%2s", TemplateOr(category->Oper(), CategoryFallback(category->Oper())));
        row += buf;
    }
    Pad(row, kCategoryEnd);
    row += '|';
    int usage = DU_DISPLAY, sync = NULL_NODE, sign = NULL_NODE, signSeparate = 0;
    DovInheritedDataAttrs(entry, usage, sync, sign, signSeparate);
    row += UsageText(usage);
    Pad(row, kUsageEnd);
    row += '|';
    row += sync != NULL_NODE ? '*' : ' ';
    row += '|';
    AppendNumber(row, entry, kDdOffset01);
    Pad(row, kOffsetEnd);
    row += '|';
    AppendNumber(row, entry, kDdLength);
    Pad(row, kLengthEnd);
    row += '|';
    AppendNumber(row, entry, kDdOffsetGlobal);
    Pad(row, kGlobalEnd);

    DovExpr* redefines = Arg(entry, kDdRedefines);
    DovExpr* renames = Arg(entry, kDdRenames);
    DovExpr* occurs = Arg(entry, kDdOccurs);
    if (!Absent(redefines) || !Absent(renames) || !Absent(occurs)) {
        row += "  | ";
        if (!Absent(redefines)) {
            row += " REDEFINES ";
            Append(row, DovExprSourceText(Arg(redefines, 0)));
        }
        if (!Absent(renames)) {
            DovExpr* thru = Arg(renames, 0);
            DovExpr* from = thru && thru->Oper() == EX_RENAMES_THRU ? Arg(thru, kRenamesFrom) : thru;
            DovExpr* to = thru && thru->Oper() == EX_RENAMES_THRU ? Arg(thru, kRenamesTo) : nullptr;
            row += " RENAMES ";
            Append(row, DovExprSourceText(from));
            if (!Absent(to)) {
                row += " THROUGH ";
                Append(row, DovExprSourceText(to));
            }
        }
        if (!Absent(occurs)) AppendOccurs(row, occurs);
    }
    row += '\n';
    out << row;
}

void PrintCondRow(std::ostream& out, DovExpr* entry, int depth) {
    std::string row = "88|";
    AppendDepth(row, depth);
    AppendName(row, Arg(entry, kCondName));
    Pad(row, kNameEnd);
    row += "| ";
    DovExpr* value = Arg(entry, kCondValue);
    if (value && value->Oper() == DX_VALUE) value = Arg(value, 0);
    if (value && value->Oper() == EX_COND_VALUE) {
        Append(row, DovExprSourceText(Arg(value, 0)));
        DovExpr* whenFalse = Arg(value, 1);
        if (!Absent(whenFalse)) {
            row += " WHEN FALSE ";
            Append(row, DovExprSourceText(whenFalse->Oper() == EX_VALUE_WHEN_FALSE ? Arg(whenFalse, 0) : whenFalse));
        }
    } else {
        Append(row, DovExprSourceText(value));
    }
    row += '\n';
    out << row;
}

void PrintConstRow(std::ostream& out, DovExpr* entry) {
    std::string row = "78|";
    AppendName(row, Arg(entry, kConstName));
    Pad(row, kNameEnd);
    row += "| ";
    DovExpr* clause = Arg(entry, kConstValue);
    AppendValue(row, clause && clause->Oper() == EX_CONST_VALUE ? Arg(clause, 0) : clause);
    row += '\n';
    out << row;
}

void PrintBlock(std::ostream& out, DovExpr* entries) {
    PrintRule(out);
    PrintHead(out);
    PrintDataMapRow(out, entries, -1);
    PrintRule(out);
}

struct MapWalk {
    std::ostream* out;
};

int MapStep(DovExpr* node, void* context) {
    std::ostream& out = *static_cast<MapWalk*>(context)->out;
    switch (node->Oper()) {
        case SECTION_WORKING_STORAGE:
            out << "\nWORKING-STORAGE SECTION:\n";
            PrintBlock(out, Arg(node, kSectionEntries));
            break;
        case SECTION_LOCAL_STORAGE:
            out << "\nLOCAL-STORAGE SECTION:\n";
            PrintBlock(out, Arg(node, kSectionEntries));
            break;
        case SECTION_LINKAGE:
            out << "\nLINKAGE SECTION:\n";
            PrintBlock(out, Arg(node, kSectionEntries));
            break;
        case DECL_FD: {
            out << "\nRecords for FILE: ";
            DovExpr* fd = Arg(node, kFdEntry);
            if (!fd || fd->Oper() != DECL_FD_ENTRY) {
                out << "(copy-expr)\n";
                break;
            }
            std::string name;
            AppendName(name, Arg(fd, kFdFileName));
            out << name << '\n';
            PrintBlock(out, Arg(node, kFdRecords));
            break;
        }
        default: break;
    }
    return DOV_WALK_DESCEND;
}

}  // namespace

VString PadRight(const VString& text, int width) {
    // A VString holds at most 65535 characters.
    if (width > 65535) width = 65535;
    if (text.Len() >= width) return text;
    std::string s(text.CStr(), static_cast<std::size_t>(text.Len()));
    s.append(static_cast<std::size_t>(width - text.Len()), ' ');
    return VString(s.data(), static_cast<int>(s.size()));
}

void PrintDataMapRow(std::ostream& out, DovExpr* node, int depth) {
    if (Absent(node)) return;
    switch (node->Oper()) {
        case DECL_DD_LIST:
            for (int i = 0; i < node->NumArgs(); ++i) PrintDataMapRow(out, Arg(node, i), depth + 1);
            break;
        case DECL_DD:
            PrintDataMapRow(out, Arg(node, kHolderEntry), depth);
            PrintDataMapRow(out, Arg(node, kHolderArgs), depth);
            break;
        case DECL_DD_ENTRY: PrintDataRow(out, node, depth); break;
        case DECL_COND_ENTRY: PrintCondRow(out, node, depth); break;
        case DECL_CONST_ENTRY: PrintConstRow(out, node); break;
        default: break;
    }
}

int DovPrintDataMap(std::ostream& out, DovExpr* root) {
    MapWalk walk{&out};
    return root ? WalkTheTree(root, &walk, MapStep) : 0;
}
