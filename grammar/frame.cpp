#include "grammar/frame.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

YYSTYPE yyretlval = nullptr;
YYPOSN yyretposn = nullptr;
int yynerrs = 0;
YYParseState* yypath = nullptr;
int DovGrammarTraceLevel = 0;

namespace {

constexpr int kErrorToken = 256;

// What the trials under one outermost trial point may redo before the frame
// stops trying other ways: so much per token queued since the point, and so
// much whatever their number. A valid program's trials redo a few tokens per
// token at the most (the shift of a conflict is mostly the way taken); a
// syntax error under ways that do not meet again (a phrase that each of many
// open statements may take) would otherwise try every combination of them.
constexpr long long kTrialWorkPerToken = 64;
constexpr long long kTrialWorkFloor = 4096;
// The report of an error met after the trials were stopped.
constexpr char kTrialsStoppedError[] = "syntax error (too many readings tried; the furthest one is taken)";

// Gathers the tokens of a right-hand side into the result position: what the
// frame does for a grammar without a position reduction of its own.
void GatherPositions(YYPOSN* result, YYPOSN* posns, int count) {
    for (int i = 0; i < count; ++i) {
        if (!posns[i]) continue;
        if (!*result) *result = new DovTokenList;
        (*result)->AppendList(*posns[i]);
        delete posns[i];
        posns[i] = nullptr;
    }
}

void FreeChain(YYParseState*& head) {
    while (head) {
        YYParseState* next = head->save;
        YYFreeState(head);
        head = next;
    }
}

// The per-state, per-rule and per-nonterminal columns of a grammar's tables
// side by side, so that one lookup step reads one cache line instead of one
// line of every array. Built once per grammar, from tables that never change.
struct StateRow {
    int defred;
    int cindex;
    int sindex;
    int rindex;
};
struct RuleRow {
    int lhs;
    std::int16_t len;
    std::int16_t has_action;  // the action function has a case for the rule
};
struct GotoRow {
    int gindex;
    int dgoto;
};
struct PackedTables {
    const DovGrammarTables* tables;
    std::vector<StateRow> states;
    std::vector<RuleRow> rules;
    std::vector<GotoRow> gotos;
};

const PackedTables& PackedFor(const DovGrammarTables& t) {
    static std::vector<std::unique_ptr<PackedTables>> cache;
    for (const auto& p : cache)
        if (p->tables == &t) return *p;
    auto p = std::make_unique<PackedTables>();
    p->tables = &t;
    p->states.resize(static_cast<std::size_t>(t.state_count > 0 ? t.state_count : 0));
    for (std::size_t i = 0; i < p->states.size(); ++i)
        p->states[i] = StateRow{t.defred[i], t.cindex[i], t.sindex[i], t.rindex[i]};
    p->rules.resize(static_cast<std::size_t>(t.rule_count > 0 ? t.rule_count : 0));
    for (std::size_t i = 0; i < p->rules.size(); ++i)
        p->rules[i] = RuleRow{t.lhs[i], static_cast<std::int16_t>(t.len[i]), 0};
    for (const int* a = t.action_rules; a && *a >= 0; ++a)
        if (static_cast<std::size_t>(*a) < p->rules.size()) p->rules[static_cast<std::size_t>(*a)].has_action = 1;
    p->gotos.resize(static_cast<std::size_t>(t.nonterminal_count > 0 ? t.nonterminal_count : 0));
    for (std::size_t i = 0; i < p->gotos.size(); ++i) p->gotos[i] = GotoRow{t.gindex[i], t.dgoto[i]};
    cache.push_back(std::move(p));
    return *cache.back();
}

// The position reduction of `r` onto `value`: inlined into the frame's
// reduction step, out of line for the actions.
inline __attribute__((always_inline)) void ReducePositions(DovGrammarReduction& r, YYSTYPE value) {
    YYPOSN* first_posn = r.psp + 1 - r.len;
    const DovGrammarServices& svc = r.grammar->services;
    if (svc.reduce_posn)
        svc.reduce_posn(&r.pos, first_posn, r.vsp + 1 - r.len, r.len, r.depth, r.lookahead, &yyposn, value);
    else
        GatherPositions(&r.pos, first_posn, r.len);
    r.reduce_posn = 0;
}

}  // namespace

void DovGrammarReduction::ReducePosnNow(YYSTYPE value) {
    if (trial || !reduce_posn) return;
    ReducePositions(*this, value);
}

namespace {

class Run {
public:
    explicit Run(DovFrameGrammar& g) : g_(g), t_(*g.tables), svc_(g.services), packed_(PackedFor(t_)) {}
    int Parse();

private:
    enum class Step { kLoop, kReduce, kError, kTrialFailed, kRecover, kAccept, kAbort, kCommit, kAccepted };

    // A lookup of base table `base` at `index` with column `column`: the
    // index into table/check, or -1 when there is no entry.
    int Lookup(const int* base, int index, int column) const { return LookupAt(base[index], column); }
    // The same lookup with the base already read.
    int LookupAt(int b, int column) const {
        if (b == 0) return -1;
        const int n = b + column;
        if (n < 0 || n > t_.table_size || t_.check[n] != column) return -1;
        return n;
    }
    bool Trial() const { return yyps->save != nullptr; }
    void Push(int state, YYSTYPE val, YYPOSN pos);
    Step Loop();
    Step Reduce(int rule);
    Step SyntaxError();
    Step TrialFailed();
    void EndTrials();
    bool FoldLookahead();
    bool FoldQueued(int index);
    Step Recover();
    Step Commit();
    int Accept();
    int Abort();
    void ReleaseOwned();
    void FreeRecords();
    void OpenTrialPoint(int ctry);
    void SaveCellsFrom(int first);
    void RestoreStacks(YYParseState* point);
    void RestoreFrom(YYParseState* point);
    void ReleaseValue(YYSTYPE v, int code) const {
        if (svc_.delete_value) svc_.delete_value(v, code);
    }
    void ReleasePosn(YYPOSN p, int code) const {
        if (svc_.delete_posn) svc_.delete_posn(p, code);
    }
    void ReleaseQueued(int from) const;
    void NoteErrorContext();
    void Trace(int level, const char* what, int a = -1, int b = -1) const;
    const char* TokenName(int code) const {
        if (t_.token_names && code >= 0 && code <= t_.max_token && t_.token_names[code]) return t_.token_names[code];
        return "?";
    }

    DovFrameGrammar& g_;
    const DovGrammarTables& t_;
    const DovGrammarServices& svc_;
    const PackedTables& packed_;
    int yychar_ = -1;
    int state_ = 0;
    int rule_ = 0;
    bool report_ = true;  // false for an error an action raised (YYERROR): no message
    // The error context: the furthest queue index that a failed trial reached,
    // with the alternatives that led there (state, ctry), outermost first.
    bool have_errctx_ = false;
    int errctx_lexeme_ = 0;
    std::vector<std::pair<int, int>> errctx_path_;
    // The open trial points, and how many of them, from the outermost, are
    // still those of the error context's path with the same alternatives.
    std::size_t open_points_ = 0;
    std::size_t errctx_same_ = 0;
    // Set while replaying the way to the furthest error: the error met
    // there is reported even when an action raised it.
    bool replaying_error_ = false;
    // The working cells that the open trial points still need.
    DovSavedCells saved_;
    // The trial points that failed since the outermost one was opened.
    DovFailedPoints failed_;
    // Since the outermost trial point was opened: the queue index it was
    // opened at, and the work its trials have redone (for each alternative
    // that failed, the tokens it read from its point on, the cells below the
    // point its trials read, and one; the cells compared with failed
    // points).
    int trials_first_ = 0;
    long long trials_work_ = 0;
    // Set while replaying the way to the furthest error after the trials
    // were stopped for their work: the error's report says so.
    bool trials_stopped_ = false;
};

void Run::Trace(int level, const char* what, int a, int b) const {
    if (DovGrammarTraceLevel < level) return;
    std::cout << "grammar[" << t_.name << "," << yyps->Depth() << (Trial() ? ",trial" : "") << "]: state "
              << state_ << ": " << what;
    if (a >= 0) std::cout << ' ' << a;
    if (b >= 0) std::cout << ' ' << b;
    if (yychar_ >= 0) std::cout << " (lookahead " << TokenName(yychar_) << ')';
    std::cout << '\n';
}

// Once per shift and per goto: inlined into the loop, the growth out of line.
inline __attribute__((always_inline)) void Run::Push(int state, YYSTYPE val, YYPOSN pos) {
    if (__builtin_expect(yyps->ssp >= yyps->ss + yyps->stacksize - 1, 0)) YYMoreStack(yyps);
    *++yyps->ssp = state;
    *++yyps->vsp = val;
    *++yyps->psp = pos;
    state_ = state;
}

// A trial is about to change the working cells from `first` up (a
// reduction pops its right-hand side and pushes its result; an action may
// write the cells of its right-hand side and the ones left of it): those
// that are still the innermost trial point's own are saved first. The outer
// points need none of them saved again: the cells below the innermost
// point's `low` have not changed since any of them was opened. Out of line:
// the reduction step, inlined into the loop, only tests for a trial.
__attribute__((noinline)) void Run::SaveCellsFrom(int first) {
    YYParseState& point = *yyps->save;
    if (first > point.low) return;
    if (first < 0) first = 0;
    saved_.Save(*yyps, first, point.low);
    point.low = first - 1;
    // A reduction reads the cell below the cells it changes (its goto),
    // nothing lower; `low` has not been below `reach` since the point was
    // opened.
    if (point.low < point.reach) point.reach = std::max(point.low, 0);
}

// The working stacks as they stood when `point` was opened.
void Run::RestoreStacks(YYParseState* point) {
    saved_.UndoTo(*yyps, point->mark);
    yyps->ssp = yyps->ss + point->top;
    yyps->vsp = yyps->vs + point->top;
    yyps->psp = yyps->ps + point->top;
    point->low = point->top;
}

void Run::RestoreFrom(YYParseState* point) {
    RestoreStacks(point);
    state_ = point->state;
    yyps->errflag = point->errflag;
    yylexq.read = point->lexeme;
    yychar_ = -1;
}

void Run::OpenTrialPoint(int ctry) {
    YYParseState* save = YYNewPoint();
    save->save = yyps->save;
    save->state = state_;
    save->errflag = yyps->errflag;
    save->top = save->low = save->reach = yyps->Depth();
    save->mark = saved_.Size();
    save->ctry = ctry;
    if (!yyps->save) {
        DovLexemeQueueCreate();
        if (yylexq.Drained()) {
            yylexq.read = yylexq.end = 0;
            if (yychar_ >= 0) {
                yylexq.yylexemes[0] = yychar_;
                yylexq.yylvals[0] = yylval;
                yylexq.yylpsns[0] = yyposn;
                yylexq.end = 1;
                yychar_ = -1;
            }
        }
    }
    if (yychar_ >= 0) {
        --yylexq.read;
        yychar_ = -1;
    }
    save->lexeme = yylexq.read;
    if (!yyps->save) trials_first_ = save->lexeme;
    yyps->save = save;
    ++open_points_;
}

Run::Step Run::Loop() {
    const StateRow& row = packed_.states[static_cast<std::size_t>(state_)];
    rule_ = row.defred;
    if (rule_) return Step::kReduce;
    if (yychar_ < 0) {
        yychar_ = YYLex1();
        if (yychar_ < 0) yychar_ = 0;
        Trace(2, "read");
    }
    int n = LookupAt(row.cindex, yychar_);
    if (n >= 0) {
        int ctry;
        if (yypath) {
            YYParseState* rec = yypath;
            yypath = rec->save;
            ctry = rec->ctry;
            const bool same = rec->state == state_;
            YYFreeState(rec);
            if (!same) {
                Trace(1, "replay path disagrees at a conflict: abort");
                return Step::kAbort;
            }
            Trace(1, "conflict: replaying alternative", ctry);
        } else {
            if (Trial()) {
                // A point that failed before from the same state, token and
                // stacks fails again: its trials do not run twice.
                const int reach = failed_.Find(state_, yylexq.read - (yychar_ >= 0 ? 1 : 0), yyps->errflag,
                                               *yyps, trials_work_);
                if (reach >= 0) {
                    Trace(1, "conflict: every alternative failed here before");
                    YYParseState& outer = *yyps->save;
                    outer.reach = std::min(outer.reach, reach);
                    return Step::kTrialFailed;
                }
            }
            ctry = t_.table[n];
            if (t_.ctable[ctry] == -1) ++ctry;
            Trace(1, "conflict: trial point opened, alternative", ctry);
            OpenTrialPoint(ctry);
        }
        if (ctry == t_.table[n]) {
            if (yychar_ < 0) ++yylexq.read;
            yychar_ = -1;
            if (yyps->errflag > 0) --yyps->errflag;
            Push(t_.ctable[ctry], yylval, yyposn);
            return Step::kLoop;
        }
        rule_ = t_.ctable[ctry];
        return Step::kReduce;
    }
    n = LookupAt(row.sindex, yychar_);
    if (n >= 0) {
        yychar_ = -1;
        if (yyps->errflag > 0) --yyps->errflag;
        Trace(2, "shift to", t_.table[n]);
        Push(t_.table[n], yylval, yyposn);
        return Step::kLoop;
    }
    n = LookupAt(row.rindex, yychar_);
    if (n >= 0) {
        rule_ = t_.table[n];
        return Step::kReduce;
    }
    report_ = true;
    return Step::kError;
}

// Once per reduction: inlined into the loop.
inline __attribute__((always_inline)) Run::Step Run::Reduce(int rule) {
    const RuleRow& rr = packed_.rules[static_cast<std::size_t>(rule)];
    const int len = rr.len;
    // The working record does not change while an action runs (one run at a
    // time, and only the frame grows the stacks).
    YYParseState& ps = *yyps;
    ps.val = nullptr;
    ps.pos = nullptr;
    int reduce_posn = 1;
    const bool trial = ps.save != nullptr;
    if (DovGrammarTraceLevel >= 2) {
        Trace(2, "reduce by rule", rule);
        if (t_.rule_texts) std::cout << "    " << t_.rule_texts[rule] << '\n';
    }
    DovGrammarReduction r{rule, len, ps.vsp, ps.psp, ps.val, ps.pos, reduce_posn, trial, yychar_, ps.Depth(), &g_};
    if (__builtin_expect(trial, 0)) SaveCellsFrom(r.depth - len + 1 - (rr.has_action ? kDovTrialActionReach : 0));
    if (rr.has_action && t_.action) {
        switch (t_.action(r)) {
        case DOV_ACTION_COMMIT:
            if (trial) return Step::kCommit;
            break;
        case DOV_ACTION_ERROR:
            report_ = false;
            return Step::kError;
        case DOV_ACTION_ACCEPT:
            if (trial) return Step::kCommit;
            // Nothing reached the start symbol: what the stacks hold is
            // released as at an abort.
            ReleaseOwned();
            FreeRecords();
            return Step::kAccepted;
        case DOV_ACTION_ABORT:
            return Step::kAbort;
        default:
            break;
        }
    }
    if (!trial) {
        if (reduce_posn) ReducePositions(r, ps.val);
        if (g_.rule_counts) ++g_.rule_counts[rule];
    }
    ps.ssp -= len;
    ps.vsp -= len;
    ps.psp -= len;
    const int below = *ps.ssp;
    const int lhs = rr.lhs;
    if (below == 0 && lhs == 0) {
        Push(t_.final_state, ps.val, ps.pos);
        yyretlval = ps.val;
        yyretposn = ps.pos;
        if (yychar_ < 0) {
            yychar_ = YYLex1();
            if (yychar_ < 0) yychar_ = 0;
        }
        return yychar_ == 0 ? Step::kAccept : Step::kLoop;
    }
    if (lhs < 0) {
        const int n = Lookup(t_.gindex, lhs, below);
        state_ = below;
        Push(n >= 0 ? t_.table[n] : t_.dgoto[lhs], ps.val, ps.pos);
        return Step::kLoop;
    }
    const GotoRow& go = packed_.gotos[static_cast<std::size_t>(lhs)];
    const int n = LookupAt(go.gindex, below);
    state_ = below;
    Push(n >= 0 ? t_.table[n] : go.dgoto, ps.val, ps.pos);
    return Step::kLoop;
}

void Run::NoteErrorContext() {
    if (have_errctx_ && errctx_lexeme_ >= yylexq.read) return;
    if (!have_errctx_) errctx_same_ = 0;
    have_errctx_ = true;
    errctx_lexeme_ = yylexq.read;
    // Only the points opened or moved to another alternative since the last
    // note are taken again, so that trials failing ever further under many
    // open points cost no more than the points themselves. The chain is
    // innermost first; the path wants the outermost first.
    errctx_path_.resize(errctx_same_);
    YYParseState* p = yyps->save;
    for (std::size_t i = errctx_same_; i < open_points_; ++i, p = p->save) errctx_path_.emplace_back(p->state, p->ctry);
    std::reverse(errctx_path_.begin() + static_cast<std::ptrdiff_t>(errctx_same_), errctx_path_.end());
    errctx_same_ = open_points_;
}

Run::Step Run::SyntaxError() {
    // Inside the recovery window a table error skips tokens; an action's
    // YYERROR still rejects the alternative under trial.
    if (report_ && yyps->errflag != 0) return Step::kRecover;
    if (yyps->save) return TrialFailed();
    if ((report_ || replaying_error_) && FoldLookahead()) {
        replaying_error_ = trials_stopped_ = false;
        return Step::kLoop;
    }
    if (report_ || replaying_error_) {
        Trace(1, "syntax error");
        if (svc_.report_syntax_error)
            svc_.report_syntax_error(trials_stopped_ ? kTrialsStoppedError : "syntax error", yychar_, &yylval, &yyposn);
        ++yynerrs;
    }
    replaying_error_ = trials_stopped_ = false;
    return Step::kRecover;
}

// The alternative under trial failed: the innermost point's next
// alternative is tried; a point with none left fails in its turn, and when
// the outermost one has none left, the way that got furthest is replayed.
// When the trials have redone more work than the tokens read since the
// outermost point allow, no other alternative is tried: the way that got
// furthest so far is replayed.
Run::Step Run::TrialFailed() {
    for (;;) {
        NoteErrorContext();
        YYParseState* save = yyps->save;
        trials_work_ += yylexq.read - save->lexeme + (save->top - save->reach) + 1;
        const bool stop = trials_work_ > kTrialWorkPerToken * (yylexq.end - trials_first_) + kTrialWorkFloor;
        if (stop) {
            while (save->save) {
                yyps->save = save->save;
                YYFreeState(save);
                save = yyps->save;
                --open_points_;
            }
            Trace(1, "trials stopped: too much work redone");
        }
        RestoreFrom(save);
        if (!stop) {
            const int ctry = ++save->ctry;
            errctx_same_ = std::min(errctx_same_, open_points_ - 1);
            if (t_.ctable[ctry] >= 0) {
                Trace(1, "trial failed: next alternative", ctry);
                rule_ = t_.ctable[ctry];
                return Step::kReduce;
            }
        }
        yyps->save = save->save;
        --open_points_;
        if (yyps->save) {
            // The stacks are the point's again: what its trials read of them
            // is noted with it, and is read by the way around it as well.
            failed_.Note(*save, *yyps);
            yyps->save->reach = std::min(yyps->save->reach, save->reach);
            YYFreeState(save);
            continue;
        }
        EndTrials();
        // Every alternative failed. When they all stopped at a token the
        // services fold, it goes into the next token and the conflict is
        // tried again from its first alternative.
        if (!stop && save->errflag == 0 && FoldQueued(errctx_lexeme_ - 1)) {
            have_errctx_ = false;
            YYFreeState(save);
            return Step::kLoop;
        }
        // Run again, outside trial mode, the way that got furthest: the
        // error is met there with every action run, so that everything read
        // up to it is built and owned.
        Trace(1, "every alternative failed: replaying to the furthest error at lexeme", errctx_lexeme_);
        for (auto it = errctx_path_.rbegin(); it != errctx_path_.rend(); ++it) {
            YYParseState* rec = YYNewPoint();
            rec->state = it->first;
            rec->ctry = it->second;
            rec->save = yypath;
            yypath = rec;
        }
        have_errctx_ = false;
        replaying_error_ = true;
        trials_stopped_ = stop;
        YYFreeState(save);
        return Step::kLoop;
    }
}

// No trial point is open any more: the queue indexes of the failed points
// noted will mean other tokens, and the next trials have their own budget.
void Run::EndTrials() {
    trials_work_ = 0;
    failed_.Clear();
}

// Outside trial mode and outside the recovery window, a lookahead that the
// grammar's services fold goes into the token after it.
bool Run::FoldLookahead() {
    if (!svc_.foldable || !svc_.fold || yyps->errflag != 0 || yychar_ <= 0 || !svc_.foldable(yychar_)) return false;
    const int code = yychar_;
    const YYSTYPE value = yylval;
    const YYPOSN posn = yyposn;
    yychar_ = YYLex1();
    if (yychar_ < 0) yychar_ = 0;
    svc_.fold(value, posn, &yylval, &yyposn);
    Trace(1, "lookahead folded into the next token", code);
    return true;
}

// The queued token at `index`, when the services fold its code, goes into
// the queued token after it (read from the source when none is queued yet)
// and leaves the queue.
bool Run::FoldQueued(int index) {
    DovLexemeQueue& q = yylexq;
    if (!svc_.foldable || !svc_.fold || index < q.read || index >= q.end || q.yylexemes[index] <= 0 ||
        !svc_.foldable(q.yylexemes[index]))
        return false;
    if (index + 1 >= q.end) {
        if (q.end >= q.capacity) yyexpand();
        int code = DovGrammarTokenSource();
        if (code < 0) code = 0;
        q.yylexemes[q.end] = code;
        q.yylvals[q.end] = yylval;
        q.yylpsns[q.end] = yyposn;
        ++q.end;
    }
    Trace(1, "queued lexeme folded into the next one", index);
    svc_.fold(q.yylvals[index], q.yylpsns[index], &q.yylvals[index + 1], &q.yylpsns[index + 1]);
    for (int i = index; i + 1 < q.end; ++i) {
        q.yylexemes[i] = q.yylexemes[i + 1];
        q.yylvals[i] = q.yylvals[i + 1];
        q.yylpsns[i] = q.yylpsns[i + 1];
    }
    --q.end;
    return true;
}

Run::Step Run::Recover() {
    const bool trial = Trial();
    if (yyps->errflag < 3) {
        yyps->errflag = 3;
        for (;;) {
            const int n = Lookup(t_.sindex, *yyps->ssp, kErrorToken);
            if (n >= 0) {
                state_ = *yyps->ssp;
                Trace(1, "recovery shifts error to", t_.table[n]);
                if (trial) SaveCellsFrom(yyps->Depth() + 1);
                // The error token carries no value of its own: the lookahead
                // stays the lookahead's, so no cell ever shares it.
                Push(t_.table[n], nullptr, nullptr);
                return Step::kLoop;
            }
            if (yyps->ssp <= yyps->ss) {
                Trace(1, "recovery found no state that shifts error: abort");
                return Step::kAbort;
            }
            if (!trial) {
                ReleaseValue(*yyps->vsp, 1);
                ReleasePosn(*yyps->psp, 1);
                *yyps->vsp = 0;
                *yyps->psp = nullptr;
            }
            --yyps->ssp;
            --yyps->vsp;
            --yyps->psp;
        }
    }
    if (yychar_ == 0) {
        Trace(1, "end of input in recovery: abort");
        return Step::kAbort;
    }
    Trace(1, "recovery skips a token");
    if (!trial) {
        ReleaseValue(yylval, 0);
        ReleasePosn(yyposn, 0);
        yylval = nullptr;
        yyposn = nullptr;
    }
    yychar_ = -1;
    return Step::kLoop;
}

Run::Step Run::Commit() {
    if (yypath) {
        Trace(1, "second commit while replaying: abort");
        return Step::kAbort;
    }
    while (yyps->save) {
        YYParseState* save = yyps->save;
        yyps->save = save->save;
        save->save = yypath;
        yypath = save;
    }
    open_points_ = 0;
    EndTrials();
    have_errctx_ = false;
    Trace(1, "trial committed: replaying from lexeme", yypath->lexeme);
    RestoreFrom(yypath);
    return Step::kLoop;
}

void Run::FreeRecords() {
    have_errctx_ = false;
    open_points_ = 0;
    EndTrials();
    FreeChain(yyps->save);
    YYFreeState(yyps);
    yyps = nullptr;
    FreeChain(yypath);
}

int Run::Accept() {
    // The end of input is still held as the lookahead: its value and
    // position are the run's, and nothing else takes them.
    if (yychar_ >= 0 && !yyps->save) {
        ReleaseValue(yylval, 2);
        ReleasePosn(yyposn, 2);
        yylval = nullptr;
        yyposn = nullptr;
    }
    FreeRecords();
    return 0;
}

void Run::ReleaseQueued(int from) const {
    for (int i = from; i < yylexq.end; ++i) {
        ReleaseValue(yylexq.yylvals[i], 2);
        ReleasePosn(yylexq.yylpsns[i], 2);
        yylexq.yylvals[i] = nullptr;
        yylexq.yylpsns[i] = nullptr;
    }
    yylexq.read = yylexq.end = 0;
}

void Run::ReleaseOwned() {
    // What the run still owns: in trial mode the stacks as the outermost
    // trial point had them and everything queued since it (what the trial
    // pushed above them are copies of queued values); otherwise the working
    // stacks, the held lookahead and the unread queue.
    int queued_from = yylexq.read;
    if (yyps->save) {
        YYParseState* outermost = yyps->save;
        while (outermost->save) outermost = outermost->save;
        RestoreStacks(outermost);
        queued_from = outermost->lexeme;
    } else if (yychar_ >= 0) {
        ReleaseValue(yylval, 2);
        ReleasePosn(yyposn, 2);
    }
    for (int i = 1; i <= yyps->Depth(); ++i) {
        ReleaseValue(yyps->vs[i], 2);
        ReleasePosn(yyps->ps[i], 2);
    }
    if (yylexq.yylexemes) ReleaseQueued(queued_from);
}

int Run::Abort() {
    ReleaseOwned();
    FreeRecords();
    return 1;
}

int Run::Parse() {
    // Nothing of an earlier run may reach this one: unread lexemes are
    // released and the replay path dropped.
    if (yylexq.yylexemes) ReleaseQueued(yylexq.read);
    FreeChain(yypath);
    if (yyps) {
        FreeChain(yyps->save);
        YYFreeState(yyps);
    }
    DovGrammarTokenSource = svc_.lex;
    yyps = YYNewState(12);
    yyps->save = nullptr;
    yyps->errflag = 0;
    *yyps->ss = 0;
    *yyps->vs = 0;
    *yyps->ps = nullptr;
    yynerrs = 0;
    yychar_ = -1;
    state_ = 0;
    if (!svc_.lex) return Abort();
    Step step = Step::kLoop;
    for (;;) {
        switch (step) {
        case Step::kLoop:
            // A state's default reduction or a lookahead's reduction is the
            // common next step: taken without another dispatch.
            step = Loop();
            if (step == Step::kReduce) step = Reduce(rule_);
            break;
        case Step::kReduce:
            step = Reduce(rule_);
            break;
        case Step::kError:
            step = SyntaxError();
            break;
        case Step::kTrialFailed:
            step = TrialFailed();
            break;
        case Step::kRecover:
            step = Recover();
            break;
        case Step::kCommit:
            step = Commit();
            break;
        case Step::kAccept:
            if (Trial()) {
                step = Commit();
                break;
            }
            return Accept();
        case Step::kAbort:
            return Abort();
        case Step::kAccepted:
            return 0;
        }
    }
}

}  // namespace

int DovRunGrammar(DovFrameGrammar& grammar) {
    Run run(grammar);
    return run.Parse();
}
