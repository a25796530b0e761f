# Shared build rules of the project.

set(VEMLO_WARNINGS -Wall -Wextra)

if(VEMLO_SANITIZE)
  set(VEMLO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  add_compile_options(${VEMLO_SANITIZER_FLAGS})
  add_link_options(${VEMLO_SANITIZER_FLAGS})
endif()

# Link-time optimisation of the vemlo program: the libraries carry both the
# compiler's intermediate form and ordinary code ("fat" objects), so the
# program is optimised across the libraries while the tests and the other
# programs link the ordinary code as quickly as before.
include(CheckIPOSupported)
if(NOT VEMLO_SANITIZE AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo)$")
  check_ipo_supported(RESULT VEMLO_LTO_SUPPORTED LANGUAGES CXX)
endif()
option(VEMLO_LTO "Link the vemlo program with link-time optimisation" ${VEMLO_LTO_SUPPORTED})
if(VEMLO_LTO AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(VEMLO_LTO OFF)
endif()
if(VEMLO_LTO)
  set(VEMLO_LTO_COMPILE -flto=auto -ffat-lto-objects)
  set(VEMLO_LTO_LINK -flto=auto)
endif()

# vemlo_library(NAME [DEPS lib...])
# Builds the static library NAME from every .cpp below the folder NAME/ and
# then includes every NAME/*.cmake, where a folder adds its generated tables
# (target_sources). Includes are written from the repository root; generated
# headers are included as "generated/<folder>/<file>".
function(vemlo_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${name}/*.cpp")
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}" "${CMAKE_BINARY_DIR}")
  target_compile_options(${name} PRIVATE ${VEMLO_WARNINGS} ${VEMLO_LTO_COMPILE})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  file(GLOB parts CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${name}/*.cmake")
  foreach(part IN LISTS parts)
    include(${part})
  endforeach()
endfunction()

# vemlo_generator(NAME SOURCES...): a small host program, kept in
# generators/, that turns a data file into C++ at build time. Its output goes
# to ${CMAKE_BINARY_DIR}/generated/<folder>/.
function(vemlo_generator name)
  if(NOT TARGET ${name})
    add_executable(${name} ${ARGN})
    target_compile_options(${name} PRIVATE ${VEMLO_WARNINGS})
  endif()
endfunction()
