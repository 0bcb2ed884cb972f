# The settings file: number text, lenient reading, load and save.
tolvaris_add_test(settings_tests
    SOURCES
        settings/number_text_test.cpp
        settings/settings_file_test.cpp
    LIBRARIES tolvaris_test_support)
