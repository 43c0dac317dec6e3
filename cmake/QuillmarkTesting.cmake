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

# The suites' few POSIX habits on Windows: mkdtemp (tests/support/windows_posix.h) and M_PI.
function(qm_apply_windows_test_settings target)
  if(WIN32)
    target_compile_options(${target} PRIVATE
      -include "${CMAKE_SOURCE_DIR}/tests/support/windows_posix.h")
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
