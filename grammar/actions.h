// What the actions of the rule files use: node shapes, the release of a
// value cell, and the conventions of trial mode, commits and position
// reduction.
//
// Conventions every rule file follows:
//  - Values travel as YYSTYPE (parser/grammar_types.h): a node pointer or a
//    small integer carried in the pointer (values up to 1400 are never
//    nodes). DovN gives the node of a value, or null for an integer; the
//    shape helpers below take values and drop the integers.
//  - The frame sets $$ to null before each action; a rule without an action
//    yields null. Write `$$ = $1;` where a rule passes its value through.
//  - `{ }` actions run only outside trial mode; they build nodes and call
//    services. `[ ]` actions run in trial mode too, and again on replay:
//    they are kept to commits (YYVALID), YYERROR predicates and switches that
//    must hold for read-ahead tokens, build nothing and are idempotent; each
//    carries a comment saying why it runs in trial mode. One that writes a
//    value cell writes one of its right-hand side, YYVALARG(0) or
//    YYVALARG(-1), none further left (kDovTrialActionReach in frame.h).
//  - A commit ends a trial early: `[ YYVALID; ]` on the rule that completes
//    a statement or sentence, or an empty rule `x_commit : [ YYVALID; ] ;`.
//  - A value that an action takes into a node or hands to a service is no
//    longer the cell's; a value it drops it releases with DovDeleteExprCell.
//  - The frame hands the tokens of every reduction to the nodes of its
//    values after the action. An action that hands a node to a service that
//    keeps it elsewhere than in $$ (a clause holder, a program list) first
//    writes YYREDUCEPOSN(node): the tokens go to that node now and the frame
//    does not reduce the positions again.
//  - An absent optional part is a new null node (DovAbsentNode); a slot the
//    grammar leaves empty holds a null pointer.
#pragma once

#include "grammar/frame.h"
#include "tree/expr.h"
#include "parser/grammar_types.h"

inline DovExpr* DovN(YYSTYPE value) { return DovValueNode(value); }

// A node of `op` with no children (its fixed slots empty).
YYSTYPE DovKeywordNode(DovOper op);

// A node of `op` with the given values as children, in slot order; a value
// that is no node leaves its slot empty.
template <typename... V>
    requires(sizeof...(V) >= 1 && sizeof...(V) <= 10)
YYSTYPE DovConstructNode(DovOper op, V... children) {
    return new DovExprOper(op, DovN(static_cast<YYSTYPE>(children))...);
}

// The value of an absent optional part: a new null node.
YYSTYPE DovAbsentNode();

// Left-recursive lists: the list of the first item, and the list with one
// more item; one list node of `op` holds every item, never a nested list.
YYSTYPE DovListFirst(DovOper op, YYSTYPE item);
YYSTYPE DovListAppend(DovOper op, YYSTYPE list, YYSTYPE item);

// Fills slot `slot` of a node made earlier with `child` (a value that is no
// node empties the slot).
void DovSetSlot(YYSTYPE node, int slot, YYSTYPE child);

// Releases a value the action does not keep: deletes the node the cell
// holds, if any (not a node that has a parent, such as the symbol-table
// element a user word arrives as), and sets the cell to null.
void DovDeleteExprCell(YYSTYPE* cell);
