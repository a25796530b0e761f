# The regular part of the EXEC CICS grammar: grammar/cics_rules.def becomes
# the rule file cics_rules.y.inc (generators/gen_cics_grammar.cpp), which
# grammar/cobol.y includes after grammar/cics.y; the tokens and operations it
# names are checked against tree/tokens.def and tree/operations.def.
vemlo_generator(gen_cics_grammar "${CMAKE_SOURCE_DIR}/generators/gen_cics_grammar.cpp")

set(_cics_rules_out "${CMAKE_BINARY_DIR}/generated/grammar")
add_custom_command(
  OUTPUT "${_cics_rules_out}/cics_rules.y.inc"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${_cics_rules_out}"
  COMMAND gen_cics_grammar "${CMAKE_SOURCE_DIR}/tree/tokens.def" "${CMAKE_SOURCE_DIR}/tree/operations.def"
          "${CMAKE_SOURCE_DIR}/grammar/cics_rules.def" "${_cics_rules_out}/cics_rules.y.inc"
  DEPENDS gen_cics_grammar "${CMAKE_SOURCE_DIR}/tree/tokens.def" "${CMAKE_SOURCE_DIR}/tree/operations.def"
          "${CMAKE_SOURCE_DIR}/grammar/cics_rules.def"
  COMMENT "Generating the CICS command and option rules"
  VERBATIM)
