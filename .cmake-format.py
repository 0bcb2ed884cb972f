# The layout of every CMake file, checked by scripts/check-format.
with section("parse"):
    additional_commands = {
        "tolvaris_add_test": {
            "flags": ["QT_MAIN"],
            "kwargs": {"LABEL": 1, "SOURCES": "+", "LIBRARIES": "+"},
        },
        "tolvaris_add_fuzzer": {"pargs": 2},
        "tolvaris_target_defaults": {"pargs": 1},
    }
with section("format"):
    line_width = 100
    tab_size = 4
    dangle_parens = False
    max_pargs_hwrap = 4
    max_subgroups_hwrap = 2
    max_lines_hwrap = 2
with section("markup"):
    enable_markup = False
