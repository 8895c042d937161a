# The scene checker: the viewer's reader and builders without a window.
add_executable(quillmoor-check tools/check/main.cpp)
# Only the shared command-line options come from the app library; the checker opens no window.
target_link_libraries(quillmoor-check PRIVATE quillmoor_world quillmoor_app)

if(BUILD_TESTING)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  # The diagnostics and the checker, without a window.
  add_executable(quillmoor_check_tests tests/test_main.cpp tests/test_check.cpp)
  target_include_directories(quillmoor_check_tests PRIVATE tests)
  target_link_libraries(quillmoor_check_tests PRIVATE quillmoor_app GTest::gtest)
  target_compile_definitions(quillmoor_check_tests PRIVATE
    QUILLMOOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLMOOR_CHECK="$<TARGET_FILE:quillmoor-check>")
  add_dependencies(quillmoor_check_tests quillmoor-check)
  gtest_discover_tests(quillmoor_check_tests DISCOVERY_TIMEOUT 60)

  # --watch and --debug on a real display (run under xvfb-run, as the other window tests).
  add_executable(quillmoor_authoring_window_tests tests/window/window_main.cpp
    tests/window/process.cpp tests/window/test_authoring.cpp)
  target_include_directories(quillmoor_authoring_window_tests PRIVATE tests/window)
  target_link_libraries(quillmoor_authoring_window_tests PRIVATE GTest::gtest PNG::PNG)
  target_compile_definitions(quillmoor_authoring_window_tests PRIVATE
    QUILLMOOR_VIEWER="$<TARGET_FILE:quillmoor>" QUILLMOOR_SNAPSHOT="$<TARGET_FILE:quillmoor-snapshot>")
  add_dependencies(quillmoor_authoring_window_tests quillmoor quillmoor-snapshot)
  gtest_discover_tests(quillmoor_authoring_window_tests DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS window ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()
