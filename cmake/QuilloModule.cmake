# quillo_module(<target> [LINK <libs>...])
#   One library target from every .cpp file in the calling folder (main.cpp excepted: it belongs to an
#   executable). Headers are included as
#   "<folder path from the project root>/<file>.h".
function(quillo_module target)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${target} PUBLIC ${ARG_LINK})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${target} INTERFACE ${ARG_LINK})
  endif()
endfunction()

# quillo_test(<name> LABEL <label> [LINK <libs>...])
#   One test executable (test_<name>) from every .cpp file in the calling folder, its tests labelled
#   <label> for `ctest -L <label>`. Tests run from the folder, so fixtures/ can be read relatively;
#   QUILLO_SOURCE_DIR and QUILLO_TEST_DIR name the project root and the test folder.
function(quillo_test name)
  cmake_parse_arguments(ARG "" "LABEL" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_LINK} quillo_test_support GTest::gtest GTest::gmock
                        GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE QUILLO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                             QUILLO_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
                       PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 120
                       # Nothing a test does may touch the user's own settings.
                       ENVIRONMENT "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config")
endfunction()

# quillo_bench(<name> [LINK <libs>...])
#   One Google Benchmark program (bench_<name>) from every .cpp file in the calling folder.
function(quillo_bench name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_executable(bench_${name} ${sources})
  target_link_libraries(bench_${name} PRIVATE ${ARG_LINK} benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(bench_${name} PRIVATE QUILLO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()
