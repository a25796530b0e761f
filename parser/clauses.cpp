// Clause holders, the clause-table check, the CICS holder and option lookup,
// and the normalisation of screen ACCEPT and DISPLAY items.
#include "parser/clauses.h"

#include <algorithm>
#include <initializer_list>

#include "lbase/message.h"
#include "parser/parser_impl.h"
#include "tree/named.h"
#include "tree/walk.h"

namespace {

void Report(int level, const DovTxtPosn& at, const VString& text) {
    if (WorkingParser)
        WorkingParser->ParserError(level, at, text);
    else if (DovMessageHook)
        DovMessageHook(level, at, text);
}

bool Present(const DovExpr* node) { return node && node->Oper() != NULL_NODE; }

// Argument 0 of `node` when the node has operation `op`; null otherwise.
DovExpr* ArgZeroOf(const DovExpr* node, DovOper op) {
    return node && node->Oper() == op ? DovArgOrNull(node, 0) : nullptr;
}

}  // namespace

bool DovClausePresent(const DovExpr* node, int i) { return Present(DovArgOrNull(node, i)); }

// --- DovClauseHolder ---------------------------------------------------------

namespace {

DovClauseHolder* gHolders = nullptr;

bool Within(const DovExpr* inner, const DovExpr* outer) {
    for (const DovExpr* n = inner; n; n = n->Parent())
        if (n == outer) return true;
    return false;
}

}  // namespace

DovClauseHolder::DovClauseHolder() : nextHolder_(gHolders) { gHolders = this; }

DovClauseHolder::~DovClauseHolder() {
    for (DovClauseHolder** p = &gHolders; *p; p = &(*p)->nextHolder_)
        if (*p == this) {
            *p = nextHolder_;
            break;
        }
    delete current;
    current = nullptr;
    gathered.Clear();
}

void DovClauseHoldersForget(const DovExpr* node) {
    if (!node) return;
    for (DovClauseHolder* h = gHolders; h; h = h->nextHolder_) {
        std::vector<DovExpr*>* waiting = h->waitingSlot_;
        if (waiting) std::erase_if(*waiting, [node](const DovExpr* option) { return Within(option, node); });
        if (Within(h->current, node)) {
            h->current = nullptr;
            h->counter = 0;
            // The options that waited for the statement's form lose it too:
            // their text goes on with the holder's gathered tokens.
            if (waiting) {
                for (DovExpr* option : *waiting) {
                    DovGatherTokens(option, &h->gathered);
                    delete option;
                }
                waiting->clear();
            }
        }
        if (h->parkedSlot_ && Within(*h->parkedSlot_, node)) *h->parkedSlot_ = nullptr;
    }
}

void DovClauseHolder::GatherAndDelete(DovExpr* node) {
    if (!node) return;
    DovGatherTokens(node, &gathered);
    if (WorkingParser) WorkingParser->ForgetNodesWithin(node);
    if (node->Parent()) node->DelThis();
    delete node;
}

DovExpr* DovClauseHolder::Start(DovExpr* node) {
    // An entry left unfinished (after a syntax error): its source tokens go
    // to the next node rather than being lost with it.
    if (current && current != node) {
        DovTokenList kept;
        kept.AppendList(gathered);
        GatherAndDelete(current);
        // The discarded node's text comes before the new node's.
        if (node)
            node->LeadingTokens()->PrependList(gathered);
        gathered.PrependList(kept);
    }
    current = node;
    counter = 0;
    return node;
}

void DovClauseHolder::SetClause(int n, DovExpr* value) {
    if (!current || n < 0 || n >= current->NumArgs()) {
        Report(MSG_SEVERE, DovSrcPosnBeg(value),
               current ? DovFormat("DovClauseHolder::SetClause: clause #%d is not available in %s", n,
                                   DovOperName(current->Oper()))
                       : VString("DovClauseHolder::SetClause: no current node"));
        GatherAndDelete(value);
        return;
    }
    if (DovClausePresent(current, n)) {
        Report(MSG_ERR, DovSrcPosnBeg(value),
               DovFormat("Clause %s is set more than once. Ignoring second instance.",
                         DovOperArgName(current->Oper(), n).CStr()));
        GatherAndDelete(value);
        return;
    }
    if (value) value->Tokens().AppendList(gathered);
    if (DovExpr* old = current->DelArg(n, -1, 1)) {
        // A NULL_NODE placeholder: any text it holds stays in the slot.
        DovGatherTokens(old, &current->ArgSlots(n)->tokens);
        delete old;
    }
    current->SetArg(n, value, counter, 0);
    ++counter;
}

void DovClauseHolder::AddToList(int n, DovOper listOp, DovExpr* value) {
    if (!current || n < 0 || n >= current->NumArgs()) {
        Report(MSG_SEVERE, DovSrcPosnBeg(value),
               current ? DovFormat("DovClauseHolder::AddToList: clause #%d is not available in %s", n,
                                   DovOperName(current->Oper()))
                       : VString("DovClauseHolder::AddToList: no current node"));
        GatherAndDelete(value);
        return;
    }
    current->SetArgToList(n, listOp, value);
    if (value) value->SetSlotOrder(counter);
    ++counter;
}

DovExpr* DovClauseHolder::Finish() {
    DovExpr* node = current;
    if (!node) {
        Report(MSG_SEVERE, DovNullPosn, "DovClauseHolder::Finish: no current node");
        return nullptr;
    }
    node->Tokens().AppendList(gathered);
    current = nullptr;
    counter = 0;
    return node;
}

// --- CheckClauseTable ----------------------------------------------------------

void CheckClauseTable(DovExpr* node, std::span<const int> requirements, const char* entryKind,
                      const DovTxtPosn& position) {
    if (!node) return;
    const int n = std::min(node->NumArgs(), static_cast<int>(requirements.size()));
    for (int i = 0; i < n; ++i) {
        const bool present = DovClausePresent(node, i);
        if (requirements[i] == CLAUSE_FORBIDDEN && present)
            Report(MSG_ERR, position,
                   DovFormat("In %s clause '%s' is present. It must not be present.", entryKind,
                             DovOperArgName(node->Oper(), i).CStr()));
        else if (requirements[i] == CLAUSE_REQUIRED && !present)
            Report(MSG_ERR, position,
                   DovFormat("In %s clause '%s' is missing. It must be present.", entryKind,
                             DovOperArgName(node->Oper(), i).CStr()));
    }
}

// --- The CICS holder -------------------------------------------------------------

int FindCicsOptionSlot(int statement, int option) {
    const DovCicsOptionRow* end = CicsOptionTable + CicsOptionTableSize;
    const DovCicsOptionRow* row =
        std::lower_bound(CicsOptionTable, end, std::pair<int, int>(statement, option),
                         [](const DovCicsOptionRow& r, const std::pair<int, int>& key) {
                             return r.statement != key.first ? r.statement < key.first : r.option < key.second;
                         });
    if (row == end || row->statement != statement || row->option != option) return -1;
    return row->slot;
}

DovCicsClauseHolder::DovCicsClauseHolder() {
    parkedSlot_ = &parked;
    waitingSlot_ = &waiting;
}

DovCicsClauseHolder::~DovCicsClauseHolder() {
    delete parked;
    parked = nullptr;
    for (DovExpr* option : waiting) delete option;
    waiting.clear();
}

int FindCicsForm(int statement, int option) {
    for (int i = 0; i < CicsFormTableSize; ++i)
        if (CicsFormTable[i].statement == statement && CicsFormTable[i].option == option) return CicsFormTable[i].form;
    return 0;
}

bool HasCicsForm(int statement) {
    for (int i = 0; i < CicsFormTableSize; ++i)
        if (CicsFormTable[i].statement == statement) return true;
    return false;
}

int DovCicsClauseHolder::PlaceOption(DovExpr* option) {
    const int slot = FindCicsOptionSlot(current->Oper(), option->Oper());
    if (slot < 0) {
        Report(MSG_ERR, DovSrcPosnBeg(option),
               DovFormat("Option %s can not be used in CICS statement %s. Option ignored.",
                         DovOperName(option->Oper()), DovOperName(current->Oper())));
        // The option's source text stays with the statement.
        GatherAndDelete(option);
        return -1;
    }
    SetClause(slot, option);
    return slot;
}

void DovCicsClauseHolder::PlaceWaiting() {
    std::vector<DovExpr*> options;
    options.swap(waiting);
    for (DovExpr* option : options) PlaceOption(option);
}

void DovCicsClauseHolder::DropWaiting() {
    std::vector<DovExpr*> options;
    options.swap(waiting);
    for (DovExpr* option : options) GatherAndDelete(option);
}

DovExpr* DovCicsClauseHolder::Start(DovExpr* statement) {
    // The options waiting for an unfinished statement go with it.
    if (current)
        PlaceWaiting();
    else
        DropWaiting();
    DovClauseHolder::Start(statement);
    DovExpr* option = parked;
    parked = nullptr;
    if (option) {
        if (statement)
            PlaceOption(option);
        else
            GatherAndDelete(option);
    }
    return statement;
}

int DovCicsClauseHolder::AddOption(DovExpr* option) {
    if (!option) return -1;
    if (!current) {
        // Only the latest option waits; an earlier one keeps its tokens.
        if (parked && parked != option) GatherAndDelete(parked);
        parked = option;
        return -1;
    }
    const int statement = current->Oper();
    if (!HasCicsForm(statement)) return PlaceOption(option);
    if (const int form = FindCicsForm(statement, option->Oper())) {
        // The key option: the statement, which holds no option yet, becomes
        // its second form (no more slots than the first: the slots it drops
        // are empty), and the key option takes the place of the marker in
        // slot 0; every option is placed in source order.
        current->SetOper(static_cast<DovOper>(form), 0, 1);
        PlaceWaiting();
        return PlaceOption(option);
    }
    // An option that neither form takes (a syntax-error node among them) is
    // refused now; any other waits for the form.
    bool taken = FindCicsOptionSlot(statement, option->Oper()) >= 0;
    for (int i = 0; i < CicsFormTableSize && !taken; ++i)
        if (CicsFormTable[i].statement == statement)
            taken = FindCicsOptionSlot(CicsFormTable[i].form, option->Oper()) >= 0;
    if (!taken) return PlaceOption(option);
    waiting.push_back(option);
    return -1;
}

DovExpr* DovCicsClauseHolder::Finish() {
    if (current) PlaceWaiting();
    return DovClauseHolder::Finish();
}

// --- Screen ACCEPT and DISPLAY items ---------------------------------------------

namespace {

// Slots of the screen items.
constexpr int kScreenPosnSpec = 0;
constexpr int kScreenDataName = 1;
constexpr int kScreenFromUpon = 5;
constexpr int kScreenWith = 7;
constexpr int kScreenCopy = 30;
constexpr int kDisplayNoAdvancing = 31;
// Slots of the program down to the CONSOLE IS CRT clause.
constexpr int kProgEnvirDiv = 1;
constexpr int kEnvirConfigSection = 1;
constexpr int kConfigSpecialNames = 3;
constexpr int kSpecialNamesConsole = 8;

bool ProgramHasConsoleClause(const DovExpr* program) {
    const DovExpr* envir = DovArgOrNull(program, kProgEnvirDiv);
    if (!Present(envir)) return false;
    const DovExpr* config = DovArgOrNull(envir, kEnvirConfigSection);
    if (!Present(config)) return false;
    const DovExpr* names = DovArgOrNull(config, kConfigSpecialNames);
    if (!Present(names)) return false;
    return DovClausePresent(names, kSpecialNamesConsole);
}

bool DefinedInScreenSection(DovExpr* name) {
    if (!name || name->Oper() != NAMED_OBJ_USE) return false;
    DovExpr* def = static_cast<DovNamedObjUse*>(name)->Definition();
    DovExpr* section = def ? DovEnclosingSection(def) : nullptr;
    return section && section->Oper() == SECTION_SCREEN;
}

// Whether a screen item must keep its screen form; `featureSlots` are the
// slots that only the screen form has.
bool KeepsScreenForm(DovExpr* item, DovExpr* program, bool crt,
                     std::initializer_list<std::pair<int, int>> featureSlots) {
    if (crt) return true;
    if (program && ProgramHasConsoleClause(program)) return true;
    for (auto [from, to] : featureSlots)
        for (int i = from; i <= to; ++i)
            if (DovClausePresent(item, i)) return true;
    return DefinedInScreenSection(DovArgOrNull(item, kScreenDataName));
}

// Reports every slot of `item` that holds a clause and is neither moved to
// the plain form nor `dropSilently`.
void ReportLostClauses(DovExpr* item, std::initializer_list<std::pair<int, int>> moves, int dropSilently,
                       const char* label) {
    const DovTxtPosn at = DovSrcPosnBeg(item);
    for (int i = 0; i < item->NumArgs(); ++i) {
        bool moved = false;
        for (auto [from, to] : moves) moved = moved || from == i;
        if (!moved && i != dropSilently && DovClausePresent(item, i))
            Report(MSG_WARN, at, DovFormat("%s: clause #%d was lost", label, i));
    }
}

void MoveSlots(DovExpr* item, DovExpr* plain, std::initializer_list<std::pair<int, int>> moves, int dropSilently,
               const char* label) {
    ReportLostClauses(item, moves, dropSilently, label);
    DovMoveSlotRecords(item, plain, moves);
}

// Takes the text of slot `from` (its slot tokens and its subtree's tokens)
// in front of slot `to`'s tokens and deletes the child of `from`: a word
// that belongs to a later phrase keeps its place before that phrase.
void GiveTextToLaterSlot(DovExpr* item, int from, int to) {
    DovTokenList text;
    text.AppendList(item->ArgSlots(from)->tokens);
    if (DovExpr* child = item->DelArg(from, 0, 1)) {
        DovGatherTokens(child, &text);
        if (WorkingParser) WorkingParser->ForgetNodesWithin(child);
        delete child;
    }
    item->ArgSlots(to)->tokens.PrependList(text);
}

// Puts `plain` in the place of `item` and deletes the item.
void ReplaceItem(DovExpr* item, DovExpr* plain) {
    if (item->Parent()) item->ReplThis(plain);
    if (WorkingParser) WorkingParser->ForgetNodesWithin(item);
    delete item;
}

}  // namespace

void DovMoveSlotRecords(DovExpr* from, DovExpr* to, std::initializer_list<std::pair<int, int>> moves) {
    DovTokenList pending;
    for (int i = 0; i < from->NumArgs(); ++i) {
        int target = -1;
        for (auto [src, dst] : moves)
            if (src == i) target = dst;
        if (target >= 0 && target < to->NumArgs()) {
            DovArgSlot* slot = from->DelArgSlot(i, 0, 0);
            slot->tokens.PrependList(pending);
            to->SetArg(target, slot);
            continue;
        }
        pending.AppendList(from->ArgSlots(i)->tokens);
        if (DovExpr* child = from->DelArg(i, 0, 1)) {
            DovGatherTokens(child, &pending);
            if (WorkingParser) WorkingParser->ForgetNodesWithin(child);
            delete child;
        }
    }
    to->Tokens().AppendList(pending);
    to->Tokens().AppendList(from->Tokens());
}

DovExpr* ProcessDisplayItem(DovExpr* item, DovExpr* program) {
    if (!item || item->Oper() != DISPLAY_SCREEN_ITEM) return item;
    const DovExpr* upon = ArgZeroOf(DovArgOrNull(item, kScreenFromUpon), DSPL_UPON);
    const bool crt = upon && (upon->Oper() == IOF_CRT || upon->Oper() == IOF_CRT_UNDER);
    if (KeepsScreenForm(item, program, crt, {{kScreenPosnSpec, kScreenPosnSpec}, {2, 4}, {6, 6}, {8, 29}})) return item;

    // WITH is the first word of WITH NO ADVANCING: its text goes with that
    // phrase, not in front of the next slot moved (the copy slot, whose text
    // is placed after the phrase's).
    if (DovClausePresent(item, kScreenWith) && DovClausePresent(item, kDisplayNoAdvancing))
        GiveTextToLaterSlot(item, kScreenWith, kDisplayNoAdvancing);
    DovExpr* ansi = new DovExprOper(DISPLAY_ANSI_ITEM);
    MoveSlots(item, ansi, {{kScreenDataName, 0}, {kScreenFromUpon, 1}, {kScreenCopy, 2}, {kDisplayNoAdvancing, 3}},
              kScreenWith, "ProcessDisplayItem");
    ansi->ArgSlots(0)->order = 0;
    ReplaceItem(item, ansi);

    DovExpr* device = ArgZeroOf(DovArgOrNull(ansi, 1), DSPL_UPON);
    if (!DovClausePresent(ansi, 1) || (device && device->Oper() == IOF_CONSOLE)) return ansi;
    // The function form has no NO ADVANCING phrase: an item with one, UPON
    // whatever device or mnemonic name, stays in the ANSI form, which holds
    // both.
    if (DovClausePresent(ansi, 3)) return ansi;

    // UPON a device other than the console: the function form.
    DovExpr* func = new DovExprOper(DISPLAY_FUNC_ITEM);
    MoveSlots(ansi, func, {{0, 0}, {1, 1}, {2, 2}}, -1, "ProcessDisplayItem");
    ReplaceItem(ansi, func);
    return func;
}

DovExpr* ProcessAcceptItem(DovExpr* item, DovExpr* program) {
    if (!item || item->Oper() != ACCEPT_SCREEN_ITEM) return item;
    const DovExpr* from = ArgZeroOf(DovArgOrNull(item, kScreenFromUpon), ACCP_FROM);
    const bool crt = from && from->Oper() == IOF_CRT;
    if (KeepsScreenForm(item, program, crt, {{kScreenPosnSpec, kScreenPosnSpec}, {2, 4}, {6, 6}, {8, 29}, {31, 38}}))
        return item;

    DovExpr* ansi = new DovExprOper(ACCEPT_ANSI_ITEM);
    MoveSlots(item, ansi, {{kScreenDataName, 0}, {kScreenFromUpon, 1}, {kScreenCopy, 2}}, -1, "ProcessAcceptItem");
    ansi->ArgSlots(0)->order = 0;
    ReplaceItem(item, ansi);

    DovExpr* device = ArgZeroOf(DovArgOrNull(ansi, 1), ACCP_FROM);
    if (!DovClausePresent(ansi, 1) || (device && device->Oper() == IOF_CONSOLE)) return ansi;

    DovExpr* func = new DovExprOper(ACCEPT_FUNC_ITEM);
    MoveSlots(ansi, func, {{0, 0}, {1, 1}, {2, 2}}, -1, "ProcessAcceptItem");
    ReplaceItem(ansi, func);
    return func;
}

int DovScreenItemWalkStep(DovExpr* node, void* program) {
    if (!node) return DOV_WALK_SKIP;
    switch (node->Oper()) {
        case ACCEPT_SCREEN_ITEM:
            ProcessAcceptItem(node, static_cast<DovExpr*>(program));
            return DOV_WALK_SKIP;
        case DISPLAY_SCREEN_ITEM:
            ProcessDisplayItem(node, static_cast<DovExpr*>(program));
            return DOV_WALK_SKIP;
        default:
            return DOV_WALK_DESCEND;
    }
}
