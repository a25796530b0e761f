// Every command of the CICS option table reads the same whatever the order
// of its options: for each statement of the table, one option of each of
// its slots (with an argument where the option takes one) is written in the
// table's order and in shuffled orders, and every order gives the same tree
// shape, of that statement, with no message. The items of ASSIGN, HANDLE
// and IGNORE keep their own order; the options go anywhere among them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "parser/cics_options.h"
#include "tests/grammar/cics_support.h"
#include "tests/grammar/grammar_fixture.h"
#include "tree/oper.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;

struct Command {
    int statement = 0;
    std::string head;                  // the command words
    std::vector<std::string> items;    // of ASSIGN, HANDLE and IGNORE, in their order
    std::vector<std::string> options;  // one option of each slot, in slot order
};

// An operation's name without its prefix: CS_CL_MAPSET is MAPSET.
std::string Unprefixed(int op, const std::string& prefix) {
    std::string name = DovOperName(static_cast<std::uint16_t>(op));
    return name.compare(0, prefix.size(), prefix) == 0 ? name.substr(prefix.size()) : name;
}

// The items the command words of `statement` take before any option.
std::vector<std::string> ItemsOf(int statement) {
    switch (statement) {
        case CS_STMT_ASSIGN: return {"SYSID(S1)", "APPLID(S2)"};
        case CS_STMT_HANDLE_AID: return {"CLEAR(P1)", "PF3"};
        case CS_STMT_HANDLE_CONDITION: return {"NOTFND(P1)", "ERROR"};
        case CS_STMT_IGNORE_CONDITION: return {"LENGERR", "QIDERR"};
        default: return {};
    }
}

// The commands of the table. A statement whose slot 0 takes an option (SEND
// MAP) is written with the words of its first form (SEND) and that option.
std::vector<Command> TableCommands() {
    std::map<int, std::map<int, int>> slots;  // statement -> slot -> its first option
    for (int i = 0; i < CicsOptionTableSize; ++i)
        slots[CicsOptionTable[i].statement].emplace(CicsOptionTable[i].slot, CicsOptionTable[i].option);
    std::vector<Command> commands;
    int argument = 0;
    for (const auto& [statement, options] : slots) {
        Command c;
        c.statement = statement;
        std::string words = Unprefixed(statement, "CS_STMT_");
        if (options.begin()->first == 0) {
            const std::string key = Unprefixed(options.begin()->second, "CS_CL_");
            words.resize(words.size() - key.size() - 1);
        }
        std::replace(words.begin(), words.end(), '_', ' ');
        c.head = words;
        c.items = ItemsOf(statement);
        for (const auto& [slot, option] : options) {
            std::string text = Unprefixed(option, "CS_CL_");
            if (DovOperArgCount(static_cast<std::uint16_t>(option)) > 0)
                text += "(A" + std::to_string(++argument) + ")";
            c.options.push_back(text);
        }
        commands.push_back(c);
    }
    return commands;
}

// The command written with its items and options in `order` (indexes into
// items then options); the items stay in their own order wherever the order
// puts them.
std::string Written(const Command& c, const std::vector<std::size_t>& order) {
    std::string text = "EXEC CICS " + c.head;
    std::size_t item = 0;
    for (std::size_t k : order)
        text += " " + (k < c.items.size() ? c.items[item++] : c.options[k - c.items.size()]);
    return text + " END-EXEC.";
}

// The shapes of the CICS statements of one program holding every command,
// each in the order `order_of` gives it.
template <typename OrderOf>
std::vector<std::string> Shapes(const std::vector<Command>& commands, OrderOf order_of) {
    std::string source;
    for (const Command& c : commands) source += vemlo_cics_test::Wrapped(Written(c, order_of(c))) + "\n";
    GrammarRun run;
    run.ParseStatements(source);
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_TRUE(run.Messages().empty()) << run.MessageText();
    EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");
    std::vector<std::string> shapes;
    for (DovExpr* exec : FindAll(run.root(), STMT_EXEC_CICS)) shapes.push_back(Shape(exec->Args(0)));
    return shapes;
}

TEST(CicsOrder, EveryTableCommandReadsTheSameInAnyOrderOfItsOptions) {
    const std::vector<Command> commands = TableCommands();
    ASSERT_EQ(commands.size(), 41u);
    auto in_order = [](const Command& c) {
        std::vector<std::size_t> order(c.items.size() + c.options.size());
        for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
        return order;
    };
    const std::vector<std::string> reference = Shapes(commands, in_order);
    ASSERT_EQ(reference.size(), commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const std::string op = DovOperName(static_cast<std::uint16_t>(commands[i].statement));
        EXPECT_EQ(reference[i].compare(0, op.size() + 1, op + "("), 0) << reference[i];
    }

    std::mt19937 random(52);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        auto shuffled = [&](const Command& c) {
            std::vector<std::size_t> order = in_order(c);
            if (round == 0)
                std::reverse(order.begin(), order.end());
            else
                std::shuffle(order.begin(), order.end(), random);
            return order;
        };
        const std::vector<std::string> shapes = Shapes(commands, shuffled);
        ASSERT_EQ(shapes.size(), reference.size());
        for (std::size_t i = 0; i < shapes.size(); ++i) EXPECT_EQ(shapes[i], reference[i]) << commands[i].head;
    }
}

}  // namespace
