# Where the program writes: the program folder or the user's own folders.
add_executable(app_tests
    app/app_test_main.cpp
    app/write_folders_test.cpp)
tolvaris_target_defaults(app_tests)
target_link_libraries(app_tests PRIVATE tolvaris_ui tolvaris_test_support Qt6::Test GTest::gtest)
gtest_discover_tests(app_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
