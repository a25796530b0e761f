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
        {"MOVE into a field", "NAME_USE AND IMAGE == 'WS-TOTAL' AND ISDESCOF(EX_LIST).PARENT == STMT_MOVE",
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
        {"arithmetic, left to right", "STMT_MOVE AND 7 DIV 2 - 1 == 2", "TWOMOVES.cbl",
         {"TWOMOVES.cbl:9:12:            MOVE \"ABCD\" TO WS-A.", "TWOMOVES.cbl:11:12:            MOVE WS-A TO WS-B."}},
    };
    return queries;
}

}  // namespace vemlo_tool_test
