#include "tool/grep_link.h"

#if !VEMLO_TOOL_HAS_GREP
#include <fstream>
#include <iterator>
#include <string>

#include "lbase/message.h"
#include "tree/walk.h"

WyrGrep::WyrGrep() : DovTransform(VString("Grep"), VString("Find Things in Cobol code")) {}

WyrGrep::WyrGrep(const WyrGrep& other)
    : DovTransform(other),
      query_text(other.query_text),
      query_file(other.query_file),
      print_query(other.print_query),
      print_src(other.print_src),
      node_dump(other.node_dump),
      print_err_pos(other.print_err_pos) {}

DovTransform* WyrGrep::Clone() const { return new WyrGrep(*this); }

void WyrGrep::DefineOptions() {
    const DovCommandLineFlag records[] = {
        {'-', "", nullptr, nullptr, nullptr, nullptr, 0, "Grep", 7},
        {'s', "q", nullptr, nullptr, &query_text, nullptr, 0, "Query", 7},
        {'s', "qf", nullptr, nullptr, &query_file, nullptr, 0, "Take query from this file", 7},
        {'b', "print-query", &print_query, nullptr, nullptr, nullptr, 0,
         "Print received query exactly as parser sees it", 7},
        {'b', "print-err-pos", &print_err_pos, nullptr, nullptr, nullptr, 0,
         "If query is incorrect, indicate position of error in the query", 7},
        {'b', "print-src", &print_src, nullptr, nullptr, nullptr, 0, "Print source lines that match query", 7},
        {},
    };
    DovSelectCommandLineFlags(options, records, 7);
}

int WyrGrep::Prepare(DovParser*, DovPrettyPrinter*, DovTokenList* msgs) {
    if (!query_file.IsEmpty()) {
        std::ifstream in(query_file.CStr());
        if (!in) {
            msgs->AddNewToken(MSG_ERR, DovNullPosn, DovFormat("Cannot open query file '%s'", query_file.CStr()));
            return 'T';
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        query_text = VString(text.c_str());
    }
    if (query_text.IsEmpty()) {
        msgs->AddNewToken(MSG_ERR, DovNullPosn, VString("No query specified"));
        return 'T';
    }
    if (print_query) msgs->AddNewToken(MSG_INFO, DovNullPosn, DovFormat("Query: %s", query_text.CStr()));
    query.text = query_text;
    VString message;
    int column = 0;
    const int result = query.Compile(nullptr, message, column);
    if (result != 0)
        msgs->AddNewToken(MSG_ERR, DovNullPosn,
                          DovFormat("Incorrect Query '%s': %s at col %d", query_text.CStr(), message.CStr(), column));
    return result;
}

char WyrGrep::TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr**) {
    if (!query.Match(node)) return 'A';
    WillTransform(this, 1);
    if (apply == 0) return 0;
    DovTxtPosn p = DovSrcPosnBeg(node);
    if (p.IsNull()) {
        msgs->AddNewToken(MSG_INFO, p, VString("(unknown_posn): Found"));
    } else if (!print_src) {
        msgs->AddNewToken(MSG_INFO, p, VString("Found"));
    } else {
        VString line, message;
        DovTxtPosn at = p;
        if (source.GetSrcLine(at, line, message) == 0)
            msgs->AddNewToken(MSG_INFO, p, line);
        else
            msgs->AddNewToken(MSG_ERR, p, message);
    }
    return 0;
}
#endif
