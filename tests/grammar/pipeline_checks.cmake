# Runs the grammar pipeline's script on small grammars and checks that each
# fault fails the build with its message and leaves no output behind.
#   cmake -DBTYACC=... -DRUNNER=run_btyacc.cmake -DSKELETON=frame.ske
#         -DCASES=folder -DWORK=folder -P pipeline_checks.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")

# run(id FILE EXPECT [MESSAGE regex]): runs the pipeline on FILE with the
# pinned count EXPECT in a fresh folder. Without MESSAGE it must succeed and
# write its outputs; with MESSAGE it must fail, say so, and write none.
function(run id file expect)
  cmake_parse_arguments(ARG "" "MESSAGE" "" ${ARGN})
  set(out "${WORK}/${id}")
  file(REMOVE_RECURSE "${out}")
  file(MAKE_DIRECTORY "${out}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" "-DBTYACC=${BTYACC}" -DNAME=check "-DMAIN=${CASES}/${file}"
            "-DSKELETON=${SKELETON}" "-DOUT_DIR=${out}" "-DEXPECT_SR=${expect}" -DSYMBOL=CheckTables
            -P "${RUNNER}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  set(text "${stdout}${stderr}")
  string(REGEX REPLACE "[ \n]+" " " text "${text}")
  if(NOT DEFINED ARG_MESSAGE)
    if(NOT rc EQUAL 0)
      string(APPEND failures "${id}: expected success, got ${rc}: ${text}\n")
    elseif(NOT EXISTS "${out}/check_grammar.cpp" OR NOT EXISTS "${out}/check.tables.inc"
           OR NOT EXISTS "${out}/check.code.inc")
      string(APPEND failures "${id}: outputs missing\n")
    endif()
  else()
    if(rc EQUAL 0)
      string(APPEND failures "${id}: expected a failure\n")
    elseif(NOT text MATCHES "${ARG_MESSAGE}")
      string(APPEND failures "${id}: message does not match '${ARG_MESSAGE}': ${text}\n")
    endif()
    file(GLOB left "${out}/check_grammar.cpp" "${out}/check.*")
    if(left)
      string(APPEND failures "${id}: outputs written despite the failure: ${left}\n")
    endif()
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

run(pinned one_conflict.y 1)
run(more_than_pinned one_conflict.y 0 MESSAGE "hold 1 shift/reduce conflicts, the build expects 0.*state [0-9]+, lookahead P_B: shift [0-9]+ or reduce [0-9]+ \\(a : P_A \\.\\)")
run(fewer_than_pinned one_conflict.y 2 MESSAGE "hold 1 shift/reduce conflicts, the build expects 2")
run(stale_register stale_register.y 1 MESSAGE "conflict register .* states 0 shift/reduce conflicts, the tables hold 1")
run(reduce_reduce reduce_reduce.y 0 MESSAGE "1 reduce/reduce conflict")
run(broken broken.y 0 MESSAGE "btyacc failed")
run(dollar_zero dollar_zero.y 0 MESSAGE "uses [$]0, which btyacc translates wrongly; write YYVALARG\\(0\\)")

# A failing run keeps the outputs of the last good one.
run(keep one_conflict.y 1)
set(out "${WORK}/keep")
file(READ "${out}/check.tables.inc" before)
execute_process(
  COMMAND "${CMAKE_COMMAND}" "-DBTYACC=${BTYACC}" -DNAME=check "-DMAIN=${CASES}/one_conflict.y"
          "-DSKELETON=${SKELETON}" "-DOUT_DIR=${out}" -DEXPECT_SR=5 -DSYMBOL=CheckTables -P "${RUNNER}"
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
file(READ "${out}/check.tables.inc" after)
if(rc EQUAL 0 OR NOT before STREQUAL after)
  string(APPEND failures "keep: a failing run replaced or lost the last good output\n")
endif()

if(failures)
  message(FATAL_ERROR "pipeline checks failed:\n${failures}")
endif()
message(STATUS "pipeline checks passed")
