# SPDX-License-Identifier: Zlib
# Test suites: one GoogleTest executable per module and label, each test registered with CTest
# and run in its own process, so process-wide state (error handlers, the random sequence,
# the window layer) starts fresh for every test.
if(WIN32)
  # Debian ships GoogleTest's sources (package googletest), built here with the Windows compilers.
  add_subdirectory(/usr/src/googletest/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

set(QM_TEST_ENVIRONMENT
    "ALSOFT_DRIVERS=null"
    "QM_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "QM_SHARED_DIR=${CMAKE_SOURCE_DIR}/../shared"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/sanitizer_suppressions.txt:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# The suites' one POSIX habit on Windows besides mkdtemp (tests/support/windows_posix.h): M_PI.
function(qm_apply_windows_test_settings target)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE _USE_MATH_DEFINES)
  endif()
endfunction()

# qm_add_test_suite(<name> LABEL <unit|display|audio|e2e> SOURCES ... [LIBRARIES ...])
function(qm_add_test_suite name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  qm_apply_windows_test_settings(${name})
  qm_apply_warnings(${name})
  # Cross-built suites are listed when the tests run, so building them needs no Wine.
  set(discovery_mode POST_BUILD)
  if(CMAKE_CROSSCOMPILING)
    set(discovery_mode PRE_TEST)
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
    DISCOVERY_TIMEOUT 60 DISCOVERY_MODE ${discovery_mode})
  # Test discovery splits list-valued properties into separate arguments, which would keep only
  # the first variable; so the environment is set by a CTest include file that runs once the
  # discovered tests (listed in <name>_TESTS) are known.
  set(environment_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake")
  file(WRITE "${environment_file}"
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${QM_TEST_ENVIRONMENT}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${environment_file}")
endfunction()

# qm_add_web_tests(<file.py> [ENVIRONMENT <name=value> ...]): the browser tests in one Python
# file, one CTest test per test method ("<Class>.<method>", label "web"), run by Debian's Python
# (which has Selenium and PIL) against the pages the Emscripten build made, with the variables
# given added to their environment. Left out where those pages are not built. One browser runs at
# a time: two would share the cores and slow each other's frames.
function(qm_add_web_tests file)
  cmake_parse_arguments(ARG "" "" "ENVIRONMENT" ${ARGN})
  if(NOT QM_WEB_PAGES_DIR)
    return()
  endif()
  set(environment "PYTHONPATH=${CMAKE_SOURCE_DIR}/tests/support/web"
    "QM_WEB_PAGES_DIR=${QM_WEB_PAGES_DIR}" "QM_SOURCE_DIR=${CMAKE_SOURCE_DIR}" ${ARG_ENVIRONMENT})
  set(path "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
  get_filename_component(module "${path}" NAME_WE)
  get_filename_component(folder "${path}" DIRECTORY)
  file(READ "${path}" text)
  string(REGEX MATCH "class ([A-Za-z0-9_]+)\\(" class_line "${text}")
  set(class "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "def (test_[A-Za-z0-9_]+)" methods "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${path}")
  foreach(method_line IN LISTS methods)
    string(REPLACE "def " "" method "${method_line}")
    add_test(NAME "${class}.${method}"
      COMMAND /usr/bin/python3 -m unittest -v "${module}.${class}.${method}"
      WORKING_DIRECTORY "${folder}")
    set_tests_properties("${class}.${method}" PROPERTIES LABELS web TIMEOUT 180
      RESOURCE_LOCK browser
      ENVIRONMENT "${environment}")
  endforeach()
endfunction()
