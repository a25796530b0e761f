// The query language of the search: values and variables, the scanner, the
// compiler, the compiled form (a chain of step lists) and the evaluator.
//
// A query is compiled once (DovQuery::Compile) and then evaluated at one
// tree node at a time (DovQuery::Match). Evaluation only reads the tree,
// unless the query was compiled with assignments allowed.
#pragma once

#include <cstdint>

#include "lbase/vstring.h"
#include "tree/expr.h"

struct DovQueryChain;
struct DovQueryNode;
class DovQueryVarList;

// ---------------------------------------------------------------------------
// Values and variables

// Kinds of a value record.
enum DovQueryValueKind : int {
    QV_NONE = 0,  // no value (the register " H" at start)
    QV_NODE = 1,  // a node of the program tree, never owned
    QV_STR = 2,   // a string: an owned DovCharString, or a terminal tree node
    QV_INT = 3,   // an integer: an owned DovIntNumConst
};

// One variable or one stacked value.
struct DovQueryValue {
    DovQueryValue() = default;
    DovQueryValue(int kind, const VString& name, DovExpr* node, int owned)
        : owned(owned), kind(kind), name(name), node(node) {}
    DovQueryValue(const DovQueryValue&) = delete;
    DovQueryValue& operator=(const DovQueryValue&) = delete;
    ~DovQueryValue() { Free(); }

    // Releases what the record holds: the owned node (unless it has been
    // attached to a tree since, which then owns it) and the name.
    void Free();

    int owned = 0;
    int kind = QV_NONE;
    VString name;
    DovExpr* node = nullptr;
};

struct DovQueryVarCell {
    DovQueryValue* value = nullptr;
    DovQueryVarCell* next = nullptr;
};

// A singly linked list of value records held by its first cell. As the
// variable list of a query it starts with "E", "ROOT" and " H"; as a stack
// its first cell is the top.
class DovQueryVarList {
public:
    DovQueryVarList() = default;
    DovQueryVarList(const DovQueryVarList&) = delete;
    DovQueryVarList& operator=(const DovQueryVarList&) = delete;
    ~DovQueryVarList() { Destroy(); }

    // Empties the list; with `variables` set, builds "E" (QV_NODE), "ROOT"
    // (QV_NODE) and " H" (QV_NONE), each without node and not owned.
    void Create(bool variables);
    // Adds a cell at the end (taking the record); its index.
    int Append(DovQueryValue* value);
    // Index of the first record of that name, -1 when none.
    int Find(const VString& name) const;
    int Count() const;
    // The cell at `index` (0 = first), null when the list is shorter.
    DovQueryVarCell* At(int index) const;
    // The record at `index`, null when there is none.
    DovQueryValue* ValueAt(int index) const;
    // The first record (also through `out`), null when empty.
    DovQueryValue* Top(DovQueryValue** out = nullptr) const;
    // Takes the record, marks it owned and puts it in a new first cell.
    void Push(DovQueryValue* value);
    // Unlinks the top: a new record with its kind, name and node that takes
    // over its ownership, for the caller to delete. Empty list: prints
    // "\n!!! POP->Assert!" and gives null.
    DovQueryValue* Pop();
    // Releases the first cell and its record: 1, or 0 for an empty list.
    int Drop();
    // Replaces this list by one not-owning copy of every record of `source`.
    void Copy(const DovQueryVarList& source);
    // Releases every cell and record.
    void Destroy();
    // Releases a chain of cells and their records, front to back.
    static void FreeCells(DovQueryVarCell* cells);
    // Records on `old_node` get `new_node` (or are cleared when it is null);
    // records on a node below `old_node` are cleared.
    void ReplaceNode(const DovExpr* old_node, DovExpr* new_node);
    // Deletes the node of the named variable from its tree: 96 when there is
    // no such variable, 98 when it holds no node, else 0.
    int DeleteVarNode(const VString& name);
    // The compiler's type check of a two-operand operator on a stack of
    // one-letter type markers: 1 when the operands agree (the result's
    // marker stays on top), else 0.
    int CheckOperands(int oper);

    DovQueryVarCell* head = nullptr;
};

// The register " H", or null for a list without it.
inline DovQueryValue* DovQueryH(DovQueryVarList* vars) {
    // " H" is the third variable. The evaluator asks for it at nearly every
    // step, so the walk is written out here.
    DovQueryVarCell* c = vars ? vars->head : nullptr;
    if (c) c = c->next;
    if (c) c = c->next;
    return c ? c->value : nullptr;
}
// What DovQuerySetH does when the register is missing or owns its value.
void DovQuerySetHReleasing(DovQueryVarList* vars, DovExpr* node, int kind, int owned);
// Stores a value into the register " H" (the third variable), releasing
// the owned value it held before.
inline void DovQuerySetH(DovQueryVarList* vars, DovExpr* node, int kind, int owned) {
    DovQueryValue* h = DovQueryH(vars);
    if (!h || h->owned) return DovQuerySetHReleasing(vars, node, kind, owned);
    h->node = node;
    h->kind = kind;
    h->owned = owned;
}
// Releases " H" and gives it a new owned NULL_NODE of kind QV_NODE.
void DovQueryResetH(DovQueryVarList* vars);

// ---------------------------------------------------------------------------
// The compiled form

// Step kinds; where a keyword exists its code is the same.
enum DovQueryKind : std::uint8_t {
    QK_TRUE = 2,
    QK_FALSE = 3,
    QK_AND = 4,  // connective codes of a chain element
    QK_OR = 5,
    QK_NOT = 6,
    QK_OP = 7,
    QK_INTCMP = 8,
    QK_STREQ_NOCASE = 9,
    QK_LIKE_NOCASE = 10,
    QK_STREQ = 11,
    QK_LIKE = 12,
    QK_NOTNULL = 13,
    QK_ISNULL = 14,
    QK_STRNULL = 15,
    QK_INTNODE = 16,
    QK_ARG = 17,
    QK_FIND = 18,
    QK_PARENT = 19,
    QK_LINK = 20,
    QK_IMAGE = 21,
    QK_VALUE = 22,
    QK_LOWER = 23,
    QK_UPPER = 24,
    QK_SUBSTR = 25,
    QK_VAR = 27,
    QK_ARGNO = 28,
    QK_INTVALUE = 29,
    QK_ISDESCOF = 30,
    QK_SPECREG = 31,
    QK_FROMSRC = 32,
    QK_ENCLSTMT = 33,
    QK_ENCLSECTION = 34,
    QK_INDEX = 35,
    QK_INTCONST = 36,
    QK_STRCONST = 37,
    QK_DECL_NODE = 38,  // keyword codes only, never a step
    QK_DECL_INT = 39,
    QK_DECL_STR = 40,
    QK_SETNODE = 41,
    QK_SETINT = 42,
    QK_SETSTR = 43,
    QK_PUSH = 44,
    QK_ADD = 45,
    QK_SUB = 46,
    QK_MUL = 47,
    QK_DIV = 48,
    QK_MOD = 49,
    QK_LPAREN = 50,  // keyword codes only, never a step
    QK_RPAREN = 51,
    QK_COMMA = 52,
    QK_STRVAL = 53,
};

// One step of a condition. A new step is empty: kind QK_TRUE, no fields.
struct DovQueryNode {
    DovQueryNode() = default;
    DovQueryNode(const DovQueryNode&) = delete;
    DovQueryNode& operator=(const DovQueryNode&) = delete;
    // Releases the rest of the list, the subchain and the text.
    ~DovQueryNode();

    // Evaluates the step at `*node` and, where the step says so, the rest
    // of the list; nonzero is true.
    static int Eval(DovQueryNode* step, DovExpr** node, DovQueryVarList* vars, DovQueryVarList* stack, int flag);

    std::int64_t value1 = 0;
    std::int64_t value2 = 0;
    VString text;
    std::uint8_t kind = QK_TRUE;
    DovQueryNode* next = nullptr;
    DovQueryChain* subchain = nullptr;
    int has_subchain = 0;
};

// One element of a chain of conditions: a group (nested chain) or a step
// list, and how it is joined to the next element (0, QK_AND or QK_OR).
struct DovQueryChain {
    DovQueryChain() = default;
    DovQueryChain(const DovQueryChain&) = delete;
    DovQueryChain& operator=(const DovQueryChain&) = delete;
    // Releases the group, the step list and the following elements.
    ~DovQueryChain();

    // Evaluates the chain at `*node`; the connectives group to the right.
    static int Eval(DovQueryChain* chain, DovExpr** node, DovQueryVarList* vars, int flag);

    std::uint8_t connective = 0;
    DovQueryChain* group = nullptr;
    DovQueryNode* condition = nullptr;
    DovQueryChain* next = nullptr;
};

// ---------------------------------------------------------------------------
// The query

class DovQuery {
public:
    DovQuery() = default;
    explicit DovQuery(const VString& text) : text(text) {}
    DovQuery(const DovQuery&) = delete;
    DovQuery& operator=(const DovQuery&) = delete;
    ~DovQuery() { Reset(); }

    // Releases the compiled chain and the variable list; the text stays.
    void Reset();
    // Compiles `text`: 0, or an error code (84..97) with its message and
    // the 0-based column in the text where it was found. `vars`, when
    // given, receives the declared variables instead of the query's own
    // list.
    std::uint8_t Compile(DovQueryVarList* vars, VString& message, int& column);
    // 0 when nothing is compiled; else stores the node into "E" and
    // evaluates the chain there.
    int Match(DovExpr* node);
    // Evaluates with another variable list, whose first variable holds the
    // current node.
    int MatchWith(DovQueryVarList* vars, int flag);

    VString text;
    DovQueryChain* chain = nullptr;
    DovQueryVarList* vars = nullptr;
    // The assignments (`=` after an operand) change the tree: a query that
    // only searches compiles with them forbidden, and then an assignment is
    // error 87 at the column of its '='.
    bool allowAssignments = false;
};

int DovQueryMatchNode(DovExpr* node, DovQuery* query);

// The message of a compiler or evaluator error code.
const char* DovQueryErrorText(int code);

// Deepest nesting of groups, parentheses and assignments in one query.
inline constexpr int kDovQueryMaxNesting = 256;

// ---------------------------------------------------------------------------
// The scanner

// Scan modes of DovQueryNextToken.
enum DovQueryScanMode : int {
    QS_READ = 0,      // the next token
    QS_REREAD = 1,    // the last token once more
    QS_EQUALS = 2,    // "==" without reading, then the last token again
    QS_RESET = 7,     // back to the start of the text
    QS_POSITION = 8,  // the mode becomes the start of the last token
};

// The scanner's cursor, shared by the process (one scan at a time).
struct DovQueryCursor {
    int next = 0;       // where the next token is looked for
    int last_start = 0; // where the last token began
};
extern DovQueryCursor DovQueryScanCursor;

// The next token of `text` into `buffer` (also returned); the empty token
// is the end of the text. String constants keep their quotes; names are
// upper-cased.
const VString& DovQueryNextToken(const VString& text, VString& buffer, int& mode);
// The keyword code of a token, 0 for none; "CHILD" is rewritten to "ARG".
std::uint8_t DovQueryKeyword(VString& token);
// DovQueryNextToken, then the token's keyword code into `code`.
const VString& DovQueryNextKeyword(const VString& text, VString& buffer, int& mode, int& code);
// The relation at `token` (reading on where needed): 1 equal, 2 greater,
// 3 greater or equal, 4 less, 5 less or equal, 7 null test, 0 none, -1 an
// assignment; `exact` 0 asks for a case-blind comparison.
int DovQueryRelation(const VString& text, VString& token, int& exact, int& negate, int& mode);
// True for "||", "AND", "OR", "&&", and for ")" when `inside` is 0.
bool DovQueryIsConnective(const VString& token, int inside);
// Turns the bytes 0x61..0x7F down by 0x20, in place.
char* DovQueryToUpper(char* text);

// ---------------------------------------------------------------------------
// The evaluator's helpers

// x against y by relation r (1 =, 2 >, 3 >=, 4 <, 5 <=); r >= 100 is the
// negation of r - 100; any other r is false.
int DovQueryCompareInt(std::int64_t x, std::int64_t y, std::int64_t r);
// The same for strings, ordered by VString::Compare.
int DovQueryCompareStr(const VString& x, const VString& y, std::int64_t r);
// Wildcard match of the whole text: '?' any one character, '*' any run of
// characters, also none.
int DovQueryMatchPattern(const VString& pattern, const VString& text);

// The current string of the evaluator, shared by the process.
extern VString DovQueryString;
