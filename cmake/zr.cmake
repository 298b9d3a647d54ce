# Helpers shared by the folders' CMakeLists.

# zr_program(<name> SOURCES ... LIBS ...): a Windows GUI program that lands in dist/.
function(zr_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} WIN32 ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZR_DIST_DIR})
endfunction()

# zr_test_program(<name> SOURCES ... LIBS ...): one GoogleTest program, run by
# CTest as one test (under wine64 in the win64 build).
function(zr_test_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZR_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ZR_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${ZR_TEST_PREFIX}${name} COMMAND ${name})
  set_tests_properties(${ZR_TEST_PREFIX}${name} PROPERTIES TIMEOUT 600)
endfunction()

