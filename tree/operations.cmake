# The operation catalogue: tree/operations.def becomes the enumeration DovOper
# (generated/tree/oper_enum.h) and the catalogue tables (oper_tables.cpp).
vemlo_generator(gen_operations "${CMAKE_SOURCE_DIR}/generators/gen_operations.cpp")

set(oper_out "${CMAKE_BINARY_DIR}/generated/tree")
add_custom_command(
  OUTPUT "${oper_out}/oper_enum.h" "${oper_out}/oper_tables.cpp"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${oper_out}"
  COMMAND gen_operations "${CMAKE_SOURCE_DIR}/tree/operations.def" "${oper_out}"
  DEPENDS gen_operations "${CMAKE_SOURCE_DIR}/tree/operations.def"
  COMMENT "Generating the operation catalogue"
  VERBATIM)
target_sources(tree PRIVATE "${oper_out}/oper_enum.h" "${oper_out}/oper_tables.cpp")
