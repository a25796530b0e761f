#include "tests/support/tree_shape.h"

#include "tree/oper.h"

namespace vemlo_test {

namespace {

void ShapeTo(const DovExpr* node, int depth, std::vector<std::string>& out) {
    std::string line(static_cast<std::size_t>(depth) * 2, ' ');
    if (!node) {
        out.push_back(line + "-");
        return;
    }
    line += DovOperName(node->Oper());
    if (node->IsTerminal()) line += std::string(" '") + node->Image().CStr() + "'";
    out.push_back(line);
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (DovOperArgIsDerived(node->Oper(), i)) {
            out.push_back(std::string(static_cast<std::size_t>(depth + 1) * 2, ' ') + "(derived)");
            continue;
        }
        ShapeTo(node->Args(i), depth + 1, out);
    }
}

}  // namespace

std::vector<std::string> TreeShape(const DovExpr* node) {
    std::vector<std::string> out;
    ShapeTo(node, 0, out);
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
