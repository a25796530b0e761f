#include "tests/transform/query_test_util.h"

#include "tree/oper.h"

namespace vemlo_test {

std::string QueryStepName(int kind) {
    switch (kind) {
    case QK_TRUE: return "TRUE";
    case QK_FALSE: return "FALSE";
    case QK_NOT: return "NOT";
    case QK_OP: return "OP";
    case QK_INTCMP: return "INTCMP";
    case QK_STREQ_NOCASE: return "STREQ_NOCASE";
    case QK_LIKE_NOCASE: return "LIKE_NOCASE";
    case QK_STREQ: return "STREQ";
    case QK_LIKE: return "LIKE";
    case QK_NOTNULL: return "NOTNULL";
    case QK_ISNULL: return "ISNULL";
    case QK_STRNULL: return "STRNULL";
    case QK_INTNODE: return "INTNODE";
    case QK_ARG: return "ARG";
    case QK_FIND: return "FIND";
    case QK_PARENT: return "PARENT";
    case QK_LINK: return "LINK";
    case QK_IMAGE: return "IMAGE";
    case QK_VALUE: return "VALUE";
    case QK_LOWER: return "LOWER";
    case QK_UPPER: return "UPPER";
    case QK_SUBSTR: return "SUBSTR";
    case QK_VAR: return "VAR";
    case QK_ARGNO: return "ARGNO";
    case QK_INTVALUE: return "INTVALUE";
    case QK_ISDESCOF: return "ISDESCOF";
    case QK_SPECREG: return "SPECREG";
    case QK_FROMSRC: return "FROMSRC";
    case QK_ENCLSTMT: return "ENCLSTMT";
    case QK_ENCLSECTION: return "ENCLSECTION";
    case QK_INDEX: return "INDEX";
    case QK_INTCONST: return "INTCONST";
    case QK_STRCONST: return "STRCONST";
    case QK_SETNODE: return "SETNODE";
    case QK_SETINT: return "SETINT";
    case QK_SETSTR: return "SETSTR";
    case QK_PUSH: return "PUSH";
    case QK_ADD: return "ADD";
    case QK_SUB: return "SUB";
    case QK_MUL: return "MUL";
    case QK_DIV: return "DIV";
    case QK_MOD: return "MOD";
    case QK_STRVAL: return "STRVAL";
    default: return "K" + std::to_string(kind);
    }
}

namespace {

std::string StepDump(const DovQueryNode* step) {
    std::string out = QueryStepName(step->kind);
    if (step->value1 || step->value2 || !step->text.IsEmpty()) {
        const bool oper = step->kind == QK_OP || step->kind == QK_FIND || step->kind == QK_ISDESCOF;
        out += "(";
        out += oper ? std::string(DovOperName(static_cast<std::uint16_t>(step->value1))) : std::to_string(step->value1);
        out += "," + std::to_string(step->value2);
        if (!step->text.IsEmpty()) out += ",'" + std::string(step->text.Ptr(), static_cast<std::size_t>(step->text.Len())) + "'";
        out += ")";
    }
    if (step->has_subchain || step->subchain) out += "{" + QueryDump(step->subchain) + "}";
    return out;
}

}  // namespace

std::string QueryDump(const DovQueryChain* chain) {
    std::string out;
    for (const DovQueryChain* e = chain; e; e = e->next) {
        if (e->group) {
            out += "[" + QueryDump(e->group) + "]";
        } else {
            std::string steps;
            for (const DovQueryNode* s = e->condition; s; s = s->next) {
                if (!steps.empty()) steps += " ";
                steps += StepDump(s);
            }
            out += steps;
        }
        if (e->connective == QK_AND) out += " AND ";
        else if (e->connective == QK_OR) out += " OR ";
        else if (e->next) out += " ?? ";
    }
    return out;
}

std::string CompileDump(const char* text, bool assignments) {
    DovQuery q(text);
    q.allowAssignments = assignments;
    VString message;
    int column = -5;
    const int code = q.Compile(nullptr, message, column);
    if (code) return "E" + std::to_string(code) + "@" + std::to_string(column);
    return QueryDump(q.chain);
}

}  // namespace vemlo_test
