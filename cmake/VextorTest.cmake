# vextor_add_test(name SOURCES... LIBS...): one GoogleTest executable per suite, discovered by CTest,
# run offscreen.
function(vextor_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  foreach(src ${T_SOURCES})
    if(NOT IS_ABSOLUTE ${src} AND NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${src})
      message(WARNING "${name}: ${src} is missing; the suite is left out of this build")
      return()
    endif()
  endforeach()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} vextor_testsupport GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VEXTOR_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
                                             VEXTOR_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "${VEXTOR_TEST_ENV}" DISCOVERY_TIMEOUT 60)
endfunction()
