// The printer object: its generation table across copies and assignment,
// the one-pass rule, and the hook it installs for the parser.
#include <gtest/gtest.h>

#include <sstream>

#include "parser/hooks.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::PrintPass;

// A generation table with a chain of three entries behind slot 5 and one
// behind the last slot.
PrintTemplate* TableWithChains() {
    auto* table = new PrintTemplate[kDovGenTableSlots];
    table[5] = PrintTemplate(5, nullptr, "a");
    table[5].next = new PrintTemplate(5, nullptr, "b");
    table[5].next->next = new PrintTemplate(5, nullptr, "c");
    table[1400] = PrintTemplate(1400, nullptr, "z");
    table[1400].next = new PrintTemplate(1400, nullptr, "y");
    return table;
}

TEST(PrinterImpl, CopiesBuildTheirOwnGenerationTable) {
    DovPrettyPrinterImpl p;
    p.gen_table = TableWithChains();
    p.gen_indent_step = 3;
    DovPrettyPrinterImpl copy(p);
    EXPECT_EQ(copy.gen_table, nullptr);
    EXPECT_EQ(copy.gen_indent_step, 3);
    DovPrettyPrinterImpl target;
    target.gen_table = TableWithChains();
    target.DefineOptions(255);
    target = p;
    EXPECT_EQ(target.gen_table, nullptr);  // freed (the sanitizer build checks the chains)
    EXPECT_EQ(target.optionTable.count, 0);
    EXPECT_EQ(target.gen_indent_step, 3);
    EXPECT_NE(p.gen_table, nullptr);
    p.DropGenTable();
    EXPECT_EQ(p.gen_table, nullptr);
    p.DropGenTable();
}

TEST(PrinterImpl, FromTheAbstractSettings) {
    DovPrettyPrinterImpl base;
    base.gen_src = 1;
    const DovPrettyPrinter& settings = base;
    DovPrettyPrinterImpl copy(settings);
    EXPECT_EQ(copy.gen_src, 1);
    EXPECT_EQ(copy.gen_table, nullptr);
}

TEST(PrinterImpl, ASecondPassIsRefusedBeforeAnythingOfItsCallerIsInstalled) {
    DovPrettyPrinterImpl first;
    DovPrettyPrinterImpl second;
    PrintPass pass(first);
    DovTokenList& running = pass.Messages();
    DovTokenList callers;
    auto* root = new DovExprOper(STMT_LIST);
    EXPECT_EQ(DovBeginPrintPass(&second, &callers, root), kDovPrintInUse);
    EXPECT_EQ(DovPrinting.printer, &first);
    EXPECT_EQ(DovPrinting.messages, &running);
    EXPECT_EQ(DovPrinting.inUse, 1);
    EXPECT_TRUE(running.IsEmpty());
    ASSERT_FALSE(callers.IsEmpty());
    EXPECT_STREQ(callers.First()->image.CStr(), "(null): STMT_LIST: PrettyPrint is already in use");
    EXPECT_EQ(callers.First()->code, MSG_SEVERE);

    // Every entry point keeps the rule.
    std::ostringstream out;
    VString text = "old";
    EXPECT_EQ(second.PrettyPrint(out, root, &callers), kDovPrintInUse);
    EXPECT_EQ(second.FragmentPrint(out, root, &callers), kDovPrintInUse);
    EXPECT_EQ(second.PrintToString(text, root, &callers), kDovPrintInUse);
    EXPECT_EQ(second.PrintToFile("unused.out", root, &callers), kDovPrintInUse);
    EXPECT_EQ(first.PrettyPrint(out, root, &callers), kDovPrintInUse);
    EXPECT_EQ(DovPrinting.printer, &first);
    EXPECT_EQ(DovPrinting.messages, &running);
    EXPECT_TRUE(running.IsEmpty());
    EXPECT_EQ(out.str(), "");
    delete root;
}

TEST(PrinterImpl, APassStartsAndEnds) {
    vemlo_test::ResetPrintState();
    DovPrettyPrinterImpl p;
    p.debug_flags = 32;
    DovTokenList msgs;
    ASSERT_EQ(DovBeginPrintPass(&p, &msgs, nullptr), 0);
    EXPECT_EQ(DovPrinting.printer, &p);
    EXPECT_EQ(DovPrinting.messages, &msgs);
    EXPECT_EQ(DovPrinting.inUse, 1);
    EXPECT_EQ(DovPrinting.debugWord, 32);
    DovPrinting.CreateSourceReaders();
    DovEndPrintPass();
    EXPECT_EQ(DovPrinting.inUse, 0);
    EXPECT_EQ(DovPrinting.readers, nullptr);
    EXPECT_EQ(DovPrinting.currentReader, nullptr);
    // A new pass may start now.
    ASSERT_EQ(DovBeginPrintPass(&p, &msgs, nullptr), 0);
    DovEndPrintPass();
    vemlo_test::ResetPrintState();
}

TEST(PrinterImpl, AGonePrinterIsNoLongerCurrent) {
    vemlo_test::ResetPrintState();
    DovTokenList msgs;
    {
        DovPrettyPrinterImpl p;
        p.gen_max_indent = 5;
        ASSERT_EQ(DovBeginPrintPass(&p, &msgs, nullptr), 0);
        EXPECT_EQ(&DovPrintSettings(), &p);
        DovEndPrintPass();
    }
    EXPECT_EQ(DovPrinting.printer, nullptr);
    EXPECT_EQ(DovPrintSettings().gen_max_indent, 40);  // the defaults
    vemlo_test::ResetPrintState();
}

TEST(PrinterImpl, TheParserCallsTheSlotPositionPass) {
    // Installed at start-up already.
    EXPECT_EQ(DovSlotPosnHook, &DovSetSlotPosn);
    DovSlotPosnHook = nullptr;
    DovInstallPrinterHooks();
    EXPECT_EQ(DovSlotPosnHook, &DovSetSlotPosn);
}

}  // namespace
