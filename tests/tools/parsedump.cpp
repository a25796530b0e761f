#include "tests/tools/parsedump.h"

#include <cstring>
#include <iostream>
#include <vector>

#include "lbase/cmdline.h"
#include "lbase/message.h"
#include "parser/parser.h"
#include "tree/walk.h"

namespace vemlo_tools {

namespace {

// Sends standard output to another stream while it lives.
class CoutTo {
public:
    explicit CoutTo(std::ostream& out) : saved_(std::cout.rdbuf(out.rdbuf())) {}
    CoutTo(const CoutTo&) = delete;
    CoutTo& operator=(const CoutTo&) = delete;
    ~CoutTo() {
        std::cout.flush();
        std::cout.rdbuf(saved_);
    }

private:
    std::streambuf* saved_;
};

// Numbers the nodes of a tree 0, 1, 2, ... in pre-order, as its TIC text
// numbers them: the dump shows a link by its target's number, the same
// whatever was parsed before.
void NumberNodes(DovExpr* root) {
    std::int32_t next = 0;
    WalkTheTree(root, &next, [](DovExpr* node, void* context) {
        node->SetSerial((*static_cast<std::int32_t*>(context))++);
        return static_cast<int>(DOV_WALK_DESCEND);
    });
}

const char kUsage[] = "usage: parsedump [parser options] [-lex-only] [-data-map] [-tic] FILE...\n";

}  // namespace

int ParseDumpMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
    DovParserImpl parser;
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);

    // The tool's own switches; every other word is the parser's.
    bool dataMap = false;
    bool tic = false;
    std::vector<const char*> words;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-lex-only") == 0)
            parser.lexOnly = 1;
        else if (std::strcmp(argv[i], "-data-map") == 0)
            dataMap = true;
        else if (std::strcmp(argv[i], "-tic") == 0)
            tic = true;
        else
            words.push_back(argv[i]);
    }
    VStringList files, problems;
    int rc = SetCLFlag(table, 0, static_cast<int>(words.size()), words.data(), files, problems);
    for (const VStringListNode* n = problems.head; n; n = n->next) err << "parsedump: " << n->value << '\n';
    if (rc != 0) {
        err << kUsage;
        return 2;
    }
    if (files.IsEmpty()) {
        err << kUsage;
        return 2;
    }
    VString error;
    if (parser.ResolveDialectDefaults(error) != 0) {
        err << "parsedump: " << error << '\n';
        return 2;
    }

    CoutTo redirect(out);
    int result = 0;
    for (const VStringListNode* n = files.head; n; n = n->next) {
        DovExpr* root = nullptr;
        DovTokenList messages;
        // A parse that stops before reading counts nothing.
        parser.tokenCount = 0;
        parser.lineCount = 0;
        const int status = parser.Parse(n->value.CStr(), root, &messages);
        if (root) {
            if (tic) {
                DovExpr::PutTic(root, std::cout);
                std::cout << '\n';
            } else {
                NumberNodes(root);
                root->Print(std::cout);
            }
            if (dataMap) DovPrintDataMap(std::cout, root);
            delete root;
        }
        for (const DovToken* m : messages) DovPrintPosnMessage(m->code, m->Beg(), m->image);
        std::cout << "status " << status << " tokens " << parser.tokenCount << " lines " << parser.lineCount << '\n';
        if (status != 0 && status != 1) result = 1;
    }
    return result;
}

}  // namespace vemlo_tools
