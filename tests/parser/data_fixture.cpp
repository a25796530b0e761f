#include "tests/parser/data_fixture.h"

#include <iostream>

#include "parser/data_slots.h"

using namespace dov_data_slots;

namespace vemlo_test {

namespace {

constexpr int kFileProgs = 0;
constexpr int kDivFile = 3;
constexpr int kDivWorking = 4;
constexpr int kDivLocal = 5;
constexpr int kDivLinkage = 6;
constexpr int kFileSectionEntries = 1;

DovExpr* NameSlotHolder(DovExpr* node, const char* name) {
    if (!node) return nullptr;
    const int op = node->Oper();
    if (op == DECL_DD_ENTRY || op == DECL_COND_ENTRY || op == DECL_CONST_ENTRY) {
        DovExpr* def = DovArgOrNull(node, kDdDataName);
        if (def && def->Oper() == NAMED_OBJ_DEF && def->Image() == VString(name)) return node;
        return nullptr;
    }
    if (op == DIVISION_PROCEDURE || op == SYMBOL_TABLE_ELT_LIST) return nullptr;
    for (int i = 0; i < node->NumArgs(); ++i)
        if (DovExpr* found = NameSlotHolder(DovArgOrNull(node, i), name)) return found;
    return nullptr;
}

long long Number(const DovExpr* node, int slot) {
    const DovExpr* n = DovArgOrNull(node, slot);
    return n && n->Oper() == INT_NUM_CONST ? n->IntValue() : DataTree::kMissing;
}

// The subordinate list of a holder, made when missing.
DovExpr* SubList(DovExpr* holder) {
    DovExpr* sub = DovArgOrNull(holder, kHolderArgs);
    if (sub && sub->Oper() == DECL_DD_LIST) return sub;
    sub = new DovExprOper(DECL_DD_LIST);
    holder->SetArg(kHolderArgs, sub, -1, 0);
    return sub;
}

DovExpr* MustEntry(const DataTree& tree, const char* name) {
    DovExpr* e = tree.Entry(name);
    if (!e) std::cerr << "DataTree: no entry " << name << '\n';
    return e;
}

}  // namespace

DovDataItemRow Item(int depth, int level, const char* name, const char* pic, int usage) {
    return DovDataItemRow{depth, level, name, pic, usage, nullptr};
}

DovExpr* Int(long long value) { return new DovIntNumConst(value); }

DovExpr* Op(DovOper op, std::initializer_list<DovExpr*> args) { return new DovExprOper(op, args); }

DataTree::DataTree() {
    file = new DovExprOper(COBOL_FILE);
    file->SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    program = new DovExprOper(COBOL_PROGRAM);
    program->SetArg(kDovProgSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    program->SetArg(kProgDataDiv, new DovExprOper(DIVISION_DATA), -1, 0);
    file->SetArg(kFileProgs, Op(COBOL_PROGRAM_LIST, {program}), -1, 0);
}

DataTree::~DataTree() {
    delete file;
    messages.Clear();
}

DovExpr* DataTree::Section(DovOper section) {
    const int slot = section == SECTION_WORKING_STORAGE ? kDivWorking
                     : section == SECTION_LOCAL_STORAGE ? kDivLocal
                                                        : kDivLinkage;
    DovExpr* division = program->Args(kProgDataDiv);
    DovExpr* node = DovArgOrNull(division, slot);
    if (!node) {
        node = new DovExprOper(section);
        node->SetArg(kSectionEntries, new DovExprOper(DECL_DD_LIST), -1, 0);
        division->SetArg(slot, node, -1, 0);
    }
    return node->Args(kSectionEntries);
}

DovExpr* FileSectionList(DovExpr* program) {
    DovExpr* division = program->Args(kProgDataDiv);
    DovExpr* section = DovArgOrNull(division, kDivFile);
    if (!section) {
        section = new DovExprOper(SECTION_FILE);
        section->SetArg(kFileSectionEntries, new DovExprOper(DECL_FD_LIST), -1, 0);
        division->SetArg(kDivFile, section, -1, 0);
    }
    return section->Args(kFileSectionEntries);
}

DovExpr* DataTree::FileRecords(const char* fileName) {
    auto* fd = new DovExprOper(DECL_FD_ENTRY);
    fd->SetArg(kFdFileName, DovMakeNamedObjDef(fileName, NC_FILE_NAME, true, program), -1, 0);
    DovExpr* records = new DovExprOper(DECL_DD_LIST);
    FileSectionList(program)->AddArg(Op(DECL_FD, {fd, records}));
    return records;
}

void DataTree::CopyMarkerFile() {
    FileSectionList(program)->AddArg(Op(DECL_FD, {new DovExprOper(STMT_UNINLINED_COPY), new DovExprOper(DECL_DD_LIST)}));
}

bool DataTree::Declare(DovExpr* list, const std::vector<DovDataItemRow>& rows) {
    std::vector<DovDataItemRow> all = rows;
    all.push_back(DovDataItemRow{0, 0, nullptr, nullptr, DU_NONE, nullptr});
    VString message;
    if (DovDeclDataItemHierarchy(list, all.data(), 0, program, message) != 0) {
        std::cerr << "DataTree::Declare: " << message.CStr() << '\n';
        return false;
    }
    return true;
}

DovExpr* DataTree::Entry(const char* name) const { return NameSlotHolder(file, name); }

DovExpr* DataTree::Use(const char* name) {
    DovExpr* entry = Entry(name);
    DovNamedObjUse* use = DovMakeDataNameUse(name, program);
    if (entry) use->SetDefinition(static_cast<DovNamedObjDef*>(entry->Args(kDdDataName)));
    return use;
}

void DataTree::Occurs(const char* name, long long times, const char* depending) {
    OccursExpr(name, Int(times));
    if (depending) Entry(name)->Args(kDdOccurs)->SetArg(kOccursDepending, Op(EX_DEPENDING_ON, {Use(depending)}), -1, 0);
}

void DataTree::OccursRange(const char* name, long long low, long long high, const char* depending) {
    OccursExpr(name, Op(EX_INT_CONST_RANGE, {Int(low), Int(high)}));
    if (depending) Entry(name)->Args(kDdOccurs)->SetArg(kOccursDepending, Op(EX_DEPENDING_ON, {Use(depending)}), -1, 0);
}

void DataTree::OccursExpr(const char* name, DovExpr* times) {
    DovExpr* e = MustEntry(*this, name);
    if (!e) {
        delete times;
        return;
    }
    auto* occurs = new DovExprOper(DX_OCCURS);
    occurs->SetArg(kOccursTimes, times, -1, 0);
    e->SetArg(kDdOccurs, occurs, -1, 0);
}

void DataTree::Redefines(const char* name, const char* target) {
    if (DovExpr* e = MustEntry(*this, name)) e->SetArg(kDdRedefines, Op(DX_REDEFINES, {Use(target)}), -1, 0);
}

void DataTree::Renames(const char* name, const char* from, const char* to) {
    DovExpr* e = MustEntry(*this, name);
    if (!e) return;
    DovExpr* thru = Op(EX_RENAMES_THRU, {Use(from), to ? Use(to) : nullptr});
    e->SetArg(kDdRenames, Op(DX_RENAMES, {thru}), -1, 0);
}

void DataTree::Sync(const char* name) {
    if (DovExpr* e = MustEntry(*this, name)) e->SetArg(kDdSynchronized, new DovExprOper(DX_SYNCHRONIZED), -1, 0);
}

void DataTree::SignSeparate(const char* name) {
    if (DovExpr* e = MustEntry(*this, name))
        e->SetArg(kDdSign, Op(DX_SIGN, {new DovExprOper(DX_SIGN_TRAILING), new DovExprOper(DX_SIGN_SEPARATE)}), -1,
                  0);
}

void DataTree::Usage(const char* name, int usage) {
    if (DovExpr* e = MustEntry(*this, name))
        e->SetArg(kDdUsage, Op(DX_USAGE, {new DovExprOper(static_cast<DovOper>(usage))}), -1, 0);
}

void DataTree::Cond(const char* parent, const char* name, DovExpr* value, DovExpr* whenFalse) {
    DovExpr* p = MustEntry(*this, parent);
    auto* entry = new DovExprOper(DECL_COND_ENTRY);
    entry->SetArg(kCondLevel, new DovIntNumConst("88", 88), -1, 0);
    entry->SetArg(kCondName, DovMakeNamedObjDef(name, NC_CONDITION_NAME, true, program), -1, 0);
    entry->SetArg(kCondValue, Op(EX_COND_VALUE, {value, whenFalse ? Op(EX_VALUE_WHEN_FALSE, {whenFalse}) : nullptr}),
                  -1, 0);
    DovExpr* holder = Op(DECL_DD, {entry, nullptr});
    if (p)
        SubList(p->Parent())->AddArg(holder);
    else
        delete holder;
}

DovExpr* DataTree::Const(DovExpr* list, const char* parent, const char* name, DovExpr* value) {
    DovNamedObjDef* def = nullptr;
    DovExpr* holder = DovDeclConstant(def, name, value, program);
    if (!list) {
        DovExpr* p = MustEntry(*this, parent);
        if (!p) {
            delete holder;
            return nullptr;
        }
        list = SubList(p->Parent());
    }
    list->AddArg(holder);
    return holder->Args(kHolderEntry);
}

int DataTree::Layout(const DovLayoutSettings& settings, int local, int global, int consts) {
    return DovCalcLengthsAndOffsets(file, &messages, local, global, consts, settings);
}

long long DataTree::Length(const char* name) const { return Number(Entry(name), kDdLength); }
long long DataTree::Offset(const char* name) const { return Number(Entry(name), kDdOffset01); }
long long DataTree::Global(const char* name) const { return Number(Entry(name), kDdOffsetGlobal); }
long long DataTree::Local(const char* name) const { return Number(Entry(name), kDdOffsetLocal); }
long long DataTree::EltLength(const char* name) const {
    return Number(DovArgOrNull(Entry(name), kDdOccurs), kOccursEltLength);
}
long long DataTree::ConstValue(const char* name) const { return Number(Entry(name), kConstValueCompd); }

int DataTree::Category(const char* name) const {
    const DovExpr* c = DovArgOrNull(Entry(name), kDdCategory);
    return c ? c->Oper() : 0;
}

std::vector<std::string> DataTree::Messages() const {
    std::vector<std::string> texts;
    for (const DovToken* m : messages) texts.push_back(m->image.CStr());
    return texts;
}

}  // namespace vemlo_test
