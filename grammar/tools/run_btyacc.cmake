# Runs btyacc on one grammar and turns its output into C++ for the grammar
# frame (grammar/frame.h). Called at build time by vemlo_btyacc_grammar
# (grammar/grammar.cmake) as
#
#   cmake -DBTYACC=... -DNAME=id -DMAIN=main.y [-DSOURCES=a.y|b.y] [-DTOKENS=tokens.y.inc]
#         -DSKELETON=frame.ske -DOUT_DIR=dir -DEXPECT_SR=n -DSYMBOL=CxxName -P run_btyacc.cmake
#
# The grammar files are copied into a stage folder and btyacc runs there, so
# that `%include` finds the included rule files and the generated token list
# by their bare names. The build fails, and no output is replaced, when
# btyacc fails, when the tables hold any reduce/reduce conflict, when the
# number of shift/reduce conflicts differs from EXPECT_SR, or when the
# conflict register of the main grammar file ("shift/reduce conflicts: N")
# states another number. Outputs, in OUT_DIR, renamed into place only after
# every check passed:
#   NAME_grammar.cpp   the translation unit to compile: tables and actions
#   NAME.tables.inc    the tables
#   NAME.code.inc      prologue, skeleton and action code
#   NAME.output        btyacc's description of every state
#   NAME.conflicts.txt the conflicts, one per line
cmake_minimum_required(VERSION 3.25)

foreach(var BTYACC NAME MAIN SKELETON OUT_DIR EXPECT_SR SYMBOL)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "run_btyacc: ${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" SOURCES "${SOURCES}")

set(stage "${OUT_DIR}/${NAME}-stage")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
foreach(f IN ITEMS "${MAIN}" ${SOURCES} ${TOKENS})
  if(NOT EXISTS "${f}")
    message(FATAL_ERROR "grammar ${NAME}: missing input ${f}")
  endif()
  file(COPY "${f}" DESTINATION "${stage}")
endforeach()
get_filename_component(main_name "${MAIN}" NAME)

# btyacc turns $0 into the cell of the rule's last symbol, not the one left
# of the rule: the grammar writes YYVALARG(0) instead.
foreach(f IN ITEMS "${MAIN}" ${SOURCES})
  file(STRINGS "${f}" uses REGEX "\\$0([^0-9]|$)")
  if(uses)
    list(GET uses 0 first_use)
    message(FATAL_ERROR "grammar ${NAME}: ${f} uses $0, which btyacc translates wrongly; "
                        "write YYVALARG(0). First use: ${first_use}")
  endif()
endforeach()

execute_process(
  COMMAND "${BTYACC}" -l -r -v -S "${SKELETON}" -b "${NAME}.tmp" "${main_name}"
  WORKING_DIRECTORY "${stage}"
  RESULT_VARIABLE rc
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
set(log "${out}${err}")
file(WRITE "${stage}/btyacc.log" "${log}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "grammar ${NAME}: btyacc failed on ${MAIN} (status ${rc}); "
                      "no output was replaced. btyacc said:\n${log}")
endif()

# The conflicts, from btyacc's summary line and its state listing.
set(sr 0)
set(rr 0)
if(log MATCHES "([0-9]+) shift/reduce conflict")
  set(sr "${CMAKE_MATCH_1}")
endif()
if(log MATCHES "([0-9]+) reduce/reduce conflict")
  set(rr "${CMAKE_MATCH_1}")
endif()
file(STRINGS "${stage}/${NAME}.tmp.output" listing)
set(conflicts "")
foreach(line IN LISTS listing)
  if(line MATCHES "^([0-9]+): (shift|reduce)/reduce conflict \\((shift|reduce) ([0-9]+), reduce ([0-9]+)\\) on (.+)$")
    set(st "${CMAKE_MATCH_1}")
    set(first "${CMAKE_MATCH_3} ${CMAKE_MATCH_4}")
    set(rule "${CMAKE_MATCH_5}")
    set(tok "${CMAKE_MATCH_6}")
    set(text "")
    foreach(l2 IN LISTS listing)
      if(l2 MATCHES "^[ \t]+([^ \t].*[^ ])[ \t]+\\(${rule}\\)$")
        string(REGEX REPLACE "[ \t]+" " " text "${CMAKE_MATCH_1}")
        break()
      endif()
    endforeach()
    string(APPEND conflicts "state ${st}, lookahead ${tok}: ${first} or reduce ${rule} (${text})\n")
  endif()
endforeach()
if(conflicts STREQUAL "")
  set(conflicts "(none)\n")
endif()

if(NOT rr EQUAL 0)
  message(FATAL_ERROR "grammar ${NAME}: ${rr} reduce/reduce conflict(s) in ${MAIN}; the grammar may have none. "
                      "Conflicts:\n${conflicts}")
endif()
if(NOT sr EQUAL EXPECT_SR)
  message(FATAL_ERROR "grammar ${NAME}: the tables of ${MAIN} hold ${sr} shift/reduce conflicts, the build "
                      "expects ${EXPECT_SR}. Change the grammar's conflict register and the pinned count "
                      "together, with a test for each new conflict. Conflicts:\n${conflicts}")
endif()
file(READ "${MAIN}" main_text)
if(NOT main_text MATCHES "shift/reduce conflicts: ([0-9]+)")
  message(FATAL_ERROR "grammar ${NAME}: ${MAIN} has no conflict register (a line \"shift/reduce conflicts: N\")")
endif()
if(NOT CMAKE_MATCH_1 EQUAL sr)
  message(FATAL_ERROR "grammar ${NAME}: the conflict register of ${MAIN} states ${CMAKE_MATCH_1} shift/reduce "
                      "conflicts, the tables hold ${sr}. Conflicts:\n${conflicts}")
endif()

# Tables: constant, with constant names.
file(READ "${stage}/${NAME}.tmp.tab.c" tables)
string(REGEX REPLACE "(^|\n)int yy" "\\1const int yy" tables "${tables}")
string(REGEX REPLACE "(^|\n)char \\*yy" "\\1const char* const yy" tables "${tables}")
file(READ "${stage}/${NAME}.tmp.code.c" code)
# The rules with a case in the action switch, ascending and ended by -1: the
# frame calls the action function only for them.
string(REGEX MATCHALL "\ncase [0-9]+:" action_cases "${code}")
set(action_rules "")
foreach(c IN LISTS action_cases)
  string(REGEX MATCH "[0-9]+" rule "${c}")
  string(APPEND action_rules "${rule}, ")
endforeach()
string(APPEND tables "const int yyactionrules[] = {${action_rules}-1};\n")

string(CONCAT unit
  "// Generated from ${main_name} by btyacc and grammar/tools/run_btyacc.cmake. Do not edit.\n"
  "#include \"grammar/frame.h\"\n"
  "#define YYDEBUG 1\n"
  "namespace {\n"
  "#include \"${NAME}.tables.inc\"\n"
  "}  // namespace\n"
  "#define DOV_GRAMMAR_TABLES ${SYMBOL}\n"
  "#define DOV_GRAMMAR_NAME \"${NAME}\"\n"
  "#include \"${NAME}.code.inc\"\n")

set(outputs grammar.cpp tables.inc code.inc output conflicts.txt)
file(WRITE "${stage}/out.grammar.cpp" "${unit}")
file(WRITE "${stage}/out.tables.inc" "${tables}")
file(WRITE "${stage}/out.code.inc" "${code}")
file(COPY_FILE "${stage}/${NAME}.tmp.output" "${stage}/out.output")
file(WRITE "${stage}/out.conflicts.txt" "${conflicts}")
foreach(o IN LISTS outputs)
  if(o STREQUAL "grammar.cpp")
    set(final "${OUT_DIR}/${NAME}_grammar.cpp")
  else()
    set(final "${OUT_DIR}/${NAME}.${o}")
  endif()
  file(RENAME "${stage}/out.${o}" "${final}")
endforeach()
