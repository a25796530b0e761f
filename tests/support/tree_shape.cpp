#include "tests/support/tree_shape.h"

#include "tree/oper.h"

namespace vemlo_test {

namespace {

// Lines deeper than this give their level as a number, so that a very deep
// tree does not cost the square of its depth in blanks.
constexpr std::size_t kIndentedLevels = 64;

std::string Indent(std::size_t depth) {
    if (depth <= kIndentedLevels) return std::string(depth * 2, ' ');
    return std::string(kIndentedLevels * 2, ' ') + "[" + std::to_string(depth) + "] ";
}

// Depth first, children in slot order, on a stack of its own: trees nest as
// deep as the grammar reads them.
void ShapeTo(const DovExpr* root, std::vector<std::string>& out) {
    struct Pending {
        const DovExpr* node;
        std::size_t depth;
        bool derived;
    };
    std::vector<Pending> stack{{root, 0, false}};
    while (!stack.empty()) {
        const Pending at = stack.back();
        stack.pop_back();
        std::string line = Indent(at.depth);
        if (at.derived) {
            out.push_back(line + "(derived)");
            continue;
        }
        if (!at.node) {
            out.push_back(line + "-");
            continue;
        }
        const DovExpr* node = at.node;
        line += DovOperName(node->Oper());
        if (node->IsTerminal()) line += std::string(" '") + node->Image().CStr() + "'";
        out.push_back(std::move(line));
        for (int i = node->NumArgs() - 1; i >= 0; --i) {
            const bool derived = DovOperArgIsDerived(node->Oper(), i);
            stack.push_back({derived ? nullptr : node->Args(i), at.depth + 1, derived});
        }
    }
}

}  // namespace

std::vector<std::string> TreeShape(const DovExpr* node) {
    std::vector<std::string> out;
    ShapeTo(node, out);
    return out;
}

std::size_t FirstShapeDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    return at == a.size() && at == b.size() ? std::string::npos : at;
}

std::string ShapeDifference(const std::vector<std::string>& a, const std::vector<std::string>& b,
                            std::size_t context) {
    const std::size_t at = FirstShapeDifference(a, b);
    if (at == std::string::npos) return "";
    std::string out = "shapes differ at line " + std::to_string(at + 1) + ":\n";
    for (std::size_t i = at > context ? at - context : 0; i < at; ++i) out += "  " + a[i] + "\n";
    for (std::size_t i = at; i < at + context && i < a.size(); ++i) out += "- " + a[i] + "\n";
    for (std::size_t i = at; i < at + context && i < b.size(); ++i) out += "+ " + b[i] + "\n";
    return out;
}

}  // namespace vemlo_test
