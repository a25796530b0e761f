#include "tests/transform/transform_fixture.h"

namespace vemlo_test {
namespace {
std::vector<std::string> g_texts;
void Capture(const VString& text) { g_texts.push_back(text.CStr()); }
}  // namespace

HookCapture::HookCapture() : saved_(DovTransformMessageHook) {
    g_texts.clear();
    DovTransformMessageHook = Capture;
}
HookCapture::~HookCapture() { DovTransformMessageHook = saved_; }
const std::vector<std::string>& HookCapture::Texts() const { return g_texts; }

DovTxtPosn Posn(int line, int column) {
    return DovTxtPosn(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(column), 1);
}

DovExpr* Op(const char* name, std::vector<DovExpr*> children, int line, int column) {
    auto* node = new DovExprOper(EX_LIST, children.data(), static_cast<int>(children.size()));
    for (DovExpr* c : children)
        if (c) {
            EXPECT_EQ(c->Parent(), node);
        }
    node->Tokens().AddNewToken(TK_USER_DEFD_WORD, Posn(line, column), name);
    return node;
}

DovExpr* Leaf(const char* name) { return new DovCharString(name); }

std::string Name(const DovExpr* node) {
    if (!node) return "null";
    if (node->Oper() == NULL_NODE) return "NULL";
    if (node->IsTerminal()) return node->Image().CStr();
    if (const DovToken* t = node->Tokens().First()) return t->image.CStr();
    return "?";
}

std::string PathNames() {
    const DovExprPath& p = DovTransWalkPath();
    std::string all;
    // Entry base is the start node's parent, pushed by ApplyAll.
    for (int i = p.base + 1; i < p.top; ++i) {
        if (!all.empty()) all += '/';
        all += Name(p.nodes[i]);
    }
    return all;
}

Scripted::Scripted(bool modifies, const char* name, const char* descr) : DovTransform(name, descr), modifies(modifies) {}

char Scripted::TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) {
    names.push_back(Name(node));
    visits.push_back(Name(node) + "[" + PathNames() + "]");
    if (body) return body(*this, node, apply, msgs, after);
    return 'A';
}

std::vector<std::string> MessageLines(const DovTokenList& list) {
    std::vector<std::string> out;
    for (const DovToken* t : list)
        out.push_back(std::to_string(t->code) + ":" + t->image.CStr() + "@" + std::to_string(t->Beg().Line()) + ":" +
                      std::to_string(t->Beg().Column()));
    return out;
}

}  // namespace vemlo_test
