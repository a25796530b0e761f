// Bounded random inputs: sequence-number formats from the option value, and
// source order indexes as a damaged tree may carry them.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "tests/printer/printer_fixture.h"

namespace {

TEST(PrinterFuzz, SequenceNumberFormatsStayBounded) {
    const std::string alphabet = "%%%%-+ #0123456789.hlqjztdiuxXosnpcfeg*$AB";
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        std::string format;
        const int len = static_cast<int>(rng() % 40);
        for (int i = 0; i < len; ++i) format += alphabet[rng() % alphabet.size()];
        const long long number = static_cast<long long>(rng()) - (1LL << 31);
        const VString text = DovFormatSequenceNumber(VString(format.c_str()), number);
        // One conversion at most, of at most two-digit width and precision.
        ASSERT_LE(text.Len(), len + 128) << format;
    }
}

TEST(PrinterFuzz, RandomOrderIndexesKeepEveryEntryOnce) {
    std::mt19937 rng(11);
    for (int round = 0; round < 2000; ++round) {
        auto* entry = new DovExprOper(DECL_DD_ENTRY);
        for (int i = 0; i < 16; ++i) {
            const int order = static_cast<int>(rng() % 24) - 4;
            entry->SetArg(i, vemlo_test::Leaf("w", 1 + i, 11, 12), order, 1);
        }
        std::vector<DovPrintSlot> out;
        VString message;
        const char rc = SourcePrint(entry, out, message);
        std::set<const DovArgSlot*> seen;
        for (const DovPrintSlot& e : out) ASSERT_TRUE(seen.insert(e.slot).second) << "an entry given twice";
        ASSERT_LE(out.size(), 16u);
        if (out.size() < 16u) {
            ASSERT_EQ(rc, '3');
        }
        ASSERT_EQ(rc != 0, !message.IsEmpty());
        // The fixed clauses lead in slot order.
        for (int i = 0; i < 3; ++i) ASSERT_EQ(out[static_cast<std::size_t>(i)].index, i);
        vemlo_test::WorkingParserScope parser;
        DovSetSlotPosn(entry);
        int warnings = 0;
        for (const DovToken* t : parser.Messages()) warnings += t->code == MSG_WARN;
        ASSERT_EQ(warnings, rc != 0 ? 1 : 0);
        delete entry;
    }
}

}  // namespace
