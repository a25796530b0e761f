#include "tests/tree/tree_fixture.h"

#include <gtest/gtest.h>

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

DovExpr* NestedMoves(int depth, DovExpr* bottom) {
    DovExpr* top = bottom;
    for (int i = 0; i < depth; ++i) {
        auto* move = new DovExprOper(STMT_MOVE);
        move->SetArg(0, top);
        top = move;
    }
    return top;
}

std::string Images(const DovTokenList& list) {
    std::string all;
    for (const DovToken* t : list) all += t->image.CStr();
    return all;
}

DovDataItemRow DataRow(int depth, const char* name, int level) {
    return DovDataItemRow{depth, level ? level : 1 + 4 * depth, name, nullptr, DU_NONE, nullptr};
}

namespace {
constexpr int kWorkingStorageSlot = 4;  // of DIVISION_DATA
}  // namespace

DovExpr* NewProgramWithData(std::vector<DovDataItemRow> rows) {
    DovExpr* program = NewProgram();
    auto* list = new DovExprOper(DECL_DD_LIST);
    auto* section = new DovExprOper(SECTION_WORKING_STORAGE);
    section->SetArg(0, list, -1, 0);
    auto* division = new DovExprOper(DIVISION_DATA);
    division->SetArg(kWorkingStorageSlot, section, -1, 0);
    program->SetArg(2, division, -1, 0);
    AddData(program, std::move(rows));
    return program;
}

DovExpr* WorkingStorage(DovExpr* program) { return program->Args(2)->Args(kWorkingStorageSlot)->Args(0); }

void AddData(DovExpr* program, std::vector<DovDataItemRow> rows) {
    rows.push_back(DovDataItemRow{0, 0, nullptr, nullptr, DU_NONE, nullptr});
    VString message;
    EXPECT_EQ(DovDeclDataItemHierarchy(WorkingStorage(program), rows.data(), 0, program, message), 0)
        << message.CStr();
}

namespace {
struct FindDefContext {
    std::string name;
    std::vector<DovNamedObjDef*> found;
};
}  // namespace

DovNamedObjDef* FindDef(DovExpr* root, const std::string& name) {
    FindDefContext ctx{name, {}};
    WalkTheTree(root, &ctx, [](DovExpr* node, void* c) -> int {
        auto* ctx = static_cast<FindDefContext*>(c);
        if (node->Oper() == NAMED_OBJ_DEF && DovFullQualNameStr(node).CStr() == ctx->name)
            ctx->found.push_back(static_cast<DovNamedObjDef*>(node));
        return DOV_WALK_DESCEND;
    });
    return ctx.found.size() == 1 ? ctx.found[0] : nullptr;
}

}  // namespace vemlo_test
