// A working parser with a source root, and builders that make program trees
// the way the grammar's actions do: through StartProgram, SymTabDefine,
// FindNameInProg, ProcessNewProc and EndProgram.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "parser/parser.h"
#include "tree/leaf.h"
#include "tree/qualname.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace structure_test {

struct Caught {
    int level;
    std::string text;
};
inline std::vector<Caught>& CaughtMessages() {
    static std::vector<Caught> caught;
    return caught;
}
inline void Catch(int level, const DovTxtPosn&, const VString& text) {
    CaughtMessages().push_back({level, text.CStr()});
}

// A node of `op` with the given children in the given slots.
inline DovExpr* Op(DovOper op, std::initializer_list<std::pair<int, DovExpr*>> slots = {}) {
    auto* node = new DovExprOper(op);
    for (const auto& [slot, child] : slots) node->SetArg(slot, child, -1, 0);
    return node;
}

// A list node of `op` holding `items`.
inline DovExpr* List(DovOper op, const std::vector<DovExpr*>& items) {
    auto* list = new DovExprOper(op);
    for (DovExpr* item : items) list->AddArg(item);
    return list;
}

inline DovDials Dials(std::initializer_list<int> dialects) {
    DovDials set = DovNoDials();
    for (int d : dialects) DovDialsAdd(set, d);
    return set;
}

// The program-name of a program's PROGRAM-ID.
inline std::string ProgramName(DovExpr* program) {
    DovExpr* def = DovArgOrNull(DovArgOrNull(DovArgOrNull(program, 0), 1), 0);
    return def ? def->Image().CStr() : "?";
}

// "A(B C) D": the programs of a COBOL_PROGRAM_LIST with their nested ones.
inline std::string ProgramShape(DovExpr* list) {
    std::string out;
    for (int i = 0; list && list->Oper() == COBOL_PROGRAM_LIST && i < list->NumArgs(); ++i) {
        DovExpr* program = DovArgOrNull(list, i);
        if (!out.empty()) out += ' ';
        out += ProgramName(program);
        DovExpr* nested = DovArgOrNull(program, 4);
        if (nested && nested->Oper() == COBOL_PROGRAM_LIST) out += "(" + ProgramShape(nested) + ")";
    }
    return out;
}

class StructureTest : public ::testing::Test {
protected:
    void SetUp() override {
        CaughtMessages().clear();
        parser.messageCallback = Catch;
        parser.messages = &messages;
        WorkingParser = &parser;
        UseDialects({DIAL_MF});
        parser.sameParaDataName = 0;
    }
    void TearDown() override {
        // The parser frees the root and whatever programs are still open.
        WorkingParser = nullptr;
        parser.messages = nullptr;
        DovSymTabTraceLevel = 0;
    }

    // Drops the tree and state of one parse, as the next parse does, and
    // keeps the options.
    void NewFile() {
        parser = static_cast<const DovParser&>(parser);
        messages.Clear();
        parser.messages = &messages;
    }

    void UseDialects(std::initializer_list<int> dialects) {
        parser.dials = Dials(dialects);
        parser.lexer.dials = parser.dials;
    }

    // --- Names ----------------------------------------------------------
    DovSymTabElt* Elt(const char* name) { return parser.FindNameInProg(name); }
    DovNamedObjDef* Define(const char* name, int category, int flag = 0) {
        return parser.SymTabDefine(Elt(name), category, flag);
    }
    // A use of "A OF B OF C" given as {"A", "B", "C"}.
    DovNamedObjUse* Use(std::vector<const char*> names, int category, int setting = 0) {
        auto* list = new DovExprOper(OF_IN_LIST);
        for (const char* n : names) list->AddArg(new DovNameUse(DovLink(Elt(n))));
        return DovMakeNamedObjUse(list, static_cast<DovNameCategory>(category), setting);
    }

    // --- Programs -------------------------------------------------------
    DovExpr* Program(const char* name) {
        DovExpr* program = parser.StartProgram();
        DovNamedObjDef* def = Define(name, NC_PROGRAM_NAME);
        program->SetArg(0, Op(DIVISION_IDENTIFICATION, {{1, Op(PARA_PROGRAM_ID, {{0, def}})}}), -1, 0);
        return program;
    }
    // END PROGRAM name; an ignored header is deleted here.
    void End(const char* name) {
        DovExpr* header = Op(END_COBOL_PROGRAM, {{0, Use({name}, NC_PROGRAM_NAME)}});
        parser.EndProgram(header);
        if (!header->Parent()) delete header;
    }
    DovExpr* Root() const { return parser.root; }
    DovExpr* RootPrograms() const { return DovArgOrNull(parser.root, 0); }

    // --- Data -----------------------------------------------------------
    // A data entry (DECL_DD) of `level` named `name`, defined now; GLOBAL
    // when asked. Subordinate entries are added with Sub.
    DovExpr* Dd(int level, const char* name, bool global = false) {
        DovNamedObjDef* def = Define(name, NC_DATA_NAME);
        DovExpr* entry = Op(DECL_DD_ENTRY, {{0, new DovIntNumConst(level)}, {2, def}});
        if (global) entry->SetArg(11, new DovExprOper(DX_GLOBAL), -1, 0);
        return Op(DECL_DD, {{0, entry}});
    }
    static DovExpr* Sub(DovExpr* holder, DovExpr* child) {
        holder->SetArgToList(1, DECL_DD_LIST, child);
        return holder;
    }
    // A level-88 entry under `holder`.
    DovExpr* Cond(DovExpr* holder, const char* name) {
        DovNamedObjDef* def = Define(name, NC_CONDITION_NAME);
        return Sub(holder, Op(DECL_DD, {{0, Op(DECL_COND_ENTRY, {{2, def}})}}));
    }
    // The DATA DIVISION of `program`, made when missing.
    static DovExpr* DataDiv(DovExpr* program) {
        DovExpr* div = DovArgOrNull(program, 2);
        if (!div) {
            div = new DovExprOper(DIVISION_DATA);
            program->SetArg(2, div, -1, 0);
        }
        return div;
    }
    // Appends entries to WORKING-STORAGE (slot 4) or another section slot.
    static void Storage(DovExpr* program, std::vector<DovExpr*> entries, int slot = 4,
                        DovOper section = SECTION_WORKING_STORAGE) {
        DovExpr* div = DataDiv(program);
        DovExpr* sec = DovArgOrNull(div, slot);
        if (!sec) {
            sec = new DovExprOper(section);
            div->SetArg(slot, sec, -1, 0);
        }
        for (DovExpr* e : entries) sec->SetArgToList(0, DECL_DD_LIST, e);
    }

    // --- Procedures -----------------------------------------------------
    DovExpr* ProcDiv(DovExpr* program) {
        DovExpr* div = new DovExprOper(DIVISION_PROCEDURE);
        program->SetArg(3, div, -1, 0);
        parser.procHolder = div;
        parser.procSectionSlot = 7;
        parser.ResetProcState();
        return div;
    }
    DovExpr* Section(const char* name) {
        DovExpr* node = Op(SECTION_PROC, {{0, Define(name, NC_SECTION_NAME)}});
        EXPECT_EQ(parser.ProcessNewProc(node), 0);
        return node;
    }
    DovExpr* Para(const char* name) {
        DovExpr* node = Op(PARA_PROC, {{0, Define(name, NC_PARA_NAME, 1)}});
        EXPECT_EQ(parser.ProcessNewProc(node), 0);
        return node;
    }
    // A sentence holding the given uses.
    DovExpr* Sentence(std::vector<DovExpr*> uses = {}) {
        DovExpr* node = Op(SENTENCE, {{0, List(EX_LIST, uses)}});
        EXPECT_EQ(parser.ProcessNewProc(node), 0);
        return node;
    }

    // --- Messages -------------------------------------------------------
    // "ERR:text" / "WARN:text" of the message list, in order.
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const DovToken* t : messages)
            out.push_back(std::string(t->code == MSG_WARN ? "WARN:" : t->code == MSG_ERR ? "ERR:" : "?:") +
                          t->image.CStr());
        return out;
    }
    int Count(const char* text) const {
        int n = 0;
        for (const DovToken* t : messages) n += t->image == text;
        return n;
    }

    DovParserImpl parser;
    DovTokenList messages;
};

}  // namespace structure_test
