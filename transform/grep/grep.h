// WyrGrep: the tool's own search. A transformation that compiles the user's
// query once per file (from option q, or from a query file named by option
// qf), evaluates it at every node of the tree and reports each match as the
// node's source line (or "Found") at the node's position. It never changes
// the tree.
//
// Query files hold either one query (the whole file) or named sections, each
// started by a line "QUERY <name>"; lines starting with '#' or '*' are
// comments. The readers below take lines and files of any length up to the
// string limit, so the query that runs is always the one the user wrote.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "lbase/vstring.h"
#include "transform/base.h"
#include "transform/grep/source_lines.h"
#include "transform/query/query.h"

// Result of Prepare when there is no usable query (none given, the query
// file cannot be opened or is too long).
constexpr char DOV_TR_NO_QUERY = 'T';

class WyrGrep : public DovTransform {
public:
    WyrGrep();
    // Copies the settings and the text last compiled by `other`, which is
    // compiled again at once; the copy has read no source file yet.
    WyrGrep(const WyrGrep& other);
    WyrGrep& operator=(const WyrGrep&) = delete;
    ~WyrGrep() override;

    // The factory the registry keeps for the class "Grep".
    static DovTransform* Create();

    DovTransform* Clone() const override;
    bool ModifiesTree() const override { return false; }
    VString ClassName() const override;
    VString ClassDescription() const override;
    // The group "Grep": q, qf, print-query, print-err-pos, print-src.
    void DefineOptions() override;
    // Loads the query (from the query file when qf is set), reports it when
    // asked, and compiles it with assignments forbidden: 0 when it is ready,
    // DOV_TR_NO_QUERY, or the compiler's error code. The parser and the
    // printer are not used.
    int Prepare(DovParser* parser, DovPrettyPrinter* printer, DovTokenList* msgs) override;
    // 0 when the query matches the node ('A' otherwise). With `apply` set, a
    // match leaves its message(s) in `msgs`; in find-only runs (apply 0) it
    // leaves none.
    char TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) override;
    // The base record, then the query text and the query-file argument
    // as counted strings and the four flags, each followed by ','.
    void PutTic(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;

    // Fields, in their stored order.
    VString query_text;    // option q; replaced by the query file's text
    VString query_file;    // option qf: "file" or "file:name"
    int print_query = 0;   // option print-query
    int print_src = 1;     // option print-src
    int node_dump = 0;     // no option; stored and copied
    int print_err_pos = 1; // option print-err-pos
    DovQuery query;        // the compiled query
    WyrGrepSourceLines source_lines;  // the source lines of matches

    // Longest query text a query file may give: the string limit. Only
    // tests lower it.
    static std::uint32_t max_query_len;
};

// Registers the class "Grep" once per process (later calls do nothing and
// return 0); the registry's result otherwise. It also runs at start-up from
// the grep's own object file, which every program that makes a WyrGrep links.
int WyrGrepRegister();

// --- the pieces of Prepare, for their own tests ----------------------------

// Splits a query-file argument into the file name and the upper-cased
// query name (empty for the whole file). A ':' at index 1 is taken for a
// drive letter; a leading ':' belongs to the file name.
void WyrGrepSplitQueryFile(const VString& qf, VString& file, VString& name);

// What reading a query file gave.
enum class WyrGrepReadResult {
    kOk,       // the text was read (or, by name, the wanted section was)
    kNotFound, // by name only: no section carries the wanted name
    kTooLong,  // a query (or one line of it) exceeds the limit
};

// The whole file as one query: the first NUL-terminated block that does not
// begin with '#' or '*' (or the last block, when the file ends first), as it
// is.
WyrGrepReadResult WyrGrepReadWholeQuery(std::istream& is, VString& text, std::uint32_t limit);
// The section `name` (upper case): its lines trimmed and joined with line
// feeds, the whole trimmed. A later section of the same name replaces an
// earlier one; `text` is untouched when none is found.
WyrGrepReadResult WyrGrepReadNamedQuery(std::istream& is, const VString& name, VString& text, std::uint32_t limit);

// The picture under "Incorrect query: ...": each line of the query (tabs as
// blanks) over a marker line with '^' under the character at `column` and
// '-' under the others; a column at or past the end puts the '^' after the
// last character.
std::string WyrGrepCaretPicture(const VString& query, int column);

// The query in printable form, whatever bytes it holds (NULs included).
VString WyrGrepPrintable(const VString& text);
