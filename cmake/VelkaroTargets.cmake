# One static library per layer, built from the sources of its folder.
function(velkaro_add_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Benchmarks and fuzz targets: every subfolder with a CMakeLists.txt is a program of its own.
function(velkaro_add_each_subdirectory)
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    if(EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# Every target defined under `dir` and its subfolders (Qt's generated helper
# targets included; callers pick the kinds they want).
function(velkaro_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    velkaro_collect_targets(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Warnings for the code we compile ourselves: every library and program of the
# source tree (layers, programs, tests, benchmarks, fuzz targets). Qt, GoogleTest
# and Google Benchmark come in as system headers, so their code never warns.
# The layers and programs of src/ are free of conversions that may change a
# value and keep so: a new one is an error where warnings are.
# Everything is hardened as a distribution builds it: checked buffer functions
# (they need the optimiser, and the sanitizers do that work themselves), a
# guarded stack, and relocations made read-only once loaded.
function(velkaro_apply_warnings)
  set(flags -Wall -Wextra -Wpedantic -Wshadow)
  if(VELKARO_WERROR)
    list(APPEND flags -Werror)
  endif()
  # MinGW's checked functions and stack guard need a runtime library of their
  # own; its linker makes the image relocatable and its data not executable
  # by default.
  if(VELKARO_HARDEN AND NOT WIN32)
    list(APPEND flags -fstack-protector-strong)
    if(NOT VELKARO_SANITIZE AND NOT VELKARO_BUILD_FUZZ)
      list(APPEND flags $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    endif()
  endif()
  velkaro_collect_targets(${PROJECT_SOURCE_DIR} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    target_compile_options(${target} PRIVATE ${flags})
    get_target_property(folder ${target} SOURCE_DIR)
    if(folder MATCHES "^${PROJECT_SOURCE_DIR}/src(/|$)")
      # Clang's also counts changes of sign, which GCC's leaves out.
      target_compile_options(${target} PRIVATE -Wconversion
                             $<$<CXX_COMPILER_ID:Clang>:-Wno-sign-conversion>)
    endif()
    if(VELKARO_HARDEN AND NOT WIN32)
      target_link_options(${target} PRIVATE LINKER:-z,relro LINKER:-z,now)
    endif()
  endforeach()
endfunction()
