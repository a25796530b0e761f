# Shared build rules of the project.

set(VEMLO_WARNINGS -Wall -Wextra)

if(VEMLO_SANITIZE)
  set(VEMLO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  add_compile_options(${VEMLO_SANITIZER_FLAGS})
  add_link_options(${VEMLO_SANITIZER_FLAGS})
endif()

# vemlo_library(NAME [DEPS lib...])
# Builds the static library NAME from every .cpp below the folder NAME/
# (generated sources are added by the folder's own CMakeLists with
# target_sources). Includes are written from the repository root.
function(vemlo_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${name}/*.cpp")
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/generated")
  target_compile_options(${name} PRIVATE ${VEMLO_WARNINGS})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# vemlo_generator(NAME SOURCES...): a small host program run at build time.
function(vemlo_generator name)
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${VEMLO_WARNINGS})
endfunction()
