#include "tests/tree/tree_fixture.h"

#include "tree/symtab.h"

namespace vemlo_test {
namespace {
std::vector<CapturedMessage> g_messages;

void Capture(int code, const DovTxtPosn&, const VString& text) { g_messages.push_back({code, text.CStr()}); }
}  // namespace

MessageCapture::MessageCapture() : saved_(DovMessageHook) {
    g_messages.clear();
    DovMessageHook = Capture;
}

MessageCapture::~MessageCapture() { DovMessageHook = saved_; }

const std::vector<CapturedMessage>& MessageCapture::Messages() const { return g_messages; }

std::string MessageCapture::Joined() const {
    std::string all;
    for (const auto& m : g_messages) {
        if (!all.empty()) all += '\n';
        all += m.text;
    }
    return all;
}

void MessageCapture::Clear() { g_messages.clear(); }

DovToken* Word(const char* image, int line, int column) {
    DovTxtPosn beg(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(column), 1);
    return new DovToken(TK_USER_DEFD_WORD, image, DovTxtPosnRange{beg, beg});
}

DovExpr* NewProgram() {
    auto* prog = new DovExprOper(COBOL_PROGRAM);
    prog->SetArg(kDovProgSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST));
    return prog;
}

DovExpr* TableOf(DovExpr* prog) { return prog->Args(kDovProgSymbolTableArg); }

std::string Images(const DovTokenList& list) {
    std::string all;
    for (const DovToken* t : list) all += t->image.CStr();
    return all;
}

}  // namespace vemlo_test
