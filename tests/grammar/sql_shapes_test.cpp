// Embedded SQL statements, clauses, queries and conditions as tree shapes:
// each case parses one EXEC SQL block inside a small program and compares
// the shape of the first node of one operation.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/grammar/grammar_fixture.h"
#include "tree/named.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::FindFirst;
using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;

// One EXEC SQL block holding `sql`, on as many lines as it needs.
std::string ExecSql(const std::string& sql) {
    std::string out, line = "EXEC SQL";
    std::istringstream words(sql);
    for (std::string word; words >> word;) {
        if (line.size() + 1 + word.size() > 58) {
            out += line + "\n";
            line = "  " + word;
        } else {
            line += " " + word;
        }
    }
    return out + line + "\nEND-EXEC.";
}

struct ShapeCase {
    const char* sql;
    DovOper op;          // the node whose shape is compared (the first one)
    const char* shape;
};

// The host variable :X and the table T as they appear in the shapes.
#define HV(x) "SQL_HOST_VAR_REF(NAMED_OBJ_USE(SQL_VAR_NAME_LIST(" x ")))"
#define IHV(x) "SQL_IND_HOST_VAR(" HV(x) ",-)"
#define COL(c) "SQL_COL_REF(-," c ")"
#define TAB(t) "SQL_TABLE_REF(-," t ")"

const ShapeCase kCases[] = {
    // Value expressions: one list per chain of one operator, parentheses
    // never merged, * and / bind tighter, unary signs.
    {"SELECT A + B + C INTO :X FROM T", SQL_SEL_ITEM_EXPR,
     "SQL_SEL_ITEM_EXPR(SQL_OP_ADD(" COL("A") "," COL("B") "," COL("C") "))"},
    {"SELECT A - B + C INTO :X FROM T", SQL_SEL_ITEM_EXPR,
     "SQL_SEL_ITEM_EXPR(SQL_OP_ADD(SQL_OP_SUB(" COL("A") "," COL("B") ")," COL("C") "))"},
    {"SELECT (A + B) + C INTO :X FROM T", SQL_SEL_ITEM_EXPR,
     "SQL_SEL_ITEM_EXPR(SQL_OP_ADD(SQL_OP_PARENS(SQL_OP_ADD(" COL("A") "," COL("B") "))," COL("C") "))"},
    {"SELECT A + B * C / 2 INTO :X FROM T", SQL_OP_ADD,
     "SQL_OP_ADD(" COL("A") ",SQL_OP_DIV(SQL_OP_MUL(" COL("B") "," COL("C") "),2))"},
    {"SELECT - A | | 'X' INTO :X FROM T", SQL_OP_CONCAT, "SQL_OP_CONCAT(SQL_OP_UN_MINUS(" COL("A") "),'X')"},
    // Column references and host variables.
    {"SELECT S.T.C INTO :X FROM T", SQL_SEL_ITEM_EXPR, "SQL_SEL_ITEM_EXPR(SQL_COL_REF(SQL_TABLE_REF(S,T),C))"},
    {"SELECT T.C, T.*, S.T.* INTO :X FROM T", SQL_SEL_ITEM_LIST,
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(SQL_COL_REF(" TAB("T") ",C)),SQL_SEL_ITEM_TABLE_STAR(" TAB("T")
     "),SQL_SEL_ITEM_TABLE_STAR(SQL_TABLE_REF(S,T)))"},
    {"SELECT C INTO :A.B FROM T", SQL_HOST_VAR_REF,
     "SQL_HOST_VAR_REF(NAMED_OBJ_USE(SQL_VAR_NAME_LIST(A,B)))"},
    {"FETCH C1 INTO :A :IA, :B INDICATOR :IB", SQL_IND_HOST_VAR_LIST,
     "SQL_IND_HOST_VAR_LIST(SQL_IND_HOST_VAR(" HV("A") "," HV("IA") "),SQL_IND_HOST_VAR(" HV("B") "," HV("IB") "))"},
    // The SELECT ... INTO statement with and without its optional clauses.
    {"SELECT * INTO :X FROM T", SQL_STMT_SELECT,
     "SQL_STMT_SELECT(null,SQL_SEL_ITEM_LIST_STAR,SQL_INTO_VARS(SQL_IND_HOST_VAR_LIST(" IHV("X")
     ")),SQL_FROM(SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("T") ",null))),null,null,null)"},
    {"SELECT DISTINCT A INTO :X", SQL_STMT_SELECT,
     "SQL_STMT_SELECT(SQL_QUAL_DISTINCT,SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("A")
     ")),SQL_INTO_VARS(SQL_IND_HOST_VAR_LIST(" IHV("X") ")),null,null,null,null)"},
    {"SELECT ALL A INTO :X FROM T R, U AS V WHERE A = 1 GROUP BY A, B HAVING COUNT(*) > 1", SQL_STMT_SELECT,
     "SQL_STMT_SELECT(SQL_QUAL_ALL,SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("A") ")),SQL_INTO_VARS(SQL_IND_HOST_VAR_LIST("
     IHV("X") ")),SQL_FROM(SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("T") ",SQL_RANGE_VAR_DEF(R)),SQL_TABLE_REF_ITEM("
     TAB("U") ",SQL_RANGE_VAR_DEF(V)))),SQL_WHERE(SQL_OP_EQ(" COL("A") ",1)),SQL_SEL_GROUP_BY(SQL_COL_REF_LIST(" COL("A")
     "," COL("B") ")),SQL_SEL_HAVING(SQL_OP_GT(SQL_AF_COUNT_STAR,1)))"},
    // Comparison operators in both spellings.
    {"DELETE FROM T WHERE A < > B", SQL_WHERE, "SQL_WHERE(SQL_OP_NE(" COL("A") "," COL("B") "))"},
    {"DELETE FROM T WHERE A \xac= B", SQL_WHERE, "SQL_WHERE(SQL_OP_NE(" COL("A") "," COL("B") "))"},
    {"DELETE FROM T WHERE A \xc2\xac= B", SQL_WHERE, "SQL_WHERE(SQL_OP_NE(" COL("A") "," COL("B") "))"},
    {"DELETE FROM T WHERE A >= 1 OR A \xac< 2 OR A <= 3 AND A \xac> 4", SQL_WHERE,
     "SQL_WHERE(SQL_OP_OR(SQL_OP_GE(" COL("A") ",1),SQL_OP_GE(" COL("A") ",2),SQL_OP_AND(SQL_OP_LE(" COL("A")
     ",3),SQL_OP_LE(" COL("A") ",4))))"},
    // Predicates.
    {"DELETE FROM T WHERE NOT A BETWEEN 1 AND 2 AND B NOT BETWEEN 3 AND 4", SQL_OP_AND,
     "SQL_OP_AND(SQL_OP_NOT(SQL_OP_BETWEEN(" COL("A") ",1,2)),SQL_OP_NOT_BETWEEN(" COL("B") ",3,4))"},
    {"DELETE FROM T WHERE A IN (1, 2) OR B NOT IN (3)", SQL_OP_OR,
     "SQL_OP_OR(SQL_OP_IN(" COL("A") ",SQL_EXPR_LIST(1,2)),SQL_OP_NOT_IN(" COL("B") ",SQL_EXPR_LIST(3)))"},
    {"DELETE FROM T WHERE A LIKE 'X%' AND B NOT LIKE :P", SQL_OP_AND,
     "SQL_OP_AND(SQL_OP_LIKE(" COL("A") ",'X%'),SQL_OP_NOT_LIKE(" COL("B") "," IHV("P") "))"},
    {"DELETE FROM T WHERE A IS NULL OR B IS NOT NULL", SQL_OP_OR,
     "SQL_OP_OR(SQL_OP_IS_NULL(" COL("A") "),SQL_OP_IS_NOT_NULL(" COL("B") "))"},
    {"DELETE FROM T WHERE EXISTS (SELECT * FROM U) AND UNIQUE (TABLE U)", SQL_OP_AND,
     "SQL_OP_AND(SQL_OP_EXISTS(SQL_EXPR_SELECT(null,SQL_SEL_ITEM_LIST_STAR,SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM("
     TAB("U") ",null)),null,null,null)),SQL_OP_UNIQUE(SQL_OP_TABLE(" TAB("U") ")))"},
    {"DELETE FROM T WHERE (A = 1 OR B = 2) AND (C, D) = (1, 2)", SQL_OP_AND,
     "SQL_OP_AND(SQL_OP_PARENS(SQL_OP_OR(SQL_OP_EQ(" COL("A") ",1),SQL_OP_EQ(" COL("B")
     ",2))),SQL_OP_EQ(SQL_ROW_CONSTRUCTOR(SQL_EXPR_LIST(" COL("C") "," COL("D")
     ")),SQL_ROW_CONSTRUCTOR(SQL_EXPR_LIST(1,2))))"},
    // Trial C-SQL1: "( value )" before ")" is a parenthesised value first.
    {"DELETE FROM T WHERE (A) = B", SQL_WHERE, "SQL_WHERE(SQL_OP_EQ(SQL_OP_PARENS(" COL("A") ")," COL("B") "))"},
    {"DELETE FROM T WHERE A = (SELECT B FROM U)", SQL_OP_EQ,
     "SQL_OP_EQ(" COL("A") ",SQL_ROW_CONSTRUCTOR(SQL_EXPR_SELECT(null,SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("B")
     ")),SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("U") ",null)),null,null,null)))"},
    // Functions.
    {"SELECT RAND ( ), STR (A), STR (A, 1, 2) INTO :X FROM T", SQL_SEL_ITEM_LIST,
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(SQL_SF_RAND(-)),SQL_SEL_ITEM_EXPR(SQL_SF_STR(" COL("A")
     ",-,-)),SQL_SEL_ITEM_EXPR(SQL_SF_STR(" COL("A") ",1,2)))"},
    {"SELECT CAST (A AS DECIMAL (5, 2)), CONVERT (CHAR (3), A), CONVERT (A, B, C) INTO :X FROM T",
     SQL_SEL_ITEM_LIST,
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(SQL_SF_CAST(" COL("A") ",SQL_TYPE_DECIMAL(5,2))),SQL_SEL_ITEM_EXPR("
     "SQL_SF_CONVERT(SQL_TYPE_CHAR(3)," COL("A") ",null)),SQL_SEL_ITEM_EXPR(SQL_SF_CONVERT(" COL("A") "," COL("B")
     "," COL("C") ")))"},
    {"SELECT CASE WHEN A THEN 1 WHEN B THEN 2 ELSE 3 END INTO :X FROM T", SQL_SF_CASE,
     "SQL_SF_CASE(SQL_WHEN_EXPR_LIST(SQL_WHEN_EXPR(" COL("A") ",1),SQL_WHEN_EXPR(" COL("B") ",2)),3)"},
    {"SELECT SUBSTRING (A FROM 1 FOR 2), TRIM (LEADING ' ' FROM A), POSITION ('X' IN A) INTO :X FROM T",
     SQL_SEL_ITEM_LIST,
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(SQL_SF_SUBSTRING(" COL("A") ",1,2)),SQL_SEL_ITEM_EXPR(SQL_SF_TRIM("
     "SQL_TRIM_LEADING,' '," COL("A") ")),SQL_SEL_ITEM_EXPR(SQL_SF_POSITION('X'," COL("A") ")))"},
    {"SELECT COUNT (DISTINCT A), SUM (B), CURRENT DATE, CURRENT_TIMESTAMP, USER INTO :X FROM T", SQL_SEL_ITEM_LIST,
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(SQL_AF_COUNT(SQL_QUAL_DISTINCT," COL("A") ")),SQL_SEL_ITEM_EXPR(SQL_AF_SUM(null,"
     COL("B") ")),SQL_SEL_ITEM_EXPR(SQL_SF_CURRENT_DATE),SQL_SEL_ITEM_EXPR(SQL_SF_CURRENT_TIMESTAMP),"
     "SQL_SEL_ITEM_EXPR(SQL_SF_CURRENT_USER))"},
    // DECLARE TABLE: column definitions, data types, constraints.
    {"DECLARE T TABLE (A DECIMAL, B NUMERIC (5) NOT NULL, C CHAR (2) NOT NULL WITH DEFAULT, D VARCHAR (9) "
     "PRIMARY KEY, E INTEGER UNIQUE, F FLOAT CHECK (F > 0), G DOUBLE PRECISION, H CHARACTER VARYING (4))",
     SQL_STMT_DECLARE_TABLE,
     "SQL_STMT_DECLARE_TABLE(" TAB("T") ",SQL_COL_DEF_LIST(SQL_COL_DEF(A,SQL_TYPE_DECIMAL(-,-),null),SQL_COL_DEF(B,"
     "SQL_TYPE_NUMERIC(5,-),SQL_CONSTR_NOT_NULL),SQL_COL_DEF(C,SQL_TYPE_CHAR(2),SQL_CONSTR_NOT_NULL_DEFAULT),"
     "SQL_COL_DEF(D,SQL_TYPE_VARCHAR(9),SQL_CONSTR_PRIMARY_KEY),SQL_COL_DEF(E,SQL_TYPE_INT,SQL_CONSTR_UNIQUE),"
     "SQL_COL_DEF(F,SQL_TYPE_FLOAT(-),SQL_CONSTR_CHECK(SQL_OP_GT(" COL("F") ",0))),SQL_COL_DEF(G,"
     "SQL_TYPE_DOUBLE_PRECISION,null),SQL_COL_DEF(H,SQL_TYPE_VARCHAR(4),null)))"},
    // INSERT, UPDATE, DELETE.
    {"INSERT INTO T VALUES 1, (2, 3)", SQL_OP_VALUES,
     "SQL_OP_VALUES(SQL_ROW_CONSTRUCTOR_LIST(SQL_ROW_CONSTRUCTOR(SQL_EXPR_LIST(1)),SQL_ROW_CONSTRUCTOR(SQL_EXPR_LIST(2,"
     "3))))"},
    {"INSERT INTO S.T (A, B) VALUES (:X, DEFAULT)", SQL_STMT_INSERT,
     "SQL_STMT_INSERT(SQL_TABLE_REF(S,T),SQL_INSERT_COLS(SQL_OP_PARENS(SQL_COL_REF_LIST(" COL("A") "," COL("B")
     ")),SQL_OP_VALUES(SQL_ROW_CONSTRUCTOR_LIST(SQL_ROW_CONSTRUCTOR(SQL_EXPR_LIST(" IHV("X") ",SQL_VALUE_DEFAULT))))))"},
    {"INSERT INTO T SELECT * FROM U", SQL_INSERT_COLS,
     "SQL_INSERT_COLS(null,SQL_EXPR_SELECT(null,SQL_SEL_ITEM_LIST_STAR,SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("U")
     ",null)),null,null,null))"},
    {"INSERT INTO T DEFAULT VALUES", SQL_STMT_INSERT, "SQL_STMT_INSERT(" TAB("T") ",SQL_DEFAULT_VALUES)"},
    {"UPDATE T SET A = 1, B = NULL WHERE C = 2", SQL_STMT_UPDATE,
     "SQL_STMT_UPDATE(" TAB("T") ",SQL_UPDATE_ASSIGN_LIST(SQL_UPDATE_ASSIGN(" COL("A") ",1),SQL_UPDATE_ASSIGN(" COL("B")
     ",SQL_VALUE_NULL)),SQL_WHERE(SQL_OP_EQ(" COL("C") ",2)))"},
    {"UPDATE T SET A = 1", SQL_STMT_UPDATE,
     "SQL_STMT_UPDATE(" TAB("T") ",SQL_UPDATE_ASSIGN_LIST(SQL_UPDATE_ASSIGN(" COL("A") ",1)),null)"},
    {"UPDATE T SET A = 1 WHERE CURRENT OF C1", SQL_STMT_UPDATE_CURSOR,
     "SQL_STMT_UPDATE_CURSOR(" TAB("T") ",SQL_UPDATE_ASSIGN_LIST(SQL_UPDATE_ASSIGN(" COL("A")
     ",1)),SQL_CURSOR_REF(C1))"},
    {"DELETE FROM T", SQL_STMT_DELETE, "SQL_STMT_DELETE(SQL_FROM_TABLE(" TAB("T") "),null)"},
    {"DELETE FROM T WHERE CURRENT OF :C", SQL_STMT_DELETE_CURSOR,
     "SQL_STMT_DELETE_CURSOR(SQL_FROM_TABLE(" TAB("T") "),SQL_CURSOR_REF(" HV("C") "))"},
    // Cursors.
    {"DECLARE C1 CURSOR FOR SELECT A FROM T", SQL_STMT_DECLARE_CURSOR,
     "SQL_STMT_DECLARE_CURSOR(SQL_CURSOR_REF(C1),null,null,null,null,SQL_DECL_CURSOR_STATIC(SQL_EXPR_SELECT(null,"
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("A") ")),SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("T")
     ",null)),null,null,null),null,null,null))"},
    {"DECLARE C1 INSENSITIVE SCROLL CURSOR WITH HOLD WITH RETURN FOR SELECT A FROM T ORDER BY A DESC, 2 "
     "FOR UPDATE OF A, B OPTIMIZE FOR 5 ROWS",
     SQL_STMT_DECLARE_CURSOR,
     "SQL_STMT_DECLARE_CURSOR(SQL_CURSOR_REF(C1),SQL_DECL_INSENSITIVE,SQL_DECL_SCROLL,SQL_DECL_WHOLD,SQL_DECL_WRETURN,"
     "SQL_DECL_CURSOR_STATIC(SQL_EXPR_SELECT(null,SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("A")
     ")),SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("T") ",null)),null,null,null),SQL_ORDER_BY(SQL_ORDER_ITEM_LIST("
     "SQL_ORDER_ITEM(" COL("A") ",SQL_ORDER_DESC),SQL_ORDER_ITEM(2,null))),SQL_DECL_FOR(SQL_DECL_ACC_UPDATE("
     "SQL_DECL_ACC_UPDATE_OF(SQL_COL_REF_LIST(" COL("A") "," COL("B") ")))),SQL_OPTIMIZE_FOR(5)))"},
    {"DECLARE C1 CURSOR FOR SELECT A FROM T FOR FETCH ONLY", SQL_DECL_FOR, "SQL_DECL_FOR(SQL_DECL_ACC_READONLY)"},
    {"DECLARE C1 CURSOR FOR S1", SQL_DECL_CURSOR_DYNAMIC, "SQL_DECL_CURSOR_DYNAMIC(SQL_PREPPED_REF(S1))"},
    {"OPEN C1", SQL_STMT_OPEN_CURSOR, "SQL_STMT_OPEN_CURSOR(SQL_CURSOR_REF(C1),null)"},
    {"OPEN C1 USING :A", SQL_STMT_OPEN_CURSOR,
     "SQL_STMT_OPEN_CURSOR(SQL_CURSOR_REF(C1),SQL_USING_VARS(SQL_IND_HOST_VAR_LIST(" IHV("A") ")))"},
    {"OPEN C1 USING SQL DESCRIPTOR 'D'", SQL_STMT_OPEN_CURSOR,
     "SQL_STMT_OPEN_CURSOR(SQL_CURSOR_REF(C1),SQL_USING_DESCR(SQL_DESCR_REF('D')))"},
    {"CLOSE C1", SQL_STMT_CLOSE_CURSOR, "SQL_STMT_CLOSE_CURSOR(SQL_CURSOR_REF(C1))"},
    {"FETCH C1", SQL_STMT_FETCH_CURSOR, "SQL_STMT_FETCH_CURSOR(null,SQL_CURSOR_REF(C1),null)"},
    {"FETCH ABSOLUTE 3 FROM C1 INTO SQL DESCRIPTOR D", SQL_STMT_FETCH_CURSOR,
     "SQL_STMT_FETCH_CURSOR(SQL_ROWSEL_ABSOLUTE(3),SQL_CURSOR_REF(C1),SQL_INTO_DESCR(SQL_DESCR_REF(D)))"},
    {"FETCH PRIOR C1 INTO :A", SQL_STMT_FETCH_CURSOR,
     "SQL_STMT_FETCH_CURSOR(SQL_ROWSEL_PRIOR,SQL_CURSOR_REF(C1),SQL_INTO_VARS(SQL_IND_HOST_VAR_LIST(" IHV("A") ")))"},
    // WHENEVER.
    {"WHENEVER NOT FOUND CONTINUE", SQL_STMT_WHENEVER, "SQL_STMT_WHENEVER(SQL_ERR_NOT_FOUND,SQL_ACT_CONTINUE)"},
    {"WHENEVER SQLWARNING PERFORM P9", SQL_STMT_WHENEVER,
     "SQL_STMT_WHENEVER(SQL_ERR_SQLWARNING,SQL_ACT_PERFORM(P9))"},
    {"WHENEVER SQLERROR GOTO P9", SQL_STMT_WHENEVER,
     "SQL_STMT_WHENEVER(SQL_ERR_SQLERROR,SQL_ACT_GOTO(P9))"},
    // Sections, transactions, connections, SET.
    {"BEGIN DECLARE SECTION", SQL_STMT_BEGIN_DECLARE_SECTION, "SQL_STMT_BEGIN_DECLARE_SECTION"},
    {"END DECLARE SECTION", SQL_STMT_END_DECLARE_SECTION, "SQL_STMT_END_DECLARE_SECTION"},
    {"COMMIT", SQL_STMT_COMMIT, "SQL_STMT_COMMIT"},
    {"ROLLBACK WORK", SQL_STMT_ROLLBACK, "SQL_STMT_ROLLBACK"},
    {"CONNECT TO 'DB' AS C1 USER 'ME'", SQL_STMT_CONNECT,
     "SQL_STMT_CONNECT(SQL_SERVER_SPEC('DB',SQL_CONNECT_AS(C1),SQL_CONNECT_USER('ME')))"},
    {"CONNECT TO DEFAULT", SQL_STMT_CONNECT, "SQL_STMT_CONNECT(SQL_SERVER_DEFAULT)"},
    {"DISCONNECT ALL", SQL_STMT_DISCONNECT, "SQL_STMT_DISCONNECT(SQL_SERVER_ALL)"},
    {"DISCONNECT DB1", SQL_STMT_DISCONNECT, "SQL_STMT_DISCONNECT(SQL_SERVER_SPEC(DB1,null,null))"},
    {"SET CONNECTION CURRENT", SQL_STMT_SET_CONNECTION, "SQL_STMT_SET_CONNECTION(SQL_SERVER_CURRENT)"},
    {"SET AUTOCOMMIT OFF", SQL_STMT_SET_AUTOCOMMIT, "SQL_STMT_SET_AUTOCOMMIT(SQL_FLAG_OFF)"},
    {"SET SCHEMA 'S'", SQL_STMT_SET_SCHEMA, "SQL_STMT_SET_SCHEMA('S')"},
    {"SET CATALOG C", SQL_STMT_SET_CATALOG, "SQL_STMT_SET_CATALOG(C)"},
    {"SET NAMES 1", SQL_STMT_SET_NAMES, "SQL_STMT_SET_NAMES(1)"},
    {"SET SESSION AUTHORIZATION SESSION_USER", SQL_STMT_SET_SESSION_AUTH,
     "SQL_STMT_SET_SESSION_AUTH(SQL_SF_SESSION_USER)"},
    {"SET CONCURRENCY READ ONLY", SQL_STMT_SET_CONCURRENCY, "SQL_STMT_SET_CONCURRENCY(SQL_CONC_READONLY)"},
    {"SET SCROLLOPTION FAST FORWARD", SQL_STMT_SET_SCROLL_OPTION,
     "SQL_STMT_SET_SCROLL_OPTION(SQL_SCROLLOPT_FASTFORWARD)"},
    {"SET TRANSACTION ISOLATION LEVEL REPEATABLE READ", SQL_STMT_SET_TRN_ISOLATION,
     "SQL_STMT_SET_TRN_ISOLATION(SQL_TIL_REPEATABLE_READ)"},
    {"SET TRANSACTION ISOLATION SERIALIZABLE", SQL_STMT_SET_TRN_ISOLATION,
     "SQL_STMT_SET_TRN_ISOLATION(SQL_TIL_SERIALIZABLE)"},
    // Dynamic SQL and descriptors.
    {"PREPARE S1 FROM :TXT", SQL_STMT_PREPARE, "SQL_STMT_PREPARE(SQL_PREPPED_REF(S1)," HV("TXT") ")"},
    {"EXECUTE IMMEDIATE 'DELETE FROM T'", SQL_STMT_EXECUTE_IMMEDIATE,
     "SQL_STMT_EXECUTE_IMMEDIATE('DELETE FROM T')"},
    {"EXECUTE S1 INTO :A USING :B", SQL_STMT_EXECUTE_PREPARED,
     "SQL_STMT_EXECUTE_PREPARED(SQL_PREPPED_REF(S1),SQL_INTO_VARS(SQL_IND_HOST_VAR_LIST(" IHV("A")
     ")),SQL_USING_VARS(SQL_IND_HOST_VAR_LIST(" IHV("B") ")))"},
    {"DESCRIBE INPUT S1 USING SQL DESCRIPTOR D", SQL_STMT_DESCRIBE_INPUT,
     "SQL_STMT_DESCRIBE_INPUT(SQL_PREPPED_REF(S1),SQL_DESCR_REF(D))"},
    {"DESCRIBE OUTPUT S1 USING SQL DESCRIPTOR D", SQL_STMT_DESCRIBE_OUTPUT,
     "SQL_STMT_DESCRIBE_OUTPUT(SQL_PREPPED_REF(S1),SQL_DESCR_REF(D))"},
    {"DESCRIBE :S USING SQL DESCRIPTOR D", SQL_STMT_DESCRIBE_OUTPUT,
     "SQL_STMT_DESCRIBE_OUTPUT(SQL_PREPPED_REF(" HV("S") "),SQL_DESCR_REF(D))"},
    {"ALLOCATE DESCRIPTOR 'D'", SQL_STMT_ALLOCATE_DESCRIPTOR, "SQL_STMT_ALLOCATE_DESCRIPTOR(SQL_DESCR_REF('D'))"},
    {"ALLOCATE C1 CURSOR FOR S1", SQL_STMT_ALLOCATE_CURSOR,
     "SQL_STMT_ALLOCATE_CURSOR(SQL_CURSOR_REF(C1),SQL_PREPPED_REF(S1))"},
    {"DEALLOCATE DESCRIPTOR D", SQL_STMT_DEALLOCATE_DESCRIPTOR, "SQL_STMT_DEALLOCATE_DESCRIPTOR(SQL_DESCR_REF(D))"},
    {"DEALLOCATE PREPARE S1", SQL_STMT_DEALLOCATE_PREPARE, "SQL_STMT_DEALLOCATE_PREPARE(SQL_PREPPED_REF(S1))"},
    {"GET DESCRIPTOR D :N = COUNT", SQL_STMT_GET_DESCRIPTOR,
     "SQL_STMT_GET_DESCRIPTOR(SQL_DESCR_REF(D),SQL_GET_COUNT(" HV("N") "))"},
    {"GET DESCRIPTOR D VALUE 1 :A = TYPE, :B = DATA", SQL_STMT_GET_DESCRIPTOR,
     "SQL_STMT_GET_DESCRIPTOR(SQL_DESCR_REF(D),SQL_GET_VALUES(1,SQL_GET_ASSIGN_LIST(SQL_GET_ASSIGN(" HV("A")
     ",TYPE),SQL_GET_ASSIGN(" HV("B") ",DATA))))"},
    {"SET DESCRIPTOR D :N = COUNT", SQL_STMT_SET_DESCRIPTOR,
     "SQL_STMT_SET_DESCRIPTOR(SQL_DESCR_REF(D),SQL_SET_COUNT(" HV("N") "))"},
    {"SET DESCRIPTOR D VALUE 2 TYPE = 4, DATA = 'X'", SQL_STMT_SET_DESCRIPTOR,
     "SQL_STMT_SET_DESCRIPTOR(SQL_DESCR_REF(D),SQL_SET_VALUES(2,SQL_SET_ASSIGN_LIST(SQL_SET_ASSIGN(TYPE,4),"
     "SQL_SET_ASSIGN(DATA,'X'))))"},
    // Query expressions and joins.
    {"INSERT INTO T SELECT A FROM U UNION ALL SELECT B FROM V INTERSECT TABLE W", SQL_OP_UNION,
     "SQL_OP_UNION(SQL_EXPR_SELECT(null,SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("A") ")),SQL_TABLE_REF_LIST("
     "SQL_TABLE_REF_ITEM(" TAB("U") ",null)),null,null,null),SQL_ALL,null,SQL_OP_INTERSECT(SQL_EXPR_SELECT(null,"
     "SQL_SEL_ITEM_LIST(SQL_SEL_ITEM_EXPR(" COL("B") ")),SQL_TABLE_REF_LIST(SQL_TABLE_REF_ITEM(" TAB("V")
     ",null)),null,null,null),null,null,SQL_OP_TABLE(" TAB("W") ")))"},
    {"INSERT INTO T TABLE U EXCEPT CORRESPONDING BY (A) TABLE V", SQL_OP_EXCEPT,
     "SQL_OP_EXCEPT(SQL_OP_TABLE(" TAB("U") "),null,SQL_CORRESPONDING(SQL_CORRESP_BY(SQL_COL_REF_LIST(" COL("A")
     "))),SQL_OP_TABLE(" TAB("V") "))"},
    {"INSERT INTO T U NATURAL LEFT OUTER JOIN V", SQL_OP_JOIN,
     "SQL_OP_JOIN(" TAB("U") ",SQL_JOIN_NATURAL,SQL_JOIN_LEFT_OUTER," TAB("V") ",null)"},
    {"INSERT INTO T U INNER JOIN V ON U.A = V.A", SQL_OP_JOIN,
     "SQL_OP_JOIN(" TAB("U") ",null,SQL_JOIN_INNER," TAB("V") ",SQL_JOIN_ON(SQL_OP_EQ(SQL_COL_REF(" TAB("U")
     ",A),SQL_COL_REF(" TAB("V") ",A))))"},
    {"INSERT INTO T U RIGHT JOIN V USING (A, B)", SQL_OP_JOIN,
     "SQL_OP_JOIN(" TAB("U") ",null,SQL_JOIN_RIGHT," TAB("V") ",SQL_JOIN_USING(SQL_COL_REF_LIST(" COL("A") "," COL("B")
     ")))"},
    {"SELECT A INTO :X FROM (U CROSS JOIN V)", SQL_TABLE_EXPR,
     "SQL_TABLE_EXPR(SQL_OP_CROSS_JOIN(" TAB("U") "," TAB("V") "))"},
    // Trial C-SQL2: "( joined table )" before ")" is a parenthesised
    // joined table first; as a join operand it is a table expression.
    {"INSERT INTO T (U CROSS JOIN V)", SQL_INSERT_COLS,
     "SQL_INSERT_COLS(null,SQL_OP_PARENS(SQL_OP_CROSS_JOIN(" TAB("U") "," TAB("V") ")))"},
    {"INSERT INTO T (U CROSS JOIN V) UNION JOIN W", SQL_OP_JOIN,
     "SQL_OP_JOIN(SQL_TABLE_EXPR(SQL_OP_CROSS_JOIN(" TAB("U") "," TAB("V") ")),null,SQL_JOIN_UNION," TAB("W")
     ",null)"},
};

TEST(SqlShapes, EachConstructBuildsItsNodes) {
    for (const ShapeCase& c : kCases) {
        SCOPED_TRACE(c.sql);
        GrammarRun run;
        run.ParseStatements(ExecSql(c.sql));
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(run.TokenDifference(), "");
        DovExpr* exec = FindFirst(run.root(), STMT_EXEC_SQL);
        ASSERT_NE(exec, nullptr);
        EXPECT_EQ(Shape(FindFirst(exec, c.op)), c.shape);
    }
}

// GO TO :P1 and GO TO P1 build the same node; P1 is in the symbol table
// afterwards though no paragraph P1 exists.
TEST(SqlShapes, WheneverTargetWithOrWithoutColon) {
    for (const char* sql : {"WHENEVER SQLERROR GO TO :P1", "WHENEVER SQLERROR GO TO P1"}) {
        SCOPED_TRACE(sql);
        GrammarRun run;
        run.ParseStatements(ExecSql(sql));
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(run.TokenDifference(), "");
        DovExpr* stmt = FindFirst(run.root(), SQL_STMT_WHENEVER);
        EXPECT_EQ(Shape(stmt), "SQL_STMT_WHENEVER(SQL_ERR_SQLERROR,SQL_ACT_GOTO(P1))");
        auto* use = dynamic_cast<DovNamedObjUse*>(FindFirst(stmt, NAMED_OBJ_USE));
        ASSERT_NE(use, nullptr);
        EXPECT_EQ(use->Category(), NC_PROC_NAME);
        bool found = false;
        for (DovExpr* table : FindAll(run.root(), SYMBOL_TABLE_ELT_LIST))
            found = found || SymTabFind(table, VString("P1"), nullptr) != nullptr;
        EXPECT_TRUE(found);
    }
}

// A host variable is a data name of the program: a NAME_USE of the
// element of its name in the program's symbol table.
TEST(SqlShapes, HostVariableUsesTheProgramsElement) {
    GrammarRun run;
    run.ParseStatements(ExecSql("SELECT C INTO :HV-1 FROM T"));
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    auto* use = dynamic_cast<DovNamedObjUse*>(FindFirst(FindFirst(run.root(), SQL_HOST_VAR_REF), NAMED_OBJ_USE));
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->Category(), NC_DATA_NAME);
    auto* name = dynamic_cast<DovNameUse*>(FindFirst(use, NAME_USE));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name->Image().CStr()), "HV-1");
    // The element is the program's own: the same one a COBOL name gets.
    DovExpr* table = FindFirst(run.Program(), SYMBOL_TABLE_ELT_LIST);
    ASSERT_NE(table, nullptr);
    EXPECT_NE(SymTabFind(table, VString("HV-1")), nullptr);
}

// Every name and literal inside EXEC SQL holds its own word: host and
// indicator variables (NAME_USE), table, column and cursor names and
// literals (leaves), in SELECT INTO, INSERT, UPDATE, DELETE and DECLARE
// CURSOR, so that each has the position of its word.
TEST(SqlShapes, EveryNameHoldsItsOwnWord) {
    const char* const statements[] = {
        "SELECT NUM INTO :HV-NUM:HV-IND FROM ACCT WHERE NUM = :HV-NUM",
        "INSERT INTO ACCT (NUM, NAME) VALUES (:HV-NUM, 'X')",
        "UPDATE ACCT SET NUM = :HV-NUM INDICATOR :HV-IND WHERE NAME = :HV-NAME",
        "DELETE FROM ACCT WHERE NUM = :HV-NUM",
        "DECLARE C1 CURSOR FOR SELECT NUM FROM ACCT WHERE NUM > :HV-NUM",
    };
    for (const char* sql : statements) {
        SCOPED_TRACE(sql);
        GrammarRun run;
        run.ParseStatements(ExecSql(sql));
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(run.TokenDifference(), "");
        DovExpr* exec = FindFirst(run.root(), STMT_EXEC_SQL);
        ASSERT_NE(exec, nullptr);
        int names = 0;
        for (DovOper op : {NAME_USE, CHAR_STRING, STR_CONST, INT_NUM_CONST}) {
            for (DovExpr* leaf : FindAll(exec, op)) {
                SCOPED_TRACE(std::string(leaf->Image().CStr()));
                ++names;
                const DovToken* word = leaf->Tokens().FirstSignificant();
                ASSERT_NE(word, nullptr);
                EXPECT_EQ(std::string(word->image.CStr()), std::string(leaf->Image().CStr()));
                EXPECT_EQ(DovTxtPosnCompare(DovSrcPosnBeg(leaf), word->Beg()), 0);
            }
        }
        EXPECT_GE(names, 3);
    }
}

}  // namespace
