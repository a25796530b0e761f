#include <sstream>

#include "grammar/actions.h"
#include "tests/grammar/frame_test_actions.h"

namespace frame_test {

Recorder rec;

namespace {

std::vector<std::string> input;
std::size_t next_token = 0;

int CodeOf(const std::string& letter) {
    static const char* const kLetters[] = {"A", "B", "C", "X", ";", "(", ")", "V", "D", "Q", "K", "Y"};
    for (int i = 0; i < 12; ++i)
        if (letter == kLetters[i]) return 300 + i;
    return 399;  // no token of the grammar
}

int Lex() {
    if (next_token >= input.size()) {
        yylval = nullptr;
        yyposn = nullptr;
        return 0;
    }
    const std::string name = input[next_token] + std::to_string(next_token);
    const int code = CodeOf(input[next_token]);
    ++next_token;
    ++rec.lexed;
    yylval = new DovCharString(name.c_str());
    yyposn = new DovTokenList;
    DovToken* token = new DovToken(code, name.c_str());
    yyposn->AppendToken(token);
    return code;
}

void ReportError(const char* text, int, YYSTYPE* value, YYPOSN*) {
    rec.errors.push_back(std::string(text) + " at " + ValueText(*value));
}

void DeleteValue(YYSTYPE v, int code) {
    if (!DovValueIsNode(v)) return;
    rec.released.push_back(ValueText(v) + "@" + std::to_string(code));
    DovDeleteExprCell(&v);
}

void DeletePosn(YYPOSN p, int code) {
    if (!p) return;
    rec.released_posns.push_back(TokenNames(p) + "@" + std::to_string(code));
    delete p;
}

void ReducePosn(YYPOSN* result, YYPOSN* posns, YYSTYPE*, int count, int, int, YYPOSN*, YYSTYPE) {
    ++rec.reduce_calls;
    for (int i = 0; i < count; ++i) {
        if (!posns[i]) continue;
        if (!*result) *result = new DovTokenList;
        (*result)->AppendList(*posns[i]);
        delete posns[i];
        posns[i] = nullptr;
    }
}

}  // namespace

void SetInput(const std::string& text) {
    input.clear();
    std::istringstream in(text);
    for (std::string w; in >> w;) input.push_back(w);
    next_token = 0;
    rec = Recorder();
}

DovFrameGrammar MakeGrammar(bool reduce_hook, const DovGrammarTables* tables) {
    DovFrameGrammar g;
    g.tables = tables;
    g.services.lex = Lex;
    g.services.report_syntax_error = ReportError;
    g.services.delete_value = DeleteValue;
    g.services.delete_posn = DeletePosn;
    if (reduce_hook) g.services.reduce_posn = ReducePosn;
    return g;
}

std::string TokenNames(const DovTokenList* list) {
    std::string out;
    if (!list) return out;
    for (DovToken* t : *list) {
        if (!t) continue;
        if (!out.empty()) out += ' ';
        out += t->image.CStr();
    }
    return out;
}

std::string ValueText(YYSTYPE v) {
    DovExpr* n = DovN(v);
    return n ? std::string(n->Image().CStr()) : std::string();
}

}  // namespace frame_test

YYSTYPE Build(const char* name, std::initializer_list<YYSTYPE> children) {
    std::string text = std::string(name) + "(";
    bool first = true;
    for (YYSTYPE c : children) {
        if (!first) text += ' ';
        first = false;
        text += frame_test::ValueText(c);
        DovDeleteExprCell(&c);
    }
    text += ")";
    frame_test::rec.built.push_back(text);
    return new DovCharString(text.c_str());
}

YYSTYPE Level(const char* form, YYSTYPE inner, std::initializer_list<YYSTYPE> tokens) {
    frame_test::rec.built.push_back(form);
    for (YYSTYPE t : tokens) DovDeleteExprCell(&t);
    return inner;
}

void Probe(const char* name, bool trial) {
    frame_test::rec.probes.push_back(std::string(name) + (trial ? "/T" : "/N"));
}

void Left(YYSTYPE value) { frame_test::rec.left.push_back(frame_test::ValueText(value)); }
