# The printer's built-in template table: the catalogue's templates
# (tree/operations.def) and the conditional entries
# (printer/templates/conditional_templates.def) become default_table
# (generated/printer/default_table.cpp), by the catalogue's generator.
set(print_table_out "${CMAKE_BINARY_DIR}/generated/printer")
add_custom_command(
  OUTPUT "${print_table_out}/default_table.cpp"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${print_table_out}"
  COMMAND gen_operations --print-table "${CMAKE_SOURCE_DIR}/tree/operations.def"
          "${CMAKE_SOURCE_DIR}/printer/templates/conditional_templates.def" "${print_table_out}"
  DEPENDS gen_operations "${CMAKE_SOURCE_DIR}/tree/operations.def"
          "${CMAKE_SOURCE_DIR}/printer/templates/conditional_templates.def"
  COMMENT "Generating the print-template table"
  VERBATIM)
target_sources(printer PRIVATE "${print_table_out}/default_table.cpp")
