# Failure injection, hostile files and the soak. Each case forks where it
# changes process-wide state (file size limits, users, mounts).
tolvaris_add_test(reliability_tests
    SOURCES
        reliability/reliability_support.cpp
        reliability/disk_full_test.cpp
        reliability/killed_save_test.cpp
        reliability/read_only_test.cpp
        reliability/hostile_files_test.cpp
        reliability/big_files_test.cpp
        reliability/soak_test.cpp
    LIBRARIES tolvaris_test_support)

# The failures that only the whole program reports, with its windows on the
# offscreen platform.
add_executable(reliability_app_tests
    reliability/reliability_app_main.cpp
    reliability/reliability_support.cpp
    reliability/settings_at_exit_test.cpp)
tolvaris_target_defaults(reliability_app_tests)
target_link_libraries(reliability_app_tests PRIVATE tolvaris_ui tolvaris_test_support GTest::gtest)
gtest_discover_tests(reliability_app_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
