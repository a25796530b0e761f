# The CICS option table: parser/cics_options.def becomes CicsOptionTable
# (generated/parser/cics_option_table.cpp); the statement and option names are
# checked against the operation catalogue.
vemlo_generator(gen_cics_options "${CMAKE_SOURCE_DIR}/generators/gen_cics_options.cpp")

set(_cics_out "${CMAKE_BINARY_DIR}/generated/parser")
add_custom_command(
  OUTPUT "${_cics_out}/cics_option_table.cpp"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${_cics_out}"
  COMMAND gen_cics_options "${CMAKE_SOURCE_DIR}/tree/operations.def" "${CMAKE_SOURCE_DIR}/parser/cics_options.def"
          "${_cics_out}"
  DEPENDS gen_cics_options "${CMAKE_SOURCE_DIR}/tree/operations.def" "${CMAKE_SOURCE_DIR}/parser/cics_options.def"
  COMMENT "Generating the CICS option table"
  VERBATIM)
target_sources(parser PRIVATE "${_cics_out}/cics_option_table.cpp")
