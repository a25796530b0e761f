// Parse-state records, the saved cells and the lexeme queue of the grammar
// frame.
//
// A parse-state record holds three parallel stacks (automaton states,
// semantic values, positions) and where the parse stood when the record was
// made. The frame keeps one working record; at a conflict it opens a trial
// point, a record without stacks of its own: the working stacks stay shared
// with it, and a trial saves a cell in the saved-cell log before it first
// changes one that was on the stacks when the point was opened. Undoing the
// log back to the point gives its stacks again. The tokens read while a
// trial point is open wait in the lexeme queue so that another alternative,
// or the replay of the chosen one, reads them again.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "parser/grammar_types.h"

struct YYParseState {
    YYParseState* save = nullptr;  // next record of the same chain
    int state = 0;                 // automaton state when the record was made
    int errflag = 0;               // error-recovery countdown, 0..3
    int* ssp = nullptr;            // tops of the three stacks
    YYSTYPE* vsp = nullptr;
    YYPOSN* psp = nullptr;
    YYSTYPE val = nullptr;             // $$ of the reduction under way
    YYPOSN pos = nullptr;          // its position
    int* ss = nullptr;             // bases of the three stacks
    YYSTYPE* vs = nullptr;
    YYPOSN* ps = nullptr;
    int lexeme = 0;                // queue index at which the record resumes
    unsigned stacksize = 0;        // cells of each stack
    int ctry = 0;                  // index into the conflict lists of the alternative tried
    // Of a trial point: the index of the working stacks' top cell when it
    // was opened, the length of the saved-cell log then, and the lowest
    // index the top has had since (while the point is the innermost one):
    // the working cells up to `low` are still the point's own.
    int top = 0;
    int mark = 0;
    int low = 0;
    // The lowest index of a working cell that the trials from the point have
    // read, its alternatives and the points inside them that failed: what
    // the failure of every alternative depends on, besides the tokens.
    int reach = 0;

    // Depth of the stacks: the index of the top cell.
    int Depth() const { return static_cast<int>(ssp - ss); }
};

// Cells of the first stacks and entries of the first queue; each growth
// doubles them.
inline constexpr int kDovGrammarGrowth = 16;

// A record whose three stacks have n + 4 cells, the value and position cells
// zeroed, the tops at cell 0; the other fields are the caller's.
YYParseState* YYNewState(int n);
// A record without stacks: a trial point, or a record of the replay path.
YYParseState* YYNewPoint();
// Frees the record and its stacks; null is allowed.
void YYFreeState(YYParseState* p);
// Doubles the record's three stacks (16 cells more at least), keeping their
// contents and the depth of the tops.
void YYMoreStack(YYParseState* p);
// Copy n value (position) cells, from the last to the first.
void YYSCopy(YYSTYPE* to, const YYSTYPE* from, int n);
void YYPCopy(YYPOSN* to, const YYPOSN* from, int n);

// The saved-cell log: the cells of the working stacks that open trial points
// still need, each saved (index and contents) before a trial first changed
// it. Undoing the entries made since a trial point, the last first, gives
// back every cell the point had, whatever the trial did above them.
class DovSavedCells {
public:
    int Size() const { return static_cast<int>(cells_.size()); }
    // Saves the cells `from` to `to` of `work`.
    void Save(const YYParseState& work, int from, int to);
    // Undoes the entries from the last down to `mark` into `work`'s stacks
    // and drops them.
    void UndoTo(YYParseState& work, int mark);

private:
    struct Cell {
        int index;
        int state;
        YYSTYPE val;
        YYPOSN pos;
    };
    std::vector<Cell> cells_;
};

// Trial points whose every alternative failed, noted while the outermost
// trial point is open (the queue's indexes hold as long). A point is known
// by the automaton state and queue index it was opened at, its
// error-recovery countdown and the working cells from the lowest one its
// trials read up to the top: the trials of a point opened again with all of
// these the same read the same cells and tokens, take the same steps and
// fail as before, so they need not run again. Nothing in a trial depends on
// how deep those cells lie, so a point opened at another depth over the
// same cells repeats a failed one too.
class DovFailedPoints {
public:
    bool Empty() const { return entries_.empty(); }
    void Clear();
    // Notes `point`, every alternative of which failed; `work` holds the
    // stacks as they stood when the point was opened.
    void Note(const YYParseState& point, const YYParseState& work);
    // When a point opened now, in `state` at queue index `lexeme` with
    // countdown `errflag` over the stacks of `work`, would repeat a failed
    // one: the index in `work` of the lowest cell that one read; else -1.
    // `compared` grows by the cells compared.
    int Find(int state, int lexeme, int errflag, const YYParseState& work, long long& compared) const;

    // The failed points kept for one state and queue index: beyond them,
    // ways through that differ further below are not noted (the trials'
    // budget bounds what they cost).
    static constexpr int kPerPlace = 16;

private:
    struct Entry {
        int errflag;
        int span;   // the cells read below the top
        int cells;  // index of the lowest of them in cells_
        int next;   // the next entry of the same state and index, -1 at the end
    };
    struct Cell {
        int state;
        YYSTYPE val;
        YYPOSN pos;
    };
    static std::uint64_t Key(int state, int lexeme) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(lexeme)) << 32) |
               static_cast<std::uint32_t>(state);
    }
    std::vector<Entry> entries_;
    std::vector<Cell> cells_;
    struct Head {
        int last;   // the last entry noted
        int count;  // the entries noted
    };
    std::unordered_map<std::uint64_t, Head> heads_;  // of each state and index
};

// The lexeme queue: three parallel arrays of one capacity, the entry to read
// next and one past the last entry stored. It lives for the whole run of the
// program; its entries only mean something during one parse.
struct DovLexemeQueue {
    int* yylexemes = nullptr;
    YYSTYPE* yylvals = nullptr;
    YYPOSN* yylpsns = nullptr;
    int read = 0;
    int end = 0;
    int capacity = 0;

    bool Drained() const { return read == end; }
};
extern DovLexemeQueue yylexq;

// The working record; its save chain is the stack of open trial points.
extern YYParseState* yyps;

// The token source that YYLex1 reads from: the running grammar's. Returns a
// token code and leaves the token's value and position in yylval, yyposn.
extern int (*DovGrammarTokenSource)();

// The next lexeme: from the queue while it holds unread entries; else, in
// trial mode, a new token read from the token source and queued; else
// straight from the token source.
int YYLex1();
// Doubles the queue (16 entries more at least), keeping its contents and
// indexes.
void yyexpand();
// Makes the three queue arrays with 16 entries when they do not exist yet.
void DovLexemeQueueCreate();
