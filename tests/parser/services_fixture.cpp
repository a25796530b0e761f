#include "tests/parser/services_fixture.h"

#include <cstring>
#include <sstream>

namespace vemlo_test {

namespace {

std::vector<std::string>* gCallbackMessages = nullptr;

void CaptureCallback(int level, const DovTxtPosn&, const VString& text) {
    if (!gCallbackMessages) return;
    const char* tag = level == MSG_SEVERE ? "S:" : level == MSG_TERMINAL ? "T:" : "I:";
    gCallbackMessages->push_back(tag + std::string(text.CStr()));
}

std::vector<std::string> gCallbackStore;

}  // namespace

void ParserServicesTest::SetUp() {
    saved_ = WorkingParser;
    WorkingParser = &parser;
    parser.messages = &messages;
    gCallbackStore.clear();
    gCallbackMessages = &gCallbackStore;
    parser.messageCallback = CaptureCallback;
}

void ParserServicesTest::TearDown() {
    WorkingParser = saved_;
    parser.messages = nullptr;
    gCallbackMessages = nullptr;
}

std::vector<std::string> ParserServicesTest::Messages() const {
    std::vector<std::string> out;
    for (DovToken* t : messages) {
        if (!t) continue;
        out.push_back((t->code == MSG_ERR ? "E:" : t->code == MSG_WARN ? "W:" : "?:") + std::string(t->image.CStr()));
    }
    out.insert(out.end(), gCallbackStore.begin(), gCallbackStore.end());
    return out;
}

void ParserServicesTest::ClearMessages() {
    messages.Clear();
    gCallbackStore.clear();
}

DovToken* Tok(const char* image, int line, int column, int code) {
    DovTxtPosn beg(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(column), 1);
    DovTxtPosn end(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(column + std::strlen(image)), 1);
    return new DovToken(code, image, DovTxtPosnRange{beg, end});
}

DovExpr* Leaf(const char* image, int line, int column) {
    DovExpr* leaf = new DovCharString(image);
    DovToken* t = Tok(image, line, column);
    leaf->Tokens().AppendToken(t);
    return leaf;
}

DovExpr* IntLeaf(const char* image, int line, int column) {
    auto* leaf = new DovIntNumConst();
    leaf->SetImage(image);
    DovToken* t = Tok(image, line, column, TK_INT_NUM_LIT);
    leaf->Tokens().AppendToken(t);
    return leaf;
}

DovExpr* Phrase(DovOper op, const char* keyword, DovExpr* child, int line, int column) {
    DovExpr* node = new DovExprOper(op);
    if (keyword && node->NumArgs() > 0) {
        DovToken* t = Tok(keyword, line, column, TK_USER_DEFD_WORD);
        node->ArgSlots(0)->tokens.AppendToken(t);
    }
    if (child) node->SetArg(0, child);
    return node;
}

std::string TokenImages(DovExpr* node) {
    std::string out;
    DovNamedWalk(node, &out, "TokenImagesWalker", nullptr, nullptr,
                 [](DovTokenList* list, DovExpr*, DovExpr*, void* ctx) -> int {
                     auto* s = static_cast<std::string*>(ctx);
                     for (DovToken* t : *list) {
                         if (!t) continue;
                         if (!s->empty()) *s += ' ';
                         *s += t->image.CStr();
                     }
                     return DOV_WALK_DESCEND;
                 });
    return out;
}

std::string Shape(const DovExpr* node) {
    if (!node) return "-";
    if (node->IsTerminal()) return "'" + std::string(node->Image().CStr()) + "'";
    std::string out = DovOperName(node->Oper());
    if (node->NumArgs() == 0) return out;
    out += '(';
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (i) out += ',';
        out += Shape(DovArgOrNull(node, i));
    }
    return out + ')';
}

}  // namespace vemlo_test
