# The settings file: number text, lenient number reading, load and save.
target_sources(tolvaris_core PRIVATE settings/number_text.cpp settings/settings_file.cpp)
