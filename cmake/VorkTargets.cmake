# Shared settings for every target of the project.

# No -Wnull-dereference: with optimisation GCC 12 reports it inside the
# standard library's own std::function and std::move code. GCC 12 also
# reports impossible overlaps in std::string's inlined copies at -O2 and
# above (-Wrestrict, fixed in GCC 13), so that check is left to later GCCs.
function(vork_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)
endfunction()

# Targets that use Qt Widgets (directly or through a library of ours that
# does) compile its large headers once per target.
function(vork_qt_headers target deps)
  string(REGEX MATCH "Qt6::Widgets|vork_(scene|objects|shell|platform_qt|media)(;|$)"
         uses_widgets "${deps}")
  if(uses_widgets AND NOT VORK_CORE_ONLY)
    target_precompile_headers(${target} PRIVATE <QtWidgets/QWidget> <QtGui/QImage>
      <QtGui/QPainter> <QtCore/QString> <string> <vector> <memory> <functional>)
  endif()
endfunction()

# vork_library(NAME SOURCES... [DEPS ...]): a static library of one subsystem.
function(vork_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  vork_warnings(${name})
  vork_qt_headers(${name} "${ARG_DEPS}")
endfunction()

# vork_test(NAME SOURCES... DEPS ...): one GoogleTest executable, registered
# with CTest test by test.
function(vork_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;ENV" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    VORK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VORK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  vork_warnings(${name})
  vork_qt_headers(${name} "${ARG_DEPS}")
  # The environment travels through `env` as the tests' launcher: a list
  # given to gtest_discover_tests as PROPERTIES loses all but its first entry.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
    env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ${ARG_ENV})
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
endfunction()

# vork_fuzzer(NAME SOURCES ... DEPS ...): a libFuzzer target. Its seed corpus,
# when it has one, is the folder corpus/ beside its CMakeLists.txt.
function(vork_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY VORK_FUZZERS "${name}=${CMAKE_CURRENT_SOURCE_DIR}")
endfunction()

# vork_module(NAME SOURCES... DEPS ...): a part of the player loaded with
# dlopen when it is first needed (platform/on_demand_library.h), built as
# lib<NAME>.so beside the executable. Only its C entry points are exported,
# so its copies of our code never interpose on the player's.
function(vork_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined)
  vork_warnings(${name})
  # Installed and copied beside every copy of the player (VORK_MODULES).
  set_property(GLOBAL APPEND PROPERTY VORK_MODULES ${name})
endfunction()

# vork_soname(LIBRARY VAR): the soname of the shared library LIBRARY (a path,
# symbolic links allowed), for opening it with dlopen when it is first used.
function(vork_soname library var)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${library} OUTPUT_VARIABLE headers ERROR_QUIET)
  string(REGEX MATCH "SONAME +([^\n]+)" found "${headers}")
  if(NOT found)
    message(FATAL_ERROR "Cannot read the soname of ${library} (with ${CMAKE_OBJDUMP} -p)")
  endif()
  set(${var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
