#include "grammar/parse_state.h"

#include <algorithm>
#include <cstring>

DovLexemeQueue yylexq;
YYParseState* yyps = nullptr;
int (*DovGrammarTokenSource)() = nullptr;

YYParseState* YYNewState(int n) {
    if (n < 0) n = 0;
    const unsigned cells = static_cast<unsigned>(n) + 4;
    auto* p = new YYParseState;
    p->stacksize = cells;
    p->ss = new int[cells];
    p->vs = new YYSTYPE[cells]();
    p->ps = new YYPOSN[cells]();
    p->ssp = p->ss;
    p->vsp = p->vs;
    p->psp = p->ps;
    return p;
}

YYParseState* YYNewPoint() { return new YYParseState; }

void YYFreeState(YYParseState* p) {
    if (!p) return;
    delete[] p->ss;
    delete[] p->vs;
    delete[] p->ps;
    delete p;
}

namespace {

// The size after one growth of stacks or queue of `size` cells: doubled, so
// that a deep or long parse copies each cell a bounded number of times.
template <typename N>
N Grown(N size) {
    return size + std::max(size, static_cast<N>(kDovGrammarGrowth));
}

}  // namespace

void YYMoreStack(YYParseState* p) {
    const int depth = p->Depth();
    const unsigned old_size = p->stacksize;
    const unsigned new_size = Grown(old_size);
    int* ss = new int[new_size];
    auto* vs = new YYSTYPE[new_size]();
    auto* ps = new YYPOSN[new_size]();
    std::memcpy(ss, p->ss, old_size * sizeof(int));
    YYSCopy(vs, p->vs, static_cast<int>(old_size));
    YYPCopy(ps, p->ps, static_cast<int>(old_size));
    delete[] p->ss;
    delete[] p->vs;
    delete[] p->ps;
    p->ss = ss;
    p->vs = vs;
    p->ps = ps;
    p->stacksize = new_size;
    p->ssp = ss + depth;
    p->vsp = vs + depth;
    p->psp = ps + depth;
}

void YYSCopy(YYSTYPE* to, const YYSTYPE* from, int n) {
    for (int i = n - 1; i >= 0; --i) to[i] = from[i];
}

void YYPCopy(YYPOSN* to, const YYPOSN* from, int n) {
    for (int i = n - 1; i >= 0; --i) to[i] = from[i];
}

void DovSavedCells::Save(const YYParseState& work, int from, int to) {
    for (int i = from; i <= to; ++i) cells_.push_back(Cell{i, work.ss[i], work.vs[i], work.ps[i]});
}

void DovSavedCells::UndoTo(YYParseState& work, int mark) {
    while (static_cast<int>(cells_.size()) > mark) {
        const Cell& c = cells_.back();
        work.ss[c.index] = c.state;
        work.vs[c.index] = c.val;
        work.ps[c.index] = c.pos;
        cells_.pop_back();
    }
}

void DovFailedPoints::Clear() {
    if (entries_.empty()) return;
    entries_.clear();
    cells_.clear();
    heads_.clear();
}

void DovFailedPoints::Note(const YYParseState& point, const YYParseState& work) {
    const int reach = std::max(0, std::min(point.reach, point.top));
    Head& head = heads_.try_emplace(Key(point.state, point.lexeme), Head{-1, 0}).first->second;
    if (head.count >= kPerPlace) return;
    entries_.push_back(Entry{point.errflag, point.top - reach, static_cast<int>(cells_.size()), head.last});
    head.last = static_cast<int>(entries_.size()) - 1;
    ++head.count;
    for (int i = reach; i <= point.top; ++i) cells_.push_back(Cell{work.ss[i], work.vs[i], work.ps[i]});
}

int DovFailedPoints::Find(int state, int lexeme, int errflag, const YYParseState& work,
                          long long& compared) const {
    const auto head = heads_.find(Key(state, lexeme));
    if (head == heads_.end()) return -1;
    const int top = work.Depth();
    for (int e = head->second.last; e >= 0; e = entries_[static_cast<std::size_t>(e)].next) {
        const Entry& entry = entries_[static_cast<std::size_t>(e)];
        const int reach = top - entry.span;
        if (entry.errflag != errflag || reach < 0) continue;
        const Cell* cell = &cells_[static_cast<std::size_t>(entry.cells)];
        int i = reach;
        for (; i <= top; ++i, ++cell)
            if (cell->state != work.ss[i] || cell->val != work.vs[i] || cell->pos != work.ps[i]) break;
        compared += i - reach + 1;
        if (i > top) return reach;
    }
    return -1;
}

void DovLexemeQueueCreate() {
    if (yylexq.yylexemes) return;
    yylexq.yylexemes = new int[kDovGrammarGrowth];
    yylexq.yylvals = new YYSTYPE[kDovGrammarGrowth]();
    yylexq.yylpsns = new YYPOSN[kDovGrammarGrowth]();
    yylexq.capacity = kDovGrammarGrowth;
    yylexq.read = yylexq.end = 0;
}

void yyexpand() {
    DovLexemeQueue& q = yylexq;
    const int old_size = q.capacity;
    const int new_size = Grown(old_size);
    int* codes = new int[new_size];
    auto* vals = new YYSTYPE[new_size]();
    auto* posns = new YYPOSN[new_size]();
    if (old_size > 0) std::memcpy(codes, q.yylexemes, static_cast<std::size_t>(old_size) * sizeof(int));
    YYSCopy(vals, q.yylvals, old_size);
    YYPCopy(posns, q.yylpsns, old_size);
    delete[] q.yylexemes;
    delete[] q.yylvals;
    delete[] q.yylpsns;
    q.yylexemes = codes;
    q.yylvals = vals;
    q.yylpsns = posns;
    q.capacity = new_size;
}

int YYLex1() {
    DovLexemeQueue& q = yylexq;
    if (q.read < q.end) {
        yylval = q.yylvals[q.read];
        yyposn = q.yylpsns[q.read];
        return q.yylexemes[q.read++];
    }
    if (yyps && yyps->save) {
        if (q.read >= q.capacity) yyexpand();
        const int code = DovGrammarTokenSource();
        q.yylexemes[q.read] = code;
        q.yylvals[q.read] = yylval;
        q.yylpsns[q.read] = yyposn;
        q.end = ++q.read;
        return code;
    }
    return DovGrammarTokenSource();
}
