#include "core/chart/chart_file.h"

#include <array>
#include <fstream>
#include <system_error>
#include <variant>

#include "core/chart/birth_fields.h"
#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"
#include "core/common/utf8.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

// Six decimals of a degree are about 0.1 m on the ground: finer than any
// birthplace is known.
constexpr int kCoordinateDecimals = 6;

// The keys of the file are the fields of a birth.
using Field = BirthField;

constexpr std::array<std::string_view, kBirthFieldCount> kFieldKeys = {
    "name", "date",       "time", "place",  "latitude", "longitude",
    "zone", "utc-offset", "fold", "houses", "orbs"};

std::optional<Field> FieldOfKey(std::string_view key) {
    for (std::size_t i = 0; i < kFieldKeys.size(); ++i) {
        if (kFieldKeys[i] == key) {
            return static_cast<Field>(i);
        }
    }
    return std::nullopt;
}

std::string_view KeyOf(Field field) {
    return kFieldKeys[static_cast<std::size_t>(field)];
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// A name or place as one line that reads back: control characters (a
// pasted line break, a tab) become spaces, bytes that are not UTF-8 become
// "?", and the ends are trimmed as reading would trim them.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (IsControl(c)) {
            c = ' ';
        }
    }
    if (!IsValidUtf8(line)) {
        line = OneLineMessage(line);
    }
    return std::string(Trim(line));
}

std::string_view FoldKey(FoldChoice fold) {
    return fold == FoldChoice::Earlier ? "earlier" : "later";
}

class ChartFileParser {
public:
    explicit ChartFileParser(std::string_view fileName) : fileName_(fileName) {}

    ChartFileResult Parse(std::string_view text) {
        if (text.size() > kMaxChartFileBytes) {
            return Fail(1, "the file is " + std::to_string(text.size()) +
                               " bytes long, more than a chart file's " +
                               std::to_string(kMaxChartFileBytes) + ", so it is not one");
        }
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);  // a byte order mark some editors add
        }
        if (text.empty()) {
            return Fail(1, "the file is empty; a chart file begins with \"" +
                               std::string(kChartFileVersionLine) + "\"");
        }
        int lineNumber = 0;
        while (!text.empty()) {
            ++lineNumber;
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (std::string error = ReadLine(line, lineNumber); !error.empty()) {
                return Fail(lineNumber, error);
            }
        }
        return Finish(lineNumber);
    }

private:
    ChartFileResult Fail(int lineNumber, const std::string& clause) const {
        ChartFileResult result;
        result.error = OneLineMessage(std::string(fileName_) + ", line " +
                                      std::to_string(lineNumber) + ": " + clause + ".");
        return result;
    }

    std::string ReadLine(std::string_view line, int lineNumber) {
        const std::size_t colon = line.find(':');
        const std::string_view key = Trim(line.substr(0, colon));
        const std::optional<Field> field = FieldOfKey(key);
        // Which field a damaged line belongs to, when its key is still readable.
        const std::string what = lineNumber == 1
                                     ? "format version line"
                                     : (field ? "field \"" + std::string(key) + "\"" : "line");
        if (!IsValidUtf8(line)) {
            return "the " + what + " is not valid UTF-8 text";
        }
        for (const char c : line) {
            if (IsControl(c) && c != '\t') {
                return "the " + what + " holds a control character";
            }
        }
        if (lineNumber == 1) {
            return ReadVersion(Trim(line));
        }
        if (Trim(line).empty()) {
            return {};
        }
        if (colon == std::string_view::npos) {
            return "the line \"" + ShownInMessage(Trim(line)) +
                   "\" is not written as \"field: value\"";
        }
        if (!field) {
            return "unknown field \"" + ShownInMessage(key) + "\"";
        }
        const auto index = static_cast<std::size_t>(*field);
        if (seenOnLine_[index] != 0) {
            return "the field \"" + std::string(key) + "\" appears a second time (first on line " +
                   std::to_string(seenOnLine_[index]) + ")";
        }
        seenOnLine_[index] = lineNumber;
        return ReadValue(*field, Trim(line.substr(colon + 1)));
    }

    static std::string ReadVersion(std::string_view line) {
        constexpr std::string_view kPrefix = "tolvaris-chart ";
        if (line == kChartFileVersionLine) {
            return {};
        }
        if (line.substr(0, kPrefix.size()) == kPrefix) {
            return "the format version \"" + ShownInMessage(line.substr(kPrefix.size())) +
                   "\" is not one this program reads (it reads " +
                   std::string(kChartFileVersionLine.substr(kPrefix.size())) + ")";
        }
        return "the format version line should be \"" + std::string(kChartFileVersionLine) +
               "\" but is \"" + ShownInMessage(line) + "\": this is not a chart file";
    }

    std::string ReadValue(Field field, std::string_view value) {
        const Status read = ReadBirthField(field, value, birth_);
        return read ? std::string() : read.Failure().message;
    }

    ChartFileResult Finish(int lastLine) const {
        BirthFieldSet given;
        for (std::size_t i = 0; i < kFieldKeys.size(); ++i) {
            if (seenOnLine_[i] != 0) {
                given.Add(static_cast<Field>(i));
            }
        }
        if (const std::optional<Field> missing = MissingBirthField(given)) {
            return Fail(lastLine, *missing == Field::Zone
                                      ? std::string("the file ends without the field \"zone\" or "
                                                    "\"utc-offset\"")
                                      : "the file ends without the field \"" +
                                            std::string(KeyOf(*missing)) + "\"");
        }
        if (Seen(Field::Zone) && Seen(Field::UtcOffset)) {
            const int later = std::max(LineOf(Field::Zone), LineOf(Field::UtcOffset));
            return Fail(later,
                        "the fields \"zone\" and \"utc-offset\" exclude each other; "
                        "keep one");
        }
        ChartFileResult result;
        result.value = birth_;
        return result;
    }

    int LineOf(Field field) const { return seenOnLine_[static_cast<std::size_t>(field)]; }
    bool Seen(Field field) const { return LineOf(field) != 0; }

    std::string_view fileName_;
    BirthData birth_;
    std::array<int, kFieldKeys.size()> seenOnLine_{};
};

}  // namespace

std::string FormatChartFile(const BirthData& birth) {
    std::string text(kChartFileVersionLine);
    text += '\n';
    const auto add = [&text](Field field, std::string_view value) {
        text += KeyOf(field);
        text += value.empty() ? ":" : ": ";
        text += value;
        text += '\n';
    };
    add(Field::Name, OneLine(birth.name));
    add(Field::Date, FormatIsoDate(birth.date));
    add(Field::Time, birth.time ? FormatIsoTime(*birth.time) : "unknown");
    add(Field::Place, OneLine(birth.placeName));
    add(Field::Latitude, FormatFixedDecimal(birth.latitude, kCoordinateDecimals));
    add(Field::Longitude, FormatFixedDecimal(birth.longitude, kCoordinateDecimals));
    if (birth.utcOffsetSeconds) {
        add(Field::UtcOffset, FormatUtcOffset(*birth.utcOffsetSeconds));
    } else {
        add(Field::Zone, OneLine(birth.zone));
    }
    if (birth.fold != FoldChoice::None) {
        add(Field::Fold, FoldKey(birth.fold));
    }
    add(Field::Houses, HouseSystemKey(birth.houseSystem));
    add(Field::Orbs, FormatOrbs(birth.orbs));
    return text;
}

ChartFileResult ParseChartFile(std::string_view text, std::string_view fileName) {
    return ChartFileParser(fileName).Parse(text);
}

ChartFileResult ReadChartFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    ChartFileResult result;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        result.error =
            name + ": " +
            (status.type() == std::filesystem::file_type::not_found ? std::string("no such file")
                                                                    : error.message()) +
            ".";
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.error = name + ": not an ordinary file, so not a chart file.";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = name + ": the file cannot be opened for reading.";
        return result;
    }
    // One byte past the limit is enough to know the file is too long, even
    // when it grows while we read.
    std::string text(kMaxChartFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        result.error = name + ": the file could not be read.";
        return result;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxChartFileBytes) {
        result.error = name + ": the file is larger than " +
                       std::to_string(kMaxChartFileBytes / 1024) +
                       " KiB, too large for a chart file.";
        return result;
    }
    return ParseChartFile(text, name);
}

std::string WriteChartFile(const std::filesystem::path& path, const BirthData& birth,
                           AtomicFileWriter& writer) {
    const std::string text = FormatChartFile(birth);
    return writer.Write(path, [&text](const AtomicFileWriter::Sink& sink) { sink(text); });
}

}  // namespace tolvaris
