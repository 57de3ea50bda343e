# Shared helpers for the project's own targets.

# Warnings for code we write; third-party code is compiled without them.
function(zorv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# zorv_library(<name> DIRS <dir>... [EXCLUDE <regex>] [QT] LIBS <lib>...)
# Collects *.cpp/*.h below each dir so new files need no CMake edit.
function(zorv_library name)
  cmake_parse_arguments(ARG "QT" "EXCLUDE" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
      ${dir}/*.cpp ${dir}/*.h ${dir}/*.hpp)
    list(APPEND sources ${found})
  endforeach()
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  set(compiled ${sources})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(NOT compiled)
    # Nothing compiled yet: an interface target keeps dependants linking.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    return()
  endif()
  # Headers are listed too, so that moc sees every Q_OBJECT header.
  add_library(${name} STATIC ${sources})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    # Ninja's moc step does not notice headers added by a re-glob: when the
    # file list changes, drop the step's stamp so that it runs again.
    set(stamp_list "${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen_files.txt")
    set(old_list "")
    if(EXISTS "${stamp_list}")
      file(READ "${stamp_list}" old_list)
    endif()
    if(NOT old_list STREQUAL "${sources}")
      file(REMOVE "${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/timestamp")
      file(WRITE "${stamp_list}" "${sources}")
    endif()
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  zorv_warnings(${name})
endfunction()

# zorv_test(<name> DIRS <dir>... LIBS <lib>... [LABELS <label>...])
# One GoogleTest executable per test folder; discovery runs before the tests.
function(zorv_test name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS;LABELS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  zorv_warnings(${name})
  # The tests' own sources are glue around the code they check: unoptimised, with line tables only
  # (a failure's backtrace still names file and line), they build in about 40 % less time, and
  # they are most of what the test command builds. The code under test keeps its own flags.
  target_compile_options(${name} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O0 -g1>)
  if("gl" IN_LIST ARG_LABELS AND NOT ZORV_GL_TESTS)
    # Declared, so that the lines that follow may still name it, but neither built nor listed.
    return()
  endif()
  set_property(TARGET ${name} PROPERTY ZORV_RUNS TRUE)
  set(props ENVIRONMENT "ZORV_TEST_DATA_DIR=${CMAKE_BINARY_DIR}/testdata")
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  if("gl" IN_LIST ARG_LABELS)
    # GL suites share one X server: never alongside other tests.
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props})
endfunction()

# Leaves out of the default target every library and program not marked ZORV_RUNS (the
# registered tests, the fuzz targets, the seed writer); what those need is still built as
# their dependency.
function(zorv_build_only_what_runs)
  set(dirs ${PROJECT_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS targets)
      get_target_property(type ${t} TYPE)
      get_target_property(runs ${t} ZORV_RUNS)
      if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$" AND NOT runs)
        set_target_properties(${t} PROPERTIES EXCLUDE_FROM_ALL ON)
      endif()
    endforeach()
  endwhile()
endfunction()
