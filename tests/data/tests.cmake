# Checks of the interpretation files shipped in data/.
tolvaris_add_test(library_tests SOURCES data/library_test.cpp LIBRARIES tolvaris_test_support)
