# Saving, the keyword page, the whole-file reader and the output help page.
tolvaris_add_test(pages_and_saving_tests
    SOURCES
        engine/whole_file_reader_test.cpp
        main_window/keyword_page_test.cpp
        output_window/saving_test.cpp
        output_window/output_help_test.cpp
    LIBRARIES tolvaris_test_support)
