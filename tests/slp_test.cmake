# slp_add_test(NAME src... LIBS lib... [SERVER]): one GoogleTest executable, each test case its own ctest
# entry. SERVER: the tests use the throw-away PostgreSQL cluster that the pg_cluster fixture starts once
# for the whole ctest run (run by itself, the executable starts its own; see tests/server).
set(SLP_PG_STATE ${CMAKE_BINARY_DIR}/pg-cluster.state)
if(NOT TARGET slp_pg_cluster_fixture)
  add_custom_target(slp_pg_cluster_fixture)
  add_test(NAME pg_cluster_start COMMAND bash ${CMAKE_SOURCE_DIR}/tests/server/pg_cluster.sh start ${SLP_PG_STATE})
  add_test(NAME pg_cluster_stop COMMAND bash ${CMAKE_SOURCE_DIR}/tests/server/pg_cluster.sh stop ${SLP_PG_STATE})
  set_tests_properties(pg_cluster_start PROPERTIES FIXTURES_SETUP pg_cluster)
  set_tests_properties(pg_cluster_stop PROPERTIES FIXTURES_CLEANUP pg_cluster)
endif()

function(slp_add_test name)
  cmake_parse_arguments(T "SERVER" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  target_compile_definitions(${name} PRIVATE SLP_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data" SLP_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    SLP_PG_CLUSTER_SCRIPT="${CMAKE_SOURCE_DIR}/tests/server/pg_cluster.sh")
  if(T_SERVER)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;SLP_TEST_PG_STATE=${SLP_PG_STATE}"
        FIXTURES_REQUIRED pg_cluster)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
  endif()
endfunction()
