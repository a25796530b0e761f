// The generated CICS option table: its size, its statements and options
// against the operation catalogue, its order and its repeated rows.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "parser/parser.h"

namespace {

bool HasPrefix(const char* name, const char* prefix) { return std::strncmp(name, prefix, std::strlen(prefix)) == 0; }

TEST(CicsOptionTableTest, SizeStatementsAndOptions) {
    ASSERT_EQ(CicsOptionTableSize, 476);
    std::set<int> statements, options;
    for (int i = 0; i < CicsOptionTableSize; ++i) {
        const DovCicsOptionRow& r = CicsOptionTable[i];
        EXPECT_TRUE(HasPrefix(DovOperName(r.statement), "CS_STMT_")) << i;
        EXPECT_TRUE(HasPrefix(DovOperName(r.option), "CS_CL_")) << i;
        statements.insert(r.statement);
        options.insert(r.option);
    }
    EXPECT_EQ(statements.size(), 41u);
    EXPECT_EQ(options.size(), 163u);
    // Every statement of the catalogue, CS_STMT_ABEND to CS_STMT_XCTL.
    EXPECT_EQ(*statements.begin(), CS_STMT_ABEND);
    EXPECT_EQ(*statements.rbegin(), CS_STMT_XCTL);
    EXPECT_EQ(CS_STMT_XCTL - CS_STMT_ABEND + 1, 41);
}

TEST(CicsOptionTableTest, SortedWithExactlyTheThreeStatedRepeats) {
    std::vector<std::string> repeats;
    for (int i = 1; i < CicsOptionTableSize; ++i) {
        const DovCicsOptionRow& a = CicsOptionTable[i - 1];
        const DovCicsOptionRow& b = CicsOptionTable[i];
        ASSERT_TRUE(a.statement < b.statement || (a.statement == b.statement && a.option <= b.option)) << i;
        if (a.statement == b.statement && a.option == b.option) {
            EXPECT_EQ(a.slot, b.slot) << i;
            repeats.push_back(std::string(DovOperName(b.statement)) + " " + DovOperName(b.option));
        }
    }
    EXPECT_EQ(repeats, (std::vector<std::string>{"CS_STMT_FORMATTIME CS_CL_DATESEP",
                                                 "CS_STMT_FORMATTIME CS_CL_TIMESEP",
                                                 "CS_STMT_SEND_MAP CS_CL_CURSOR"}));
}

TEST(CicsOptionTableTest, SlotsRunUpToEachStatementsLastWithNohandleRespResp2) {
    std::map<int, std::map<int, std::set<int>>> slots;  // statement -> slot -> options
    for (int i = 0; i < CicsOptionTableSize; ++i)
        slots[CicsOptionTable[i].statement][CicsOptionTable[i].slot].insert(CicsOptionTable[i].option);
    for (const auto& [statement, bySlot] : slots) {
        SCOPED_TRACE(DovOperName(static_cast<std::uint16_t>(statement)));
        const int count = DovOperArgCount(static_cast<std::uint16_t>(statement));
        ASSERT_GE(count, 4);
        ASSERT_LE(count, 26);
        EXPECT_EQ(bySlot.rbegin()->first, count - 1);
        int expect = bySlot.begin()->first;
        EXPECT_GE(expect, 0);
        for (const auto& [slot, opts] : bySlot) EXPECT_EQ(slot, expect++);
        EXPECT_EQ(bySlot.at(count - 3), std::set<int>{CS_CL_NOHANDLE});
        EXPECT_EQ(bySlot.at(count - 2), std::set<int>{CS_CL_RESP});
        EXPECT_EQ(bySlot.at(count - 1), std::set<int>{CS_CL_RESP2});
    }
    // The statements whose slot 0 or 1 the grammar fills itself.
    EXPECT_EQ(slots[CS_STMT_ABEND].begin()->first, 1);
    EXPECT_EQ(slots[CS_STMT_ASSIGN].begin()->first, 2);
    EXPECT_EQ(slots[CS_STMT_HANDLE_CONDITION].begin()->first, 2);
    EXPECT_EQ(slots[CS_STMT_RECEIVE_MAP].begin()->first, 0);
}

TEST(CicsOptionTableTest, EveryRowIsFoundByTheLookup) {
    for (int i = 0; i < CicsOptionTableSize; ++i)
        EXPECT_EQ(FindCicsOptionSlot(CicsOptionTable[i].statement, CicsOptionTable[i].option),
                  CicsOptionTable[i].slot)
            << i;
}

}  // namespace
