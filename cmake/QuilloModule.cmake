# quillo_module(<target> [LINK <libs>...])
#   One library target from every .cpp file in the calling folder and its subfolders (the folder's main.cpp
#   excepted: it belongs to an executable). Headers are included as
#   "<folder path from the project root>/<file>.h".
function(quillo_module target)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  # Sources in subfolders belong to the module too, unless a subfolder is a target of its own (it has a
  # CMakeLists.txt).
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/main\\.cpp$")
  file(GLOB_RECURSE own_lists "${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt")
  foreach(list_file IN LISTS own_lists)
    get_filename_component(own_dir "${list_file}" DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${own_dir}/")
  endforeach()
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
#   QUILLO_SOURCE_DIR and QUILLO_TEST_DIR name the project root and the test folder. The main bundle of a
#   test program falls back to the application's resources as the build tree holds them.
function(quillo_test name)
  cmake_parse_arguments(ARG "LIVE" "LABEL" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_LINK} quillo_test_support quillo_test_resources GTest::gtest
                        GTest::gmock GTest::gtest_main)
  if(ARG_LIVE)
    # Read by gtest_discover_tests below: every run of the program, discovery included, goes through it.
    set_property(TARGET test_${name} PROPERTY CROSSCOMPILING_EMULATOR
                 "${PROJECT_SOURCE_DIR}/tests/support/live_session.sh")
    target_link_libraries(test_${name} PRIVATE quillo_live_test_support)
  endif()
  # Only the sources that name the folders get them: the absolute paths differ between checkouts, and a
  # definition on every source would keep the compiler cache from sharing objects between them.
  set(tests_views OFF)
  foreach(source IN LISTS sources)
    file(READ "${source}" text)
    if(text MATCHES "#include \"(platform/ui|Quillo|MarkdownRender/views|Roadmap|Introspect)/")
      set(tests_views ON)
    endif()
    if(text MATCHES "QUILLO_(SOURCE|TEST)_DIR")
      set_property(SOURCE "${source}" APPEND PROPERTY COMPILE_DEFINITIONS
                   QUILLO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QUILLO_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
  endforeach()
  # The shared precompiled headers (tests/support/CMakeLists.txt), the view layer's for programs that test
  # views. Live test programs are built with the desktop libraries' own options and compile without.
  if(NOT ARG_LIVE)
    # Some libraries bring -pthread (and with it _REENTRANT) and some do not; every program and both
    # headers are compiled with it, so that the headers fit all.
    target_compile_options(test_${name} PRIVATE -pthread)
    if(tests_views)
      target_precompile_headers(test_${name} REUSE_FROM quillo_view_test_pch)
    else()
      target_precompile_headers(test_${name} REUSE_FROM quillo_test_pch)
    endif()
  endif()
  # The limit is generous: a sanitizer build on a busy two-core machine runs the heaviest suites (the decoder
  # fuzz, the whole program) several times slower than a quiet one.
  # A live test skipped for want of a session shows as skipped in ctest, not as passed. A live test runs an
  # X server, a window manager and the session's buses beside the program, and waits on what they show: it
  # counts as two of ctest's parallel jobs, so that a busy machine still serves them in time.
  set(live_properties "")
  if(ARG_LIVE)
    set(live_properties SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" PROCESSORS 2)
  endif()
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
                       PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 300 ${live_properties}
                       # Nothing a test does may touch the user's own settings.
                       ENVIRONMENT "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config")
endfunction()

# quillo_live_test(<name> LABEL <label> [LINK <libs>...])
#   A test program that works with a live desktop (an X server, its window manager, the session and
#   accessibility buses, other programs' windows). Like quillo_test, but every run of the program, test
#   discovery included, goes through tests/support/live_session.sh: each test case runs in a private
#   session of its own (Xvfb on a free display, openbox, dbus-run-session, a temporary HOME and XDG
#   folders), and every process started inside it ends with it. A case that fails (not by a crash or a
#   sanitizer's report) runs once more in a fresh session and fails only when it fails again. Such tests begin with
#   QUILLO_REQUIRE_LIVE_SESSION() from tests/support/live/live_session.h, which skips them with the reason
#   where no session could start (and refuses to run them outside the wrapper, so they never type into or
#   grab keys of a real desktop); the same header starts fixture programs and waits, with a deadline, for
#   what they show. Fixture programs of the test (in C, in fixtures/) are built with quillo_live_fixture.
function(quillo_live_test name)
  quillo_test(${name} LIVE ${ARGN})
endfunction()

# quillo_live_fixture(<test name> <fixture name> [<source> [LINK <libs>...]])
#   A small program that a live test starts (a GTK window with text fields, ...), built beside the test
#   program from <source>, or one that tests/support/live already builds (text_editor: a text view, an
#   entry and a password entry; see its source in tests/support/live/fixtures). The test finds it through
#   the compile definition QUILLO_FIXTURE_<FIXTURE NAME> (upper case, dashes as underscores), the
#   program's path.
function(quillo_live_fixture test fixture)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    add_executable(${fixture} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${fixture} PRIVATE ${ARG_LINK})
  endif()
  add_dependencies(test_${test} ${fixture})
  string(TOUPPER "${fixture}" definition)
  string(REPLACE "-" "_" definition "${definition}")
  # Only on the sources that name it, as quillo_test does with the folders, for the compiler cache.
  get_target_property(sources test_${test} SOURCES)
  foreach(source IN LISTS sources)
    file(READ "${source}" text)
    if(text MATCHES "QUILLO_FIXTURE_${definition}")
      set_property(SOURCE "${source}" APPEND PROPERTY COMPILE_DEFINITIONS
                   QUILLO_FIXTURE_${definition}="$<TARGET_FILE:${fixture}>")
    endif()
  endforeach()
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
