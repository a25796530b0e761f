// WyrGrep: construction and copying, the options, the start-up registration
// under "Grep", Prepare (loading, reporting and compiling the query),
// TransformNode (matching and the match messages) and the stored form.
#include "transform/grep/grep.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <istream>
#include <ostream>
#include <string>
#include <system_error>

#include "lbase/fast_ostream.h"
#include "lbase/message.h"
#include "lbase/tic.h"
#include "tree/expr.h"
#include "tree/walk.h"

namespace {

const char kClassName[] = "Grep";
const char kDescription[] = "Find Things in Cobol code";
// Every option record of the grep is selected by these group bits.
constexpr int kOptionMask = 7;

VString Description() { return VString(kDescription).StripPair('(', ')'); }

void Report(DovTokenList* msgs, int code, const DovTxtPosn& posn, const VString& text) {
    if (msgs) msgs->AddNewToken(code, posn, text);
}

VString FromString(const std::string& s) { return VString(s.data(), static_cast<int>(s.size())); }

// The query file opened for reading; a directory counts as a file that
// cannot be opened (it would read as empty).
bool OpenQueryFile(const VString& file, std::ifstream& in) {
    std::error_code ec;
    if (std::filesystem::is_directory(file.CStr(), ec)) return false;
    in.open(file.CStr(), std::ios::in | std::ios::binary);
    return in.is_open();
}

}  // namespace

std::uint32_t WyrGrep::max_query_len = VString::kMaxLen;

// --- construction ------------------------------------------------------------

WyrGrep::WyrGrep() : DovTransform(kClassName, Description()) {}

WyrGrep::WyrGrep(const WyrGrep& other)
    : DovTransform(other),
      query_text(other.query_text),
      query_file(other.query_file),
      print_query(other.print_query),
      print_src(other.print_src),
      node_dump(other.node_dump),
      print_err_pos(other.print_err_pos) {
    // The copy is ready to search with the query last compiled by the other
    // one; a query that does not compile leaves it matching nothing. Before
    // the other one's first Prepare there is no text: compiling it would
    // give a query that matches every node, where the other matches none.
    query.text = other.query.text;
    if (!query.text.IsEmpty()) {
        VString message;
        int column = 0;
        query.Compile(nullptr, message, column);
    }
}

// The members go in reverse order: the source lines read,
// the compiled query (its chain and variables), the texts; then the base.
WyrGrep::~WyrGrep() = default;

DovTransform* WyrGrep::Create() { return new WyrGrep(); }

DovTransform* WyrGrep::Clone() const { return new WyrGrep(*this); }

VString WyrGrep::ClassName() const { return kClassName; }

VString WyrGrep::ClassDescription() const { return Description(); }

// --- registration --------------------------------------------------------------

int WyrGrepRegister() {
    static int runs = 0;
    if (runs++ > 0) return 0;
    WyrGrep sample;
    VString message;
    return DovTransform::Register(sample, WyrGrep::Create, message);
}

namespace {
// Registers the class before main in every program that links this file,
// which any program making a WyrGrep does.
[[maybe_unused]] const int g_grep_registered = (WyrGrepRegister(), 1);
}  // namespace

// --- options -------------------------------------------------------------------

void WyrGrep::DefineOptions() {
    auto record = [](char kind, const char* name, int* value, VString* string, const char* help) {
        DovCommandLineFlag f;
        f.kind = kind;
        f.name = name;
        f.value = value;
        f.string = string;
        f.help = help;
        f.mask = kOptionMask;
        return f;
    };
    options = DovCommandLineFlagTable();
    options.flags[0] = record('-', "", nullptr, nullptr, "Grep");
    options.flags[1] = record('s', "q", nullptr, &query_text, "Query");
    options.flags[2] = record('s', "qf", nullptr, &query_file, "Take query from this file");
    options.flags[3] =
        record('b', "print-query", &print_query, nullptr, "Print received query exactly as parser sees it");
    options.flags[4] = record('b', "print-err-pos", &print_err_pos, nullptr,
                              "If query is incorrect, indicate position of error in the query");
    options.flags[5] = record('b', "print-src", &print_src, nullptr, "Print source lines that match query");
    options.count = 6;
}

// --- preparing for a file ------------------------------------------------------

int WyrGrep::Prepare(DovParser*, DovPrettyPrinter*, DovTokenList* msgs) {
    // A new input file: the files read for the last one are let go.
    source_lines.Clear();
    if (!query_file.IsEmpty()) {
        VString file, name;
        WyrGrepSplitQueryFile(query_file, file, name);
        std::ifstream in;
        if (!OpenQueryFile(file, in)) {
            Report(msgs, MSG_ERR, DovNullPosn, VString("Cannot open query file '") + file + "'");
            return DOV_TR_NO_QUERY;
        }
        VString text;
        const WyrGrepReadResult got = name.IsEmpty() ? WyrGrepReadWholeQuery(in, text, max_query_len)
                                                     : WyrGrepReadNamedQuery(in, name, text, max_query_len);
        in.close();
        if (got == WyrGrepReadResult::kTooLong) {
            Report(msgs, MSG_ERR, DovNullPosn, VString("Query file '") + file + "' is too long");
            return DOV_TR_NO_QUERY;
        }
        // A name that no section carries leaves the text as it was.
        if (got == WyrGrepReadResult::kOk) query_text = text;
    }

    if (query_text.IsEmpty()) {
        Report(msgs, MSG_ERR, DovNullPosn, "No query specified");
        return DOV_TR_NO_QUERY;
    }
    if (print_query) Report(msgs, MSG_INFO, DovNullPosn, VString("Query: ") + query_text);

    // The search only reads the tree: assignments are refused.
    query.text = query_text;
    query.allowAssignments = false;
    VString message;
    int column = 0;
    const std::uint8_t rc = query.Compile(nullptr, message, column);
    if (rc == 0) return 0;

    if (print_err_pos) {
        std::string text = "Incorrect query: ";
        text.append(message.CStr(), static_cast<std::size_t>(message.Len()));
        text += " at col. " + std::to_string(column + 1) + ".\n";
        text += WyrGrepCaretPicture(query_text, column);
        Report(msgs, MSG_ERR, DovNullPosn, FromString(text));
    } else {
        Report(msgs, MSG_ERR, DovNullPosn,
               VString("Incorrect Query '") + WyrGrepPrintable(query_text) + "': " + message + " at col " +
                   VString(std::to_string(column).c_str()));
    }
    return rc;
}

// --- the per-node work ---------------------------------------------------------

char WyrGrep::TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr**) {
    if (!node || !query.Match(node)) return DOV_TR_NOT_APPLICABLE;
    // Quiet: the grep's own messages stand for the engine's "Found".
    WillTransform(this, 1);
    if (apply == 0) return 0;

    const DovTxtPosn p = DovSrcPosnBeg(node);
    if (p.Line() == 0 && p.Column() == 0) {
        Report(msgs, MSG_INFO, p, "(unknown_posn): Found");
    } else if (!print_src) {
        Report(msgs, MSG_INFO, p, "Found");
    } else {
        VString line, message;
        if (source_lines.GetLine(p, line, message) == 0)
            Report(msgs, MSG_INFO, p, line);
        else
            Report(msgs, MSG_ERR, p, message);
    }
    if (node_dump) {
        FastOstrstream os;
        node->Print(os);
        Report(msgs, MSG_INFO, DovNullPosn, VString(os));
    }
    return 0;
}

// --- the stored form -------------------------------------------------------------

void WyrGrep::PutTic(std::ostream& os) const {
    DovTransform::PutTic(os);
    query_text.PutTicCounted(os);
    query_file.PutTicCounted(os);
    os << print_query << ',' << print_src << ',' << node_dump << ',' << print_err_pos << ',';
}

char WyrGrep::GetTic(std::istream& is, VString& message) {
    if (char rc = DovTransform::GetTic(is, message)) return rc;
    VString text, file;
    if (char rc = text.GetTicCounted(is, message)) return rc;
    if (char rc = file.GetTicCounted(is, message)) return rc;
    int flags[4] = {};
    for (int& flag : flags)
        if (char rc = GetTicIntNo(is, flag, false, ',', message)) return rc;
    query_text = text;
    query_file = file;
    print_query = flags[0];
    print_src = flags[1];
    node_dump = flags[2];
    print_err_pos = flags[3];
    return 0;
}
