# Warnings in the project's own targets only; errors where TOLVARIS_WERROR
# asks (scripts/test and CI), so a newer compiler's new warning never stops a
# packager's build.
function(tolvaris_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(TOLVARIS_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(TOLVARIS_SANITIZE)
        target_compile_options(
            ${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                              -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# A GoogleTest executable registered with CTest, one test per case, labelled
# `quick` unless LABEL says otherwise. QT_MAIN gives it the shared main() that
# makes a QApplication (on the offscreen platform unless QT_QPA_PLATFORM
# names another).
function(tolvaris_add_test name)
    cmake_parse_arguments(
        ARG
        "QT_MAIN"
        "LABEL"
        "SOURCES;LIBRARIES"
        ${ARGN})
    if(NOT ARG_LABEL)
        set(ARG_LABEL quick)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    tolvaris_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest)
    if(ARG_QT_MAIN)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
        target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Widgets)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(
        ${name}
        PROPERTIES ENVIRONMENT
                   "TOLVARIS_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
                   LABELS
                   ${ARG_LABEL}
                   DISCOVERY_TIMEOUT
                   60)
endfunction()
