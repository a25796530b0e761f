// Runs the token adapter over a source text the way the grammar would:
// Parse with a grammar hook that calls yylex in a loop and records every
// lexeme (code, value, position), freeing what the grammar would own.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "parser/token_adapter.h"
#include "tests/lexer/temp_dir.h"
#include "tree/oper.h"
#include "tree/walk.h"

namespace vemlo_test {

struct PosnToken {
    int code;
    std::string image;
    DovTxtPosn beg, end;
};

struct Lexeme {
    int code = 0;
    std::string valueOper;   // operation name of the value node, "" for none
    std::string valueImage;  // its image when it is terminal
    long long intValue = 0;  // of an INT_NUM_CONST
    std::vector<PosnToken> posn;     // the tokens of yyposn
    std::vector<PosnToken> carried;  // the tokens of a marker's node
    DovTxtPosn at;                   // the working parser's current position after yylex

    // The codes of the position's tokens.
    std::vector<int> PosnCodes() const {
        std::vector<int> out;
        for (const PosnToken& t : posn) out.push_back(t.code);
        return out;
    }
};

inline std::vector<PosnToken> Copy(const DovTokenList& list) {
    std::vector<PosnToken> out;
    for (const DovToken* t : list)
        if (t) out.push_back({t->code, std::string(t->image.CStr(), t->image.Len()), t->Beg(), t->End()});
    return out;
}

// Frees a value the way the grammar would when it drops it: symbol-table
// elements belong to their table.
inline void DropValue(DovExpr* value) {
    if (DovValueIsNode(value) && value->Oper() != SYMBOL_TABLE_ELT) delete value;
}

class TokenAdapterRun {
public:
    TokenAdapterRun() {
        VString error;
        parser.primaryDialect = DIAL_ANSI85;
        EXPECT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
    }
    ~TokenAdapterRun() { delete root; }

    // Sets the dialect and derives the settings that follow from it.
    void Dialect(int primary) {
        parser.primaryDialect = primary;
        parser.dials = DovNoDials();
        VString error;
        EXPECT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
    }

    // Parses `source` (written to a file, members in `members`) with a
    // grammar that only reads lexemes; `afterEach` runs after every yylex
    // with the lexeme just read (it may set the parser's switches).
    std::vector<Lexeme> Run(const std::string& source,
                            std::function<void(const Lexeme&)> afterEach = nullptr) {
        const std::string file = dir.Write("prog.cbl", source);
        return RunFile(file, std::move(afterEach));
    }

    std::vector<Lexeme> RunFile(const std::string& file, std::function<void(const Lexeme&)> afterEach = nullptr) {
        Current() = this;
        each = std::move(afterEach);
        lexemes.clear();
        trailing.clear();
        DovGrammarHooks saved = DovGrammar;
        DovGrammar = DovGrammarHooks();
        DovGrammar.parse = [] { return Current()->Loop(); };
        delete root;
        root = nullptr;
        messages.Clear();
        status = parser.Parse(file.c_str(), root, &messages);
        DovGrammar = saved;
        Current() = nullptr;
        return lexemes;
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> out;
        for (const DovToken* t : messages) out.push_back(std::string(t->image.CStr(), t->image.Len()));
        return out;
    }

    TempDir dir;
    DovParserImpl parser;
    DovExpr* root = nullptr;
    DovTokenList messages;
    int status = -1;
    std::vector<Lexeme> lexemes;
    std::vector<PosnToken> trailing;  // the parser's trailing tokens at the end of input

private:
    static TokenAdapterRun*& Current() {
        static TokenAdapterRun* current = nullptr;
        return current;
    }

    int Loop() {
        for (int guard = 0; guard < 2000000; ++guard) {
            const int code = yylex();
            Lexeme lx;
            lx.code = code;
            lx.at = WorkingParser->currentPosn;
            if (DovExpr* v = DovValueNode(yylval)) {
                lx.valueOper = DovOperName(v->Oper());
                if (v->IsTerminal()) lx.valueImage = std::string(v->Image().CStr(), v->Image().Len());
                if (v->Oper() == INT_NUM_CONST) lx.intValue = v->IntValue();
                if (code == SEP_INLINED_COPY || code == SEP_UNINLINED_COPY) {
                    DovTokenList gathered;
                    DovGatherTokens(v, &gathered);
                    lx.carried = Copy(gathered);
                }
            }
            if (yyposn) lx.posn = Copy(*yyposn);
            DropValue(yylval);
            delete yyposn;
            yylval = nullptr;
            yyposn = nullptr;
            lexemes.push_back(lx);
            if (each) each(lexemes.back());
            if (code == 0) break;
        }
        trailing = Copy(WorkingParser->trailingTokens);
        return 0;
    }

    std::function<void(const Lexeme&)> each;
};

// The codes of a run, without the end of input.
inline std::vector<int> Codes(const std::vector<Lexeme>& lexemes) {
    std::vector<int> out;
    for (const Lexeme& l : lexemes)
        if (l.code) out.push_back(l.code);
    return out;
}

// The first lexeme of `code`, or null.
inline const Lexeme* FindCode(const std::vector<Lexeme>& lexemes, int code) {
    for (const Lexeme& l : lexemes)
        if (l.code == code) return &l;
    return nullptr;
}

// The lexeme whose value image (or last position token's image) is `image`.
inline const Lexeme* FindImage(const std::vector<Lexeme>& lexemes, const std::string& image) {
    for (const Lexeme& l : lexemes) {
        if (l.valueImage == image) return &l;
        if (!l.posn.empty() && l.posn.back().image == image) return &l;
    }
    return nullptr;
}

}  // namespace vemlo_test
