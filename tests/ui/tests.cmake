# The windows on Qt's offscreen platform. Its own main() makes the
# QApplication that every window test needs.
add_executable(ui_tests
    ui/ui_test_main.cpp
    ui/main_window_test.cpp
    ui/output_window_test.cpp
    ui/program_test.cpp)
tolvaris_target_defaults(ui_tests)
target_link_libraries(ui_tests PRIVATE tolvaris_ui tolvaris_test_support Qt6::Test GTest::gtest)
gtest_discover_tests(ui_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
