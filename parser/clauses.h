// Clause collection. Entries and statements are written as a head followed
// by clauses in any order; the grammar builds the node first, with one empty
// argument slot per clause, and hands each clause node to a holder, which
// puts it into its slot, numbers it in source order, refuses a second
// instance and gives the finished node back at the end of the entry.
//
// Also here: the check of an entry's clauses against a table of required and
// forbidden clauses, the CICS holder with the table that tells which slot of
// which EXEC CICS statement takes which option, and the normalisation of
// screen ACCEPT and DISPLAY items that use no screen feature.
//
// Every message goes through the working parser's ParserError (through the
// global message hook when no parse is running).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "lbase/txtposn.h"
#include "parser/cics_options.h"
#include "tree/expr.h"
#include "tree/token.h"

class DovClauseHolder {
public:
    DovClauseHolder();
    DovClauseHolder(const DovClauseHolder&) = delete;
    DovClauseHolder& operator=(const DovClauseHolder&) = delete;
    // Deletes a node that was never finished and the gathered tokens.
    ~DovClauseHolder();

    // Makes `node` current (deleting an unfinished one, whose tokens are
    // gathered for the next node) and restarts the clause order at 0.
    DovExpr* Start(DovExpr* node);
    // Puts `value` into clause slot n of the current node with the next order
    // number. A clause that is present already is reported once, the first
    // instance stays, the second's tokens are gathered for the node and the
    // second node is deleted.
    void SetClause(int n, DovExpr* value);
    // Appends `value` to the list of `listOp` in slot n, making the list when
    // the slot is empty; any number of instances are taken.
    void AddToList(int n, DovOper listOp, DovExpr* value);
    // Hands the current node back with the gathered tokens appended to its
    // own token list; the holder becomes idle.
    DovExpr* Finish();

    // The entry or statement being collected (owned); null when idle.
    DovExpr* current = nullptr;
    // Order number of the next clause.
    int counter = 0;
    // Tokens of refused clauses, for the node at Finish.
    DovTokenList gathered;

protected:
    // Moves every token of `node` to the gathered tokens and deletes it; the
    // working parser forgets any of its state inside the node (the pending
    // syntax-error node among it).
    void GatherAndDelete(DovExpr* node);

    // The CICS holder's parked option and waiting options, for
    // DovClauseHoldersForget.
    DovExpr** parkedSlot_ = nullptr;
    std::vector<DovExpr*>* waitingSlot_ = nullptr;

private:
    friend void DovClauseHoldersForget(const DovExpr* node);
    // Every holder that exists, so that a node deleted by someone else (the
    // grammar's error recovery) is forgotten by the holder that collects it.
    DovClauseHolder* nextHolder_ = nullptr;
};

// Every holder forgets its current node or parked option when it lies within
// `node`, which its owner is about to delete. The working parser's
// ForgetNodesWithin calls it.
void DovClauseHoldersForget(const DovExpr* node);

// The holder of EXEC CICS statements. An option given before any statement
// is current is parked until Start. A statement with a second form
// (CicsFormTable: SEND becomes SEND MAP) keeps its options waiting, in
// source order, until its form is known: it changes to the second form when
// the key option (MAP) comes, wherever it stands, and stays what it is when
// Finish comes first; the waiting options are placed then.
class DovCicsClauseHolder : public DovClauseHolder {
public:
    DovCicsClauseHolder();
    // Also deletes a parked option and the waiting ones.
    ~DovCicsClauseHolder();

    // Makes `statement` current and places the parked option into it. A
    // parked option that cannot be placed keeps its tokens for the statement.
    // The options waiting for an unfinished statement go with it.
    DovExpr* Start(DovExpr* statement);
    // Places `option` into the slot that CicsOptionTable gives it in the
    // current statement and returns the slot; -1 when it was parked, left
    // waiting for the statement's form, refused or null. A refused option is
    // reported; its tokens are gathered for the statement and the node is
    // deleted.
    int AddOption(DovExpr* option);
    // As DovClauseHolder::Finish, after the waiting options are placed into
    // the statement's form; a parked option stays parked.
    DovExpr* Finish();
    // Deletes the options waiting for a form, their tokens gathered.
    void DropWaiting();

    // The option waiting for its statement (owned); null when none.
    DovExpr* parked = nullptr;
    // The options waiting for the current statement's form (owned), in
    // source order.
    std::vector<DovExpr*> waiting;

private:
    int PlaceOption(DovExpr* option);
    // Places the waiting options, in order.
    void PlaceWaiting();
};

// The second form of `statement` that the option `option` decides
// (CicsFormTable); 0 when there is none.
int FindCicsForm(int statement, int option);
// Whether `statement` has a second form.
bool HasCicsForm(int statement);

// Requirements of CheckClauseTable, one per argument slot.
enum DovClauseRequirement : int {
    CLAUSE_FORBIDDEN = 0,
    CLAUSE_ALLOWED = 1,
    CLAUSE_REQUIRED = 2,
};

// Reports, at `position`, every clause of `node` that is present against a
// CLAUSE_FORBIDDEN and every clause that is absent against a CLAUSE_REQUIRED;
// slots beyond the array are allowed. The node is not changed.
void CheckClauseTable(DovExpr* node, std::span<const int> requirements, const char* entryKind,
                      const DovTxtPosn& position);

// Whether clause i of `node` is present: the slot holds a node other than a
// NULL_NODE.
bool DovClausePresent(const DovExpr* node, int i);

// Moves the slot records of `from` named in `moves` (slot of `from`, slot of
// `to`) whole into `to`: child, slot tokens and both slot fields. Every other
// slot's child is deleted; its tokens, slot tokens and subtree, go in front
// of the next moved slot's tokens or, after the last, to the end of `to`'s
// own tokens, followed by `from`'s own tokens: no source text is lost and the
// order is kept. `from` is left with empty slots.
void DovMoveSlotRecords(DovExpr* from, DovExpr* to, std::initializer_list<std::pair<int, int>> moves);

// The argument slot of the first CicsOptionTable row for the statement and
// option codes; -1 when there is none.
int FindCicsOptionSlot(int statement, int option);

// Screen ACCEPT and DISPLAY items that use no screen feature become their
// plain ANSI or function forms (the function form for UPON or FROM a device
// other than the console; a DISPLAY with NO ADVANCING stays ANSI, the only
// plain form with that phrase). `program` is the COBOL_PROGRAM the item is in
// (its CONSOLE IS CRT clause keeps every item in screen form); it may be null.
// The result is the node now in the item's place: the item itself when it
// keeps its screen form, else its plain form (the item is deleted; without a
// parent the caller owns the plain form).
DovExpr* ProcessAcceptItem(DovExpr* item, DovExpr* program);
DovExpr* ProcessDisplayItem(DovExpr* item, DovExpr* program);
// The WalkTheTree step that FinishProgram runs over a finished program, with
// the program as context: screen items are processed and not descended into
// (DOV_WALK_SKIP); every other node is descended into.
int DovScreenItemWalkStep(DovExpr* node, void* program);
