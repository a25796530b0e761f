# Token codes and reserved words: tree/tokens.def and tree/keywords.def become
# the token enumeration, the token-name table, the reserved-word table and the
# SQL and CICS keyword tables; the grammar's %token declarations are made from
# the same data.
vemlo_generator(gen_tokens "${CMAKE_SOURCE_DIR}/generators/gen_tokens.cpp")

set(_tok_out "${CMAKE_BINARY_DIR}/generated/tree")
file(MAKE_DIRECTORY "${_tok_out}")
add_custom_command(
  OUTPUT "${_tok_out}/token_codes.h" "${_tok_out}/token_tables.cpp"
  COMMAND gen_tokens tables "${CMAKE_SOURCE_DIR}/tree/tokens.def" "${CMAKE_SOURCE_DIR}/tree/keywords.def"
          "${_tok_out}"
  DEPENDS gen_tokens "${CMAKE_SOURCE_DIR}/tree/tokens.def" "${CMAKE_SOURCE_DIR}/tree/keywords.def"
  COMMENT "Generating the token codes and the reserved-word table"
  VERBATIM)
add_custom_command(
  OUTPUT "${_tok_out}/tokens.y.inc"
  COMMAND gen_tokens yacc "${CMAKE_SOURCE_DIR}/tree/tokens.def" "${_tok_out}/tokens.y.inc"
  DEPENDS gen_tokens "${CMAKE_SOURCE_DIR}/tree/tokens.def"
  COMMENT "Generating the grammar's token declarations"
  VERBATIM)
add_custom_target(tree_grammar_tokens DEPENDS "${_tok_out}/tokens.y.inc")
target_sources(tree PRIVATE "${_tok_out}/token_codes.h" "${_tok_out}/token_tables.cpp")
add_dependencies(tree tree_grammar_tokens)
