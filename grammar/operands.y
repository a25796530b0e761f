/* ---- Receiving and sending operands ------------------------------------------------
 * receiving_operand: identifier [ROUNDED]    receiving_list: EX_LIST of them
 * operand: identifier | [ALL] literal | ADDRESS OF identifier | LENGTH OF identifier
 * operand_list: EX_LIST    ident_or_literal: identifier or literal (no ALL)
 * identifier_list: IDENT_LIST                                                   */
receiving_operand
    : identifier                                    { $$ = $1; }
    | identifier RW_ROUNDED                         { $$ = DovConstructNode(IDENT_ROUNDED, $1); }
    ;

receiving_list
    : receiving_operand                             { $$ = DovListFirst(EX_LIST, $1); }
    | receiving_list receiving_operand              { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

operand
    : identifier                                    { $$ = $1; }
    | literal_all                                   { $$ = $1; }
    | RW_ADDRESS _of identifier                     { $$ = DovConstructNode(SR_ADDRESS_OF, $3); }
    | RW_LENGTH _of identifier                      { $$ = DovConstructNode(SR_LENGTH_OF, $3); }
    ;

operand_list
    : operand                                       { $$ = DovListFirst(EX_LIST, $1); }
    | operand_list operand                          { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

ident_or_literal
    : identifier                                    { $$ = $1; }
    | literal                                       { $$ = $1; }
    ;

identifier_list
    : identifier                                    { $$ = DovListFirst(IDENT_LIST, $1); }
    | identifier_list identifier                    { $$ = DovListAppend(IDENT_LIST, $1, $2); }
    ;

/* ---- Optional operands ------------------------------------------------------------------
 * each: the thing, or a null node when absent                                */
opt_operand
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | operand                                       { $$ = $1; }
    ;

opt_identifier
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | identifier                                    { $$ = $1; }
    ;

opt_data_name
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | data_name                                     { $$ = $1; }
    ;

opt_literal
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | literal                                       { $$ = $1; }
    ;

opt_arith_expr
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | arith_expr                                    { $$ = $1; }
    ;

/* ---- Identifiers -------------------------------------------------------------------------
 * identifier: data-name [( subscript... )] [( from : [length] )] | function-reference [( from : [length] )]
 * identifier: the base, or REFERENCE_MOD (what, from, length or null node)
 * identifier_base: the data name, TABLE_ELT (data name, SUBSCRIPT_LIST) or
 * the INTR_FUNCTION node
 *
 * CONFLICT C01 (register): after a data name, '(' may open subscripts or a
 * reference modification (or follow the identifier). The shift (subscripts)
 * is tried first; on failure the data name is the base. CONFLICT C02: after
 * a base, '(' may open a reference modification or follow the identifier;
 * the shift is tried first.
 * The six trial-mode actions: mark_paren writes 1 into the cell of the name
 * or base before the parenthesis; the table-element and reference-
 * modification rules commit when exactly one trial point is open; the rules
 * without parenthesis reset a nonzero cell to 0 and then commit when exactly
 * one trial point is open. Outside trial mode they build the nodes.          */
identifier
    : identifier_base
      [ /* TRIAL: ends the paren trial */ if (DovParenSkipped(YYREDUCTION)) YYVALID; else if (!yytrial) $$ = $1; ]
    | identifier_base SEP_LEFT_PAR mark_paren arith_expr SEP_COLON opt_arith_expr SEP_RIGHT_PAR
      [ /* TRIAL: commits the paren trial */ if (DovParenBuilt(YYREDUCTION)) YYVALID;
        else if (!yytrial) $$ = DovConstructNode(REFERENCE_MOD, $1, $4, $6); ]
    ;

identifier_base
    : data_name
      [ /* TRIAL: ends the paren trial */ if (DovParenSkipped(YYREDUCTION)) YYVALID; else if (!yytrial) $$ = $1; ]
    | data_name SEP_LEFT_PAR mark_paren subscript_list SEP_RIGHT_PAR
      [ /* TRIAL: commits the paren trial */ if (DovParenBuilt(YYREDUCTION)) YYVALID;
        else if (!yytrial) $$ = DovConstructNode(TABLE_ELT, $1, $4); ]
    | function_ref                                  { $$ = $1; }
    ;

mark_paren
    : /* empty */ [ /* TRIAL: marks the cell before the parenthesis */ DovParenMark(YYREDUCTION); ]
    ;

/* ---- Subscripts ----------------------------------------------------------------------------
 * subscript: integer | ZERO | data-name [{+|-} integer] | ALL
 * subscript_list: SUBSCRIPT_LIST    subscript: the value, OP_ADD_IX,
 * OP_SUB_IX or EX_INDEX_ALL                                                    */
subscript_list
    : subscript                                     { $$ = DovListFirst(SUBSCRIPT_LIST, $1); }
    | subscript_list subscript                      { $$ = DovListAppend(SUBSCRIPT_LIST, $1, $2); }
    ;

subscript
    : integer                                       { $$ = $1; }
    | zero_word                                     { $$ = DovKeywordNode(FIG_ZERO); }
    | data_name                                     { $$ = $1; }
    | data_name OP_PLUS integer                     { $$ = DovConstructNode(OP_ADD_IX, $1, $3); }
    | data_name OP_MINUS integer                    { $$ = DovConstructNode(OP_SUB_IX, $1, $3); }
    | RW_ALL                                        { $$ = DovKeywordNode(EX_INDEX_ALL); }
    ;

/* ---- Data names and names --------------------------------------------------------------------
 * data-name: word [{OF|IN} word]...
 * data_name: NAMED_OBJ_USE (data-name)    data_name_redef: the same, setting 1
 * (after REDEFINES and in RENAMES)    qualified_name: OF_IN_LIST of NAME_USEs
 * name_word: NAME_USE of the word's element    plain_name: the use of one
 * word with its tokens    constant_name: the use of a constant name
 * data_name_list: EX_LIST    opt_data_name_list: EX_LIST or a null node
 * plain_name_list: EX_LIST    record_name: the record operand of DELETE,
 * RELEASE, REWRITE, WRITE                                                      */
data_name
    : qualified_name                                { $$ = DovNamedUse($1, NC_DATA_NAME, 0); }
    ;

data_name_redef
    : qualified_name                                { $$ = DovNamedUse($1, NC_DATA_NAME, 1); }
    ;

qualified_name
    : name_word                                     { $$ = DovListFirst(OF_IN_LIST, $1); }
    | qualified_name of_in_word name_word           { $$ = DovListJoin(YYREDUCTION, OF_IN_LIST, $1, $3); }
    ;

name_word
    : TK_USER_DEFD_WORD                             { $$ = DovNameUseOfWord($1); }
    ;

plain_name
    : TK_USER_DEFD_WORD                             { $$ = DovPlainNameUse($1, NC_DATA_NAME, &YYPOSNARG(1)); }
    ;

constant_name
    : UW_CONSTANT_NAME                              { $$ = DovPlainNameUse($1, NC_CONSTANT_NAME, &YYPOSNARG(1)); }
    ;

data_name_list
    : data_name                                     { $$ = DovListFirst(EX_LIST, $1); }
    | data_name_list data_name                      { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

opt_data_name_list
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | opt_data_name_list data_name                  { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

plain_name_list
    : plain_name                                    { $$ = DovListFirst(EX_LIST, $1); }
    | plain_name_list plain_name                    { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

record_name
    : data_name                                     { $$ = $1; }
    ;

/* ---- Intrinsic functions -------------------------------------------------------------------------
 * FUNCTION name-with-arguments ( argument... )    FUNCTION name-without-arguments
 * FUNCTION other-name [( argument... )]
 * function_ref: INTR_FUNCTION (name, arguments: OP_PARENS of FUNC_ARG_LIST; no
 * node for a name without arguments; a null node for another name without
 * them). The lexer and the token adapter read the name in function mode
 * (from RW_FUNCTION on); the markers stay as empty rules around the name.    */
function_ref
    : RW_FUNCTION mark_function_name TK_FUNC_NAME_WITH_ARGS mark_function_end function_args
      { $$ = DovConstructNode(INTR_FUNCTION, $3, $5); }
    | RW_FUNCTION mark_function_name TK_FUNC_NAME_NO_ARGS mark_function_end
      { $$ = DovConstructNode(INTR_FUNCTION, $3); }
    /* CONFLICT C06 (register): '(' after another name may open its arguments
     * or a reference modification; the shift (arguments) is tried first. */
    | RW_FUNCTION mark_function_name TK_CHAR_STRING mark_function_end opt_function_args
      { $$ = DovConstructNode(INTR_FUNCTION, $3, $5); }
    ;

mark_function_name
    : /* empty */
    ;

mark_function_end
    : /* empty */
    ;

opt_function_args
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | function_args                                 { $$ = $1; }
    ;

function_args
    : SEP_LEFT_PAR function_arg_list SEP_RIGHT_PAR  { $$ = DovConstructNode(OP_PARENS, $2); }
    ;

/* An argument ends where no operator follows: + and - after an argument
 * continue it (A - 1 is one argument); the rules' low precedence makes the
 * shift in the tables. */
function_arg_list
    : arith_expr %prec PRTY_LOW                     { $$ = DovListFirst(FUNC_ARG_LIST, $1); }
    | function_arg_list arith_expr %prec PRTY_LOW   { $$ = DovListAppend(FUNC_ARG_LIST, $1, $2); }
    ;

/* ---- Literals and figurative constants -----------------------------------------------------------
 * literal: integer | real | ZERO | item [& item]...
 * item: nonnumeric | SPACE | HIGH-VALUE | LOW-VALUE | QUOTE | NULL | constant
 * name | symbolic character | symbolic constant
 * literal_all: literal or FIG_ALL (literal)    integer: the integer literal
 * integer_range: EX_INT_CONST_RANGE    integer_list: EX_LIST
 * The figurative constants are nodes of their own code; singular and plural
 * give the same node.                                                          */
literal_all
    : literal                                       { $$ = $1; }
    | RW_ALL literal                                { $$ = DovConstructNode(FIG_ALL, $2); }
    ;

literal
    : TK_INT_NUM_LIT                                { $$ = $1; }
    | TK_REAL_NUM_LIT                               { $$ = $1; }
    | zero_word                                     { $$ = DovKeywordNode(FIG_ZERO); }
    | concat_literal                                { $$ = $1; }
    ;

concat_literal
    : concat_item                                   { $$ = $1; }
    | concat_literal SEP_AMPER concat_item          { $$ = DovListJoin(YYREDUCTION, STR_CONCATENATE, $1, $3); }
    ;

concat_item
    : TK_NONNUM_LIT                                 { $$ = $1; }
    | space_word                                    { $$ = DovKeywordNode(FIG_SPACE); }
    | high_value_word                               { $$ = DovKeywordNode(FIG_HIGH_VALUE); }
    | low_value_word                                { $$ = DovKeywordNode(FIG_LOW_VALUE); }
    | quote_word                                    { $$ = DovKeywordNode(FIG_QUOTE); }
    | null_word                                     { $$ = DovKeywordNode(FIG_NULL); }
    | constant_name                                 { $$ = $1; }
    | UW_SYMBOLIC_CHAR                              { $$ = DovPlainNameUse($1, NC_SYMBOLIC_CHAR, &YYPOSNARG(1)); }
    | UW_SYMBOLIC_CONSTANT                          { $$ = DovPlainNameUse($1, NC_SYMBOLIC_CONSTANT, &YYPOSNARG(1)); }
    ;

integer
    : TK_INT_NUM_LIT                                { $$ = $1; }
    | constant_name                                 { $$ = $1; }
    ;

integer_range
    : integer                                       { $$ = DovConstructNode(EX_INT_CONST_RANGE, $1); }
    | integer RW_TO integer                         { $$ = DovConstructNode(EX_INT_CONST_RANGE, $1, $3); }
    ;

integer_list
    : integer                                       { $$ = DovListFirst(EX_LIST, $1); }
    | integer_list integer                          { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

ascending_descending
    : RW_ASCENDING                                  { $$ = DovKeywordNode(EX_ASCENDING); }
    | RW_DESCENDING                                 { $$ = DovKeywordNode(EX_DESCENDING); }
    ;

before_after
    : RW_BEFORE                                     { $$ = DovKeywordNode(EX_BEFORE); }
    | RW_AFTER                                      { $$ = DovKeywordNode(EX_AFTER); }
    ;

/* ---- Arithmetic expressions --------------------------------------------------------------------
 * e: operand | e {+|-|*|/|**} e | {+|-} e | ( e )
 * arith_expr: the operand, an AR_ADD / AR_SUB / AR_MUL / AR_DIV / AR_EXP list
 * (a chain of one operator is one list), AR_UN_PLUS / AR_UN_MINUS, OP_PARENS.
 * Precedence: see cobol.y.                                                    */
arith_expr
    : arith_expr OP_PLUS arith_expr                 { $$ = DovListJoin(YYREDUCTION, AR_ADD, $1, $3); }
    | arith_expr OP_MINUS arith_expr                { $$ = DovListJoin(YYREDUCTION, AR_SUB, $1, $3); }
    | arith_expr OP_MUL arith_expr                  { $$ = DovListJoin(YYREDUCTION, AR_MUL, $1, $3); }
    | arith_expr OP_DIV arith_expr                  { $$ = DovListJoin(YYREDUCTION, AR_DIV, $1, $3); }
    | arith_expr OP_EXP arith_expr                  { $$ = DovListJoin(YYREDUCTION, AR_EXP, $1, $3); }
    | OP_PLUS arith_expr %prec OP_UN_PLUS           { $$ = DovConstructNode(AR_UN_PLUS, $2); }
    | OP_MINUS arith_expr %prec OP_UN_MINUS         { $$ = DovConstructNode(AR_UN_MINUS, $2); }
    | SEP_LEFT_PAR arith_expr SEP_RIGHT_PAR         { $$ = DovConstructNode(OP_PARENS, $2); }
    | operand                                       { $$ = $1; }
    ;

/* ---- Conditions -------------------------------------------------------------------------------
 * condition: condition {AND|OR} condition | NOT primary | e [IS] [NOT] rel e
 *   | e [IS] [NOT] {NUMERIC|ALPHABETIC|...|class-name} | e [IS] [NOT] {POSITIVE|NEGATIVE|ZERO}
 *   | rel e (abbreviated: subject and operator of the nearest full relation)
 *   | ( condition ) | e
 * condition: LOG_OR / LOG_AND lists, LOG_NOT, the comparison node of the
 * operator's code (argument 0 a null node when abbreviated), the class or sign
 * node, CMP_IS_CLASS / CMP_IS_NOT_CLASS, OP_PARENS, or the expression itself.
 * The operand of NOT is a primary condition, so NOT binds tighter than AND;
 * an abbreviated relation is never the operand of a prefix NOT: NOT before a
 * relational operator belongs to the operator.
 * CONFLICT C03 (register): in a parenthesis that may hold a condition (also
 * after a relational operator), ')' after an expression may close a
 * parenthesised expression or end the condition inside; the shift
 * (expression) is tried first.
 * rel_op, class_op, sign_op: the operation code as a value (not a node).    */
condition
    : condition RW_OR condition                     { $$ = DovListJoin(YYREDUCTION, LOG_OR, $1, $3); }
    | condition RW_AND condition                    { $$ = DovListJoin(YYREDUCTION, LOG_AND, $1, $3); }
    | primary_condition                             { $$ = $1; }
    | abbreviated_relation                          { $$ = $1; }
    ;

primary_condition
    : RW_NOT primary_condition                      { $$ = DovConstructNode(LOG_NOT, $2); }
    | simple_condition                              { $$ = $1; }
    ;

simple_condition
    : arith_expr                                    { $$ = $1; }
    | arith_expr _is rel_op arith_expr              { $$ = DovCompare($3, $1, $4); }
    | arith_expr _is rel_op SEP_LEFT_PAR condition SEP_RIGHT_PAR
      { $$ = DovCompare($3, $1, DovConstructNode(OP_PARENS, $5)); }
    | arith_expr _is class_op                       { $$ = DovClassTest($3, $1); }
    | arith_expr _is class_name                     { $$ = DovConstructNode(CMP_IS_CLASS, $1, $3); }
    | arith_expr _is RW_NOT class_name              { $$ = DovConstructNode(CMP_IS_NOT_CLASS, $1, $4); }
    | SEP_LEFT_PAR condition SEP_RIGHT_PAR          { $$ = DovConstructNode(OP_PARENS, $2); }
    ;

abbreviated_relation
    : rel_op arith_expr                             { $$ = DovAbbreviated($1, $2); }
    | RW_IS rel_op arith_expr                       { $$ = DovAbbreviated($2, $3); }
    ;

class_name
    : TK_USER_DEFD_WORD                             { $$ = DovUseOfWord($1, NC_CLASS_NAME); }
    ;

rel_op
    : rel_word                                      { $$ = $1; }
    | RW_NOT rel_word                               { $$ = DovNotOp($2); }
    | RW_EXCEEDS                                    { $$ = DovOpValue(CMP_GT); }
    | RW_EQUALS                                     { $$ = DovOpValue(CMP_EQ); }
    | RW_UNEQUAL _to                                { $$ = DovOpValue(CMP_NOT_EQ); }
    | OP_NE                                         { $$ = DovOpValue(CMP_NOT_EQ); }
    ;

rel_word
    : RW_GREATER _than                              { $$ = DovOpValue(CMP_GT); }
    | OP_GT                                         { $$ = DovOpValue(CMP_GT); }
    | RW_GREATER _than RW_OR RW_EQUAL _to           { $$ = DovOpValue(CMP_GE); }
    | OP_GE                                         { $$ = DovOpValue(CMP_GE); }
    | OP_GT RW_OR OP_EQ                             { $$ = DovOpValue(CMP_GE); }
    | RW_LESS _than                                 { $$ = DovOpValue(CMP_LT); }
    | OP_LT                                         { $$ = DovOpValue(CMP_LT); }
    | RW_LESS _than RW_OR RW_EQUAL _to              { $$ = DovOpValue(CMP_LE); }
    | OP_LE                                         { $$ = DovOpValue(CMP_LE); }
    | OP_LT RW_OR OP_EQ                             { $$ = DovOpValue(CMP_LE); }
    | RW_EQUAL _to                                  { $$ = DovOpValue(CMP_EQ); }
    | OP_EQ                                         { $$ = DovOpValue(CMP_EQ); }
    ;

class_op
    : class_word                                    { $$ = $1; }
    | RW_NOT class_word                             { $$ = DovNotOp($2); }
    ;

class_word
    : RW_NUMERIC                                    { $$ = DovOpValue(CMP_NUM); }
    | RW_ALPHABETIC                                 { $$ = DovOpValue(CMP_ALPH); }
    | RW_ALPHABETIC_LOWER                           { $$ = DovOpValue(CMP_ALPH_LOWER); }
    | RW_ALPHABETIC_UPPER                           { $$ = DovOpValue(CMP_ALPH_UPPER); }
    | RW_POSITIVE                                   { $$ = DovOpValue(CMP_POS); }
    | RW_NEGATIVE                                   { $$ = DovOpValue(CMP_NEG); }
    | zero_word                                     { $$ = DovOpValue(CMP_ZER); }
    ;
