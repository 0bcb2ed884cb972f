# Saving, the keyword page, the whole-file reader and the output help page.
target_sources(tolvaris_core PRIVATE
    engine/whole_file_reader.cpp
    main_window/keyword_page.cpp
    output_window/saving.cpp
    output_window/output_help.cpp
)
