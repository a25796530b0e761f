// The example queries of the README's query section, each with the fixture
// it runs on and the lines it must print there.
#pragma once

#include <string>
#include <vector>

namespace vemlo_tool_test {

struct ExampleQuery {
    const char* title;
    const char* query;
    const char* file;
    std::vector<std::string> findings;
};

inline const std::vector<ExampleQuery>& ExampleQueries() {
    static const std::vector<ExampleQuery> queries = {
        // Not the WS-TOTAL that subscripts the receiving field of line 50.
        {"MOVE into a field",
         "NAME_USE AND IMAGE == 'WS-TOTAL' AND INDEX == 1 AND NOT ISDESCOF(SUBSCRIPT_LIST) AND "
         "(PARENT.PARENT.PARENT == EX_LIST OR PARENT.PARENT.INDEX == 1) AND ISDESCOF(EX_LIST).PARENT == STMT_MOVE",
         "CORE.cbl",
         {"CORE.cbl:16:22:            MOVE 0 TO WS-TOTAL.",
          "CORE.cbl:18:32:            MOVE 5 TO WS-AMOUNT WS-TOTAL.",
          "CORE.cbl:23:40:                ON SIZE ERROR MOVE 0 TO WS-TOTAL"}},
        {"PERFORM THRU", "STMT_PERFORM_PROC AND ARG(PRFP_PROC_NAME).ARG(PROC_RANGE_TO) == NAMED_OBJ_USE",
         "CORE.cbl",
         {"CORE.cbl:19:12:            PERFORM STEP-A THRU STEP-B."}},
        {"SELECT * in SQL", "SQL_SEL_ITEM_LIST_STAR", "SQLSEL.cbl",
         {"SQLSEL.cbl:10:23:                SELECT *"}},
        {"GO TO and ALTER", "STMT_GOTO OR STMT_GOTO_DEPENDING OR STMT_ALTER", "CORE.cbl",
         {"CORE.cbl:41:12:            ALTER SWITCH-PARA TO PROCEED TO STEP-B.",
          "CORE.cbl:42:12:            GO TO SWITCH-PARA.",
          "CORE.cbl:44:12:            GO TO STEP-A."}},
        {"EVALUATE without WHEN OTHER", "STMT_EVALUATE AND NOT ARG(EVAL_WHEN_OTHER) == EX_EVAL_WHEN_OTHER",
         "CORE.cbl",
         {"CORE.cbl:29:12:            EVALUATE WS-CODE"}},
        {"COMPUTE without ON SIZE ERROR", "STMT_COMPUTE AND NOT ARG(COMPUTE_ONSIZE) == EX_ON_SIZE_ERROR",
         "CORE.cbl",
         {"CORE.cbl:21:12:            COMPUTE WS-PAY = WS-AMOUNT * 2."}},
        {"CALL of a literal program name", "STMT_CALL AND ARG(CALL_PROGRAM) == STR_CONST", "CORE.cbl",
         {"CORE.cbl:32:12:            CALL \"SUBPROG\"."}},
        {"IFs nested three deep", "STMT_IF AND ISDESCOF(STMT_IF).ISDESCOF(STMT_IF)", "CORE.cbl",
         {"CORE.cbl:36:20:                    IF WS-CODE = \"C\""}},
        {"references to a name in the procedure division",
         "NAME_USE AND IMAGE == 'WS-PAY' AND ISDESCOF(DIVISION_PROCEDURE)", "CORE.cbl",
         {"CORE.cbl:17:29:            MOVE WS-TOTAL TO WS-PAY.",
          "CORE.cbl:21:20:            COMPUTE WS-PAY = WS-AMOUNT * 2.",
          "CORE.cbl:34:15:            IF WS-PAY > 1",
          "CORE.cbl:46:16:            ADD WS-PAY TO WS-TOTAL."}},
        {"items with REDEFINES", "DECL_DD_ENTRY AND ARG(DD_REDEFINES) == DX_REDEFINES", "CORE.cbl",
         {"CORE.cbl:8:8:        01  WS-ALT REDEFINES WS-REC.",
          "CORE.cbl:12:8:        01  WS-PAY-X REDEFINES WS-PAY PIC X(5)."}},
        // A "*" at either end also stands for no character.
        {"paragraph names with EXIT in them", "NAMED_OBJ_DEF AND PARENT == PARA_PROC AND IMAGE == LIKE '*EXIT*'",
         "CORE.cbl",
         {"CORE.cbl:51:8:        FILL-EXIT."}},
        // Without the parentheses no STOP RUN.
        {"MOVE of an integer literal, and STOP RUN", "(STMT_MOVE AND ARG(MOVE_SOURCE) == INT_NUM_CONST) OR STMT_STOP",
         "CORE.cbl",
         {"CORE.cbl:16:12:            MOVE 0 TO WS-TOTAL.",
          "CORE.cbl:18:12:            MOVE 5 TO WS-AMOUNT WS-TOTAL.",
          "CORE.cbl:23:30:                ON SIZE ERROR MOVE 0 TO WS-TOTAL",
          "CORE.cbl:48:12:            STOP RUN."}},
        {"references to items that redefine another",
         "NAMED_OBJ_USE AND LINK.PARENT.ARG(DD_REDEFINES) == DX_REDEFINES", "CORE.cbl",
         {"CORE.cbl:50:17:            MOVE WS-PAY-X TO WS-ALT-TEXT (WS-TOTAL)."}},
        {"MOVE into a table element", "STMT_MOVE AND ARG(MOVE_DESTS).FIND(TABLE_ELT)", "CORE.cbl",
         {"CORE.cbl:50:12:            MOVE WS-PAY-X TO WS-ALT-TEXT (WS-TOTAL)."}},
        // Not the MOVE of the ON SIZE ERROR phrase.
        {"a name in COMPUTE statements", "NAME_USE AND IMAGE == 'WS-TOTAL' AND ENCL-STMT == STMT_COMPUTE",
         "CORE.cbl",
         {"CORE.cbl:22:20:            COMPUTE WS-TOTAL = WS-TOTAL + 1",
          "CORE.cbl:22:31:            COMPUTE WS-TOTAL = WS-TOTAL + 1"}},
        // No special register.
        {"data items written in the source",
         "DECL_DD_ENTRY AND ISDESCOF(COBOL_PROGRAM) AND NOT ISDESCOF(DECL_DD_HIDDEN)", "CORE.cbl",
         {"CORE.cbl:5:8:        01  WS-REC.", "CORE.cbl:6:12:            05  WS-AMOUNT       PIC 9(5).",
          "CORE.cbl:7:12:            05  WS-CODE         PIC X.", "CORE.cbl:8:8:        01  WS-ALT REDEFINES WS-REC.",
          "CORE.cbl:9:12:            05  WS-ALT-TEXT     PIC X OCCURS 6.",
          "CORE.cbl:10:8:        01  WS-TOTAL            PIC 9(7).",
          "CORE.cbl:11:8:        01  WS-PAY              PIC 9(5).",
          "CORE.cbl:12:8:        01  WS-PAY-X REDEFINES WS-PAY PIC X(5).",
          "CORE.cbl:13:8:        01  WS-PROG             PIC X(8) VALUE \"SUBPROG\"."}},
        {"arithmetic, left to right", "STMT_MOVE AND 7 DIV 2 - 1 == 2", "TWOMOVES.cbl",
         {"TWOMOVES.cbl:9:12:            MOVE \"ABCD\" TO WS-A.", "TWOMOVES.cbl:11:12:            MOVE WS-A TO WS-B."}},
    };
    return queries;
}

}  // namespace vemlo_tool_test
