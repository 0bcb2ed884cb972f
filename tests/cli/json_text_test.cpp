#include "cli/json_text.h"

#include <gtest/gtest.h>

#include <string>

#include "cli/chart_table.h"

namespace tolvaris {
namespace {

TEST(JsonString, EscapesWhatJsonForbidsAndKeepsTheRest) {
    const struct {
        std::string text;
        const char* json;
    } cases[] = {
        {"", "\"\""},
        {"Anna", "\"Anna\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\charts", "\"C:\\\\charts\""},
        {"a\nb\r\tc\b\f", "\"a\\nb\\r\\tc\\b\\f\""},
        {std::string("nul\0here", 8), "\"nul\\u0000here\""},
        {"\x1b[31m\x7f", "\"\\u001b[31m\\u007f\""},
        {"Zürich 李 \xF0\x9F\x8C\x9E", "\"Zürich 李 \xF0\x9F\x8C\x9E\""},
        {"Z\xFCrich", "\"Z\\ufffdrich\""},
        {"\xE2\x82", "\"\\ufffd\\ufffd\""},
        {"/</script>", "\"/</script>\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.text), c.json);
    }
}

TEST(DegreesInSign, RoundsToTheSecondWithoutReachingThirty) {
    const struct {
        double degrees;
        const char* text;
    } cases[] = {
        {0.0, "0°00'00\""},       {10.771783, "10°46'18\""},    {29.5, "29°30'00\""},
        {29.99999, "29°59'59\""}, {59.6 / 3600.0, "0°01'00\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDegreesInSign(c.degrees), c.text) << c.degrees;
    }
}

}  // namespace
}  // namespace tolvaris
