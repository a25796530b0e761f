#include "tests/transform/query_corpus_tree.h"

#include <map>
#include <memory>

#include "lexer/lexer.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace vemlo_test {
namespace {

void IgnoreMessage(int, const DovTxtPosn&, const VString&) {}

DovOper VerbOperation(int code) {
    switch (code) {
    case RW_MOVE: return STMT_MOVE;
    case RW_IF: return STMT_IF;
    case RW_ADD: return STMT_ADD;
    case RW_DISPLAY: return STMT_DISPLAY;
    case RW_PERFORM: return STMT_PERFORM_PROC;
    case RW_GO: return STMT_GOTO;
    case RW_COMPUTE: return STMT_COMPUTE;
    default: return NULL_NODE;
    }
}

long long DigitsValue(const VString& image) {
    long long v = 0;
    for (int i = 0; i < image.Len() && v < 1000000000000LL; ++i)
        if (image[i] >= '0' && image[i] <= '9') v = v * 10 + (image[i] - '0');
    return v;
}

}  // namespace

DovExpr* BuildCorpusTree(const std::string& file, const std::string& copy_dir) {
    DovLexer lexer(IgnoreMessage, nullptr, nullptr, nullptr, nullptr);
    DovDialsAdd(lexer.dials, DIAL_ANSI85);
    lexer.copyDirs = VStringArray(1);
    lexer.copyDirs.items[lexer.copyDirs.count++] = copy_dir.c_str();
    lexer.copySuffixes = VStringArray(2);
    lexer.copySuffixes.items[lexer.copySuffixes.count++] = ".CPY";
    lexer.Reset();
    if (lexer.SetInput(file.c_str()) != 0) return nullptr;

    auto* root = new DovExprOper(COBOL_FILE);
    auto* programs = new DovExprOper(COBOL_PROGRAM_LIST);
    root->SetArg(0, programs);
    auto* program = new DovExprOper(COBOL_PROGRAM);
    programs->AddArg(program);
    auto* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    program->SetArg(kDovProgSymbolTableArg, table);
    auto* section = new DovExprOper(SECTION_PROC);
    program->SetArg(3, section);
    auto* sentences = new DovExprOper(STMT_LIST);
    section->SetArg(2, sentences);

    std::map<std::string, DovSymTabElt*> names;
    DovExpr* stmts = nullptr;  // the statements of the current sentence
    DovExpr* words = nullptr;  // where the next word goes
    for (int guard = 0; guard < 2000000; ++guard) {
        std::unique_ptr<DovTokenItem> item(lexer.GetToken());
        if (!item || !item->token) break;
        const int code = item->token->code;
        delete lexer.TakeMarkerNode(code);
        if (code == SEP_EOF) break;
        if (code == SEP_DOT) {
            stmts = words = nullptr;
            continue;
        }
        if (!stmts) {
            auto* sentence = new DovExprOper(SENTENCE);
            stmts = new DovExprOper(STMT_LIST);
            sentence->SetArg(0, stmts);
            sentences->AddArg(sentence);
            words = nullptr;
        }
        const DovOper verb = VerbOperation(code);
        if (verb != NULL_NODE || !words) {
            words = new DovExprOper(EX_LIST);
            if (verb != NULL_NODE) {
                auto* stmt = new DovExprOper(verb);
                stmt->SetArg(0, words);
                stmts->AddArg(stmt);
            } else {
                stmts->AddArg(words);
            }
        }
        const VString image = item->token->image;
        DovExpr* leaf;
        if (code == TK_INT_NUM_LIT) {
            leaf = new DovIntNumConst(image, DigitsValue(image));
        } else if (code == TK_NONNUM_LIT) {
            leaf = new DovStrConst(image);
        } else if (code == TK_USER_DEFD_WORD) {
            DovSymTabElt*& elt = names[image.CStr()];
            if (!elt) {
                elt = new DovSymTabElt(image, NC_UNKNOWN, DovLinkList());
                table->AddArg(elt);
            }
            leaf = new DovNameUse(DovLink(elt));
        } else {
            leaf = new DovTokenString(image);
        }
        DovExprSetFlagField(leaf, 1);
        DovToken* token = item->token;
        item->token = nullptr;
        leaf->Tokens().AppendToken(token);
        words->AddArg(leaf);
    }
    lexer.CloseInput();
    return root;
}

std::vector<DovExpr*> TreeNodes(DovExpr* root) {
    std::vector<DovExpr*> nodes;
    WalkTheTree(root, &nodes, [](DovExpr* n, void* c) -> int {
        static_cast<std::vector<DovExpr*>*>(c)->push_back(n);
        return DOV_WALK_DESCEND;
    });
    return nodes;
}

}  // namespace vemlo_test
