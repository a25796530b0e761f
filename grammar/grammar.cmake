# The grammar pipeline: btyacc runs at build time on a grammar of our own with
# the frame's skeleton; the generated tables and actions are compiled as C++
# into a target. The number of shift/reduce conflicts is pinned here, beside
# the call; a changed number, or any reduce/reduce conflict, fails the build
# (grammar/tools/run_btyacc.cmake).
find_program(VEMLO_BTYACC btyacc REQUIRED)
set(VEMLO_GRAMMAR_RUNNER "${CMAKE_SOURCE_DIR}/grammar/tools/run_btyacc.cmake" CACHE INTERNAL "")
set(VEMLO_GRAMMAR_SKELETON "${CMAKE_SOURCE_DIR}/grammar/frame.ske" CACHE INTERNAL "")

# vemlo_btyacc_grammar(TARGET target NAME id GRAMMAR main.y [INCLUDES rules.y...]
#                      [TOKENS] EXPECT_SR n SYMBOL CxxName)
# Builds the grammar file GRAMMAR (which %includes the files INCLUDES, and
# with TOKENS the generated token list tokens.y.inc) into the object
# `const DovGrammarTables CxxName` compiled into `target`.
function(vemlo_btyacc_grammar)
  cmake_parse_arguments(ARG "TOKENS" "TARGET;NAME;GRAMMAR;EXPECT_SR;SYMBOL" "INCLUDES" ${ARGN})
  foreach(req TARGET NAME GRAMMAR EXPECT_SR SYMBOL)
    if(NOT DEFINED ARG_${req})
      message(FATAL_ERROR "vemlo_btyacc_grammar: ${req} is required")
    endif()
  endforeach()
  set(out "${CMAKE_BINARY_DIR}/generated/grammar")
  file(MAKE_DIRECTORY "${out}")
  set(deps "${ARG_GRAMMAR}" ${ARG_INCLUDES} "${VEMLO_GRAMMAR_SKELETON}" "${VEMLO_GRAMMAR_RUNNER}")
  set(token_arg "")
  if(ARG_TOKENS)
    set(tokens "${CMAKE_BINARY_DIR}/generated/tree/tokens.y.inc")
    set(token_arg "-DTOKENS=${tokens}")
    list(APPEND deps "${tokens}" tree_grammar_tokens)
  endif()
  list(JOIN ARG_INCLUDES "|" sources)
  add_custom_command(
    OUTPUT "${out}/${ARG_NAME}_grammar.cpp" "${out}/${ARG_NAME}.tables.inc" "${out}/${ARG_NAME}.code.inc"
    COMMAND "${CMAKE_COMMAND}" "-DBTYACC=${VEMLO_BTYACC}" "-DNAME=${ARG_NAME}" "-DMAIN=${ARG_GRAMMAR}"
            "-DSOURCES=${sources}" ${token_arg} "-DSKELETON=${VEMLO_GRAMMAR_SKELETON}" "-DOUT_DIR=${out}"
            "-DEXPECT_SR=${ARG_EXPECT_SR}" "-DSYMBOL=${ARG_SYMBOL}" -P "${VEMLO_GRAMMAR_RUNNER}"
    DEPENDS ${deps}
    COMMENT "Building the ${ARG_NAME} grammar with btyacc"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${out}/${ARG_NAME}_grammar.cpp")
endfunction()

# The COBOL grammar. Its shift/reduce conflicts, each resolved by trial
# parsing with the shift tried first, are listed in the register at the top
# of grammar/cobol.y.
vemlo_btyacc_grammar(
  TARGET grammar NAME cobol GRAMMAR "${CMAKE_SOURCE_DIR}/grammar/cobol.y"
  INCLUDES
           "${CMAKE_SOURCE_DIR}/grammar/program.y"
           "${CMAKE_SOURCE_DIR}/grammar/ident.y"
           "${CMAKE_SOURCE_DIR}/grammar/environment.y"
           "${CMAKE_SOURCE_DIR}/grammar/data.y"
           "${CMAKE_SOURCE_DIR}/grammar/procedure.y"
           "${CMAKE_SOURCE_DIR}/grammar/stmt_control.y"
           "${CMAKE_SOURCE_DIR}/grammar/stmt_arith.y"
           "${CMAKE_SOURCE_DIR}/grammar/stmt_data.y"
           "${CMAKE_SOURCE_DIR}/grammar/stmt_io.y"
           "${CMAKE_SOURCE_DIR}/grammar/exec.y"
           "${CMAKE_SOURCE_DIR}/grammar/sql.y"
           "${CMAKE_SOURCE_DIR}/grammar/cics.y"
           "${CMAKE_BINARY_DIR}/generated/grammar/cics_rules.y.inc"
           "${CMAKE_SOURCE_DIR}/grammar/operands.y"
           "${CMAKE_SOURCE_DIR}/grammar/words.y"
  TOKENS EXPECT_SR 59 SYMBOL DovCobolGrammarTables)
