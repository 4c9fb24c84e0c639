# slp_add_test(NAME [SERVER] [APPLICATION] SOURCES src... LIBS lib...): one GoogleTest program, each test
# case its own ctest entry, on the shared test support and its precompiled header.
#   APPLICATION: the program gets the one QApplication (offscreen) made before its first test.
#   SERVER: the tests use the throw-away PostgreSQL cluster that the pg_cluster fixture starts once for
#   the whole ctest run (run by itself, the program starts its own; see tests/server).
set(SLP_PG_STATE ${CMAKE_BINARY_DIR}/pg-cluster.state)
if(NOT TARGET slp_pg_cluster_fixture)
  add_custom_target(slp_pg_cluster_fixture)
  add_test(NAME pg_cluster_start COMMAND bash ${CMAKE_SOURCE_DIR}/tests/server/pg_cluster.sh start ${SLP_PG_STATE})
  add_test(NAME pg_cluster_stop COMMAND bash ${CMAKE_SOURCE_DIR}/tests/server/pg_cluster.sh stop ${SLP_PG_STATE})
  set_tests_properties(pg_cluster_start PROPERTIES FIXTURES_SETUP pg_cluster)
  set_tests_properties(pg_cluster_stop PROPERTIES FIXTURES_CLEANUP pg_cluster)
endif()

# Test code is compiled for a quick build, without optimisation or debug information: the component it
# calls keeps its own, and a failing assertion names its file and line all the same.
function(slp_test_compile_options target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo,Release>:-O0 -g0>)
endfunction()

function(slp_add_test name)
  cmake_parse_arguments(T "SERVER;APPLICATION" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} slp_test_support GTest::gtest_main)
  if(T_APPLICATION)
    target_link_libraries(${name} PRIVATE slp_test_application)
  endif()
  slp_test_compile_options(${name})
  target_precompile_headers(${name} REUSE_FROM slp_test_support)
  # The command-line tests run the program itself.
  if(TARGET slpayprn)
    add_dependencies(${name} slpayprn)
  endif()
  # One variable only: a test property takes one value here, a list would be split into other
  # properties. The server tests find the fixture's cluster from its state file (SLP_PG_STATE_FILE), and
  # scripts/test sets ASAN_OPTIONS for the sanitizer build.
  if(T_SERVER)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" FIXTURES_REQUIRED pg_cluster)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
