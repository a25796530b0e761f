// The grep as an object: initial values, the option records and the option
// engine filling them, the factory and the registration under "Grep",
// copies, and the stored form written and read back.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "lbase/cmdline.h"
#include "tests/transform/grep_test_util.h"
#include "transform/transform.h"
#include "tree/leaf.h"

namespace {

using vemlo_test::GrepRun;
using Strings = std::vector<std::string>;

using vemlo_test::Str;

// Whether "Grep" was registered before the first test ran, that is, by the
// start-up registration alone (the registry tests empty the registry).
bool g_grep_at_start = false;

class RegistryAtStart : public testing::Environment {
public:
    void SetUp() override {
        for (int i = 0; i < DovTransform::RegisteredCount(); ++i)
            if (DovTransform::RegisteredName(i) == "Grep") g_grep_at_start = true;
    }
};
[[maybe_unused]] testing::Environment* const g_env = testing::AddGlobalTestEnvironment(new RegistryAtStart);

TEST(GrepObject, InitialValues) {
    WyrGrep g;
    EXPECT_EQ(Str(g.name), "Grep");
    EXPECT_EQ(Str(g.description), "Find Things in Cobol code");
    EXPECT_EQ(Str(g.ClassName()), "Grep");
    EXPECT_EQ(Str(g.ClassDescription()), "Find Things in Cobol code");
    EXPECT_FALSE(g.ModifiesTree());
    EXPECT_TRUE(g.query_text.IsEmpty());
    EXPECT_TRUE(g.query_file.IsEmpty());
    EXPECT_EQ(g.print_query, 0);
    EXPECT_EQ(g.print_src, 1);
    EXPECT_EQ(g.node_dump, 0);
    EXPECT_EQ(g.print_err_pos, 1);
    EXPECT_EQ(g.query.chain, nullptr);
    EXPECT_TRUE(g.source_lines.IsEmpty());
    EXPECT_EQ(g.options.count, 0);
    EXPECT_EQ(g.ref_count, 0);
    std::ostringstream os;
    g.Print(os);
    EXPECT_EQ(os.str(), "Transformation Grep class=Grep is_owned=0 dir_name= inst_descr='Find Things in Cobol code'\n");
    // Nothing compiled: nothing matches.
    DovExprOper move(STMT_MOVE);
    EXPECT_EQ(g.TransformNode(&move, 1, nullptr, nullptr), 'A');
}

TEST(GrepObject, OptionRecords) {
    WyrGrep g;
    g.DefineOptions();
    ASSERT_EQ(g.options.count, 6);
    struct Row {
        char kind;
        const char* name;
        const void* target;
        const char* help;
    };
    const Row rows[] = {
        {'-', "", nullptr, "Grep"},
        {'s', "q", &g.query_text, "Query"},
        {'s', "qf", &g.query_file, "Take query from this file"},
        {'b', "print-query", &g.print_query, "Print received query exactly as parser sees it"},
        {'b', "print-err-pos", &g.print_err_pos, "If query is incorrect, indicate position of error in the query"},
        {'b', "print-src", &g.print_src, "Print source lines that match query"},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const DovCommandLineFlag& f = g.options.flags[i];
        EXPECT_EQ(f.kind, rows[i].kind);
        EXPECT_STREQ(f.name, rows[i].name);
        EXPECT_STREQ(f.help, rows[i].help);
        EXPECT_EQ(f.mask, 7);
        const void* target = f.kind == 's' ? static_cast<const void*>(f.string) : static_cast<const void*>(f.value);
        EXPECT_EQ(target, rows[i].target);
        EXPECT_EQ(f.kind == 's' ? static_cast<const void*>(f.value) : static_cast<const void*>(f.string), nullptr);
        EXPECT_EQ(f.choices, nullptr);
        EXPECT_EQ(f.count, nullptr);
        EXPECT_EQ(f.capacity, 0);
    }
    EXPECT_EQ(g.options.flags[6].kind, 0);
    // Defining them again gives the same table.
    g.DefineOptions();
    EXPECT_EQ(g.options.count, 6);
    EXPECT_EQ(g.options.flags[6].kind, 0);
}

TEST(GrepObject, OptionEngineFillsTheFields) {
    WyrGrep g;
    g.DefineOptions();
    const char* words[] = {"vemlo", "-q=STMT_MOVE OR STMT_IF", "-qf=C:dir/q.txt:Main", "-print-query",
                           "-no-print-src", "-no-print-err-pos", "a.cbl"};
    VStringList files, messages;
    EXPECT_EQ(SetCLFlag(g.options, 1, 7, words, files, messages), 0);
    EXPECT_EQ(Str(g.query_text), "STMT_MOVE OR STMT_IF");
    EXPECT_EQ(Str(g.query_file), "C:dir/q.txt:Main");
    EXPECT_EQ(g.print_query, 1);
    EXPECT_EQ(g.print_src, 0);
    EXPECT_EQ(g.print_err_pos, 0);
    EXPECT_EQ(g.node_dump, 0);
}

TEST(GrepObject, FactoryAndRegistration) {
    EXPECT_TRUE(g_grep_at_start) << "the class was not registered at start-up";
    const int live = DovTransform::LiveCount();
    DovTransform* made = WyrGrep::Create();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(DovTransform::LiveCount(), live + 1);
    auto* grep = dynamic_cast<WyrGrep*>(made);
    ASSERT_NE(grep, nullptr);
    EXPECT_EQ(grep->print_src, 1);
    EXPECT_EQ(grep->print_err_pos, 1);
    delete made;
    EXPECT_EQ(DovTransform::LiveCount(), live);

    // Registering again does nothing, also after the registry lost it.
    const int count = DovTransform::RegisteredCount();
    EXPECT_EQ(WyrGrepRegister(), 0);
    EXPECT_EQ(DovTransform::RegisteredCount(), count);
    if (g_grep_at_start) {
        VString message;
        DovTransform* t = nullptr;
        int found = -1;
        for (int i = 0; i < DovTransform::RegisteredCount(); ++i)
            if (DovTransform::RegisteredName(i) == "Grep") found = i;
        if (found >= 0) {
            EXPECT_EQ(Str(DovTransform::RegisteredDescription(found)), "Find Things in Cobol code");
            ASSERT_EQ(DovTransform::NewByName("Grep", t, message), 0);
            ASSERT_NE(dynamic_cast<WyrGrep*>(t), nullptr);
            delete t;
        }
    }
}

TEST(GrepObject, CloneOfAFailedQuery) {
    GrepRun run;
    run.grep.query_text = "OP ~ STMT_MOVE";
    run.grep.print_query = 1;
    run.grep.print_src = 0;
    run.grep.node_dump = 1;
    run.grep.print_err_pos = 0;
    EXPECT_EQ(run.Prepare(), 87);
    run.grep.query_file = "none.txt:x";
    run.grep.DefineOptions();

    DovTransform* copy = run.grep.Clone();
    ASSERT_NE(copy, nullptr);
    auto* g = dynamic_cast<WyrGrep*>(copy);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Str(g->query_text), "OP ~ STMT_MOVE");
    EXPECT_EQ(Str(g->query_file), "none.txt:x");
    EXPECT_EQ(g->print_query, 1);
    EXPECT_EQ(g->print_src, 0);
    EXPECT_EQ(g->node_dump, 1);
    EXPECT_EQ(g->print_err_pos, 0);
    EXPECT_EQ(Str(g->query.text), "OP ~ STMT_MOVE");
    EXPECT_EQ(g->query.chain, nullptr);
    EXPECT_EQ(g->options.count, 0);
    EXPECT_TRUE(g->source_lines.IsEmpty());
    DovExprOper move(STMT_MOVE);
    DovTokenList msgs;
    EXPECT_EQ(g->TransformNode(&move, 1, &msgs, nullptr), 'A');
    EXPECT_TRUE(msgs.IsEmpty());
    // Its own Prepare makes it search.
    g->query_file = "";
    g->query_text = "STMT_MOVE";
    EXPECT_EQ(g->Prepare(nullptr, nullptr, &msgs), 0);
    EXPECT_EQ(g->TransformNode(&move, 1, &msgs, nullptr), 0);
    delete copy;
}

TEST(GrepObject, CloneSearchesAtOnce) {
    GrepRun run;
    run.grep.query_text = "STMT_MOVE";
    ASSERT_EQ(run.Prepare(), 0);
    // A text changed after the compile is copied as the text; the compiled
    // query is the one last compiled.
    run.grep.query_text = "STMT_IF";
    std::unique_ptr<DovTransform> copy(run.grep.Clone());
    auto* g = static_cast<WyrGrep*>(copy.get());
    EXPECT_EQ(Str(g->query_text), "STMT_IF");
    DovExprOper move(STMT_MOVE);
    EXPECT_EQ(g->TransformNode(&move, 0, nullptr, nullptr), 0);
    // Before any Prepare there is nothing compiled: the copy, too, matches
    // nothing (an empty text compiled would match every node).
    WyrGrep fresh;
    fresh.query_text = "STMT_MOVE";
    WyrGrep copied(fresh);
    EXPECT_EQ(copied.query.chain, nullptr);
    EXPECT_EQ(copied.TransformNode(&move, 0, nullptr, nullptr), 'A');
}

std::string Written(const WyrGrep& g) {
    std::ostringstream os;
    g.PutTic(os);
    return os.str();
}

// The stored file's reader takes the version and the class name first.
char ReadBack(const std::string& text, WyrGrep& g, VString& message) {
    std::istringstream is(text);
    VString version, cls;
    char rc = version.GetTic(is, ':', message);
    if (!rc) rc = cls.GetTic(is, ':', message);
    if (!rc) rc = g.GetTic(is, message);
    return rc;
}

TEST(GrepObject, StoredForm) {
    WyrGrep g;
    g.query_text = "STMT_IF";
    EXPECT_EQ(Written(g), "4-2-0:Grep:Grep:0:Find Things in Cobol code\n7:STMT_IF0:0,1,0,1,");

    // Every field back, the node-dump flag included, and texts the
    // delimited form would have to escape.
    WyrGrep h;
    h.query_text = "STMT_MOVE\nOR IMAGE == 'a:b,c'";
    h.query_file = "C:dir/q.txt:Main";
    h.print_query = 1;
    h.print_src = 0;
    h.node_dump = 1;
    h.print_err_pos = 0;
    h.name = "my grep";
    const std::string text = Written(h);
    EXPECT_EQ(text.substr(text.size() - 8), "1,0,1,0,");
    WyrGrep back;
    VString message;
    ASSERT_EQ(ReadBack(text, back, message), 0) << message;
    EXPECT_EQ(Str(back.name), "my grep");
    EXPECT_EQ(Str(back.query_text), Str(h.query_text));
    EXPECT_EQ(Str(back.query_file), Str(h.query_file));
    EXPECT_EQ(back.print_query, 1);
    EXPECT_EQ(back.print_src, 0);
    EXPECT_EQ(back.node_dump, 1);
    EXPECT_EQ(back.print_err_pos, 0);
    // Nothing is compiled by reading.
    EXPECT_EQ(back.query.chain, nullptr);
    EXPECT_EQ(Written(back), text);

    // As the storage reads a file: the class name makes the object.
    std::istringstream is(text);
    VString version, cls;
    ASSERT_EQ(version.GetTic(is, ':', message), 0);
    ASSERT_EQ(cls.GetTic(is, ':', message), 0);
    EXPECT_EQ(Str(cls), "Grep");
    DovTransform* made = nullptr;
    if (DovTransform::NewByName(cls, made, message) == 0) {
        std::unique_ptr<DovTransform> owner(made);
        ASSERT_EQ(made->GetTic(is, message), 0) << message;
        EXPECT_EQ(Str(static_cast<WyrGrep*>(made)->query_file), Str(h.query_file));
        EXPECT_EQ(static_cast<WyrGrep*>(made)->node_dump, 1);
    }
}

TEST(GrepObject, StoredFormBadInputTable) {
    const std::string good = "4-2-0:Grep:Grep:0:Find\n3:abc2:xy1,0,1,0,";
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"ends after the base record", "4-2-0:Grep:Grep:0:Find\n"},
        {"query length past the end", "4-2-0:Grep:Grep:0:Find\n30:abc"},
        {"negative length", "4-2-0:Grep:Grep:0:Find\n-3:abc2:xy1,0,1,0,"},
        {"flag without its comma", "4-2-0:Grep:Grep:0:Find\n3:abc2:xy1,0,1,0"},
        {"negative flag", "4-2-0:Grep:Grep:0:Find\n3:abc2:xy1,-1,1,0,"},
        {"letter for a flag", "4-2-0:Grep:Grep:0:Find\n3:abc2:xy1,x,1,0,"},
        {"three flags", "4-2-0:Grep:Grep:0:Find\n3:abc2:xy1,0,1,"},
    };
    WyrGrep ok;
    VString message;
    ASSERT_EQ(ReadBack(good, ok, message), 0) << message;
    EXPECT_EQ(Str(ok.query_text), "abc");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WyrGrep back;
        back.query_text = "kept";
        message = "";
        EXPECT_NE(ReadBack(c.text, back, message), 0);
        EXPECT_FALSE(message.IsEmpty());
        // A failed read leaves the grep's own fields as they were.
        EXPECT_EQ(Str(back.query_text), "kept");
        EXPECT_EQ(back.print_src, 1);
    }
}

// Stored records damaged at random: the reader answers every one with 0 or
// a reader code, never more than the input holds.
TEST(GrepObject, StoredFormMutated) {
    WyrGrep g;
    g.query_text = "STMT_MOVE OR IMAGE == 'a:b'";
    g.query_file = "q.txt:x";
    g.node_dump = 1;
    const std::string stored = Written(g);
    std::mt19937 rng(29);
    for (int round = 0; round < 3000; ++round) {
        std::string text = stored;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % (text.size() + 1);
            switch (rng() % 4) {
            case 0: text.insert(at, 1, static_cast<char>(rng() & 0xff)); break;
            case 1: if (at < text.size()) text.erase(at, 1 + rng() % 6); break;
            case 2: if (at < text.size()) text[at] = "0123456789:,-\n\\"[rng() % 15]; break;
            default: text.insert(at, std::to_string(rng() % 100000)); break;
            }
        }
        WyrGrep back;
        VString message;
        const char rc = ReadBack(text, back, message);
        if (rc == 0) {
            EXPECT_LE(back.query_text.Len() + back.query_file.Len(), static_cast<int>(text.size()));
        } else {
            EXPECT_TRUE(std::string(";9><?").find(rc) != std::string::npos) << int(rc);
        }
    }
}

}  // namespace
