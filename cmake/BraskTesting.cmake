# Every test of a build carries its platform's label, also as its name's suffix: windows (run
# under Wine), arm64 (run under qemu's user-mode emulation) or linux.
if(WIN32)
  set(BRASK_TEST_LABEL windows)
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  set(BRASK_TEST_LABEL arm64)
else()
  set(BRASK_TEST_LABEL linux)
endif()

# brask_add_gtest(<name> SOURCES <files...> [LIBS <targets...>])
# One ctest entry per test program: under Wine every process start is costly, so test
# programs are run whole rather than discovered case by case.
function(brask_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  brask_project_warnings(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name}.${BRASK_TEST_LABEL} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name}.${BRASK_TEST_LABEL} PROPERTIES LABELS ${BRASK_TEST_LABEL})
endfunction()
