#include <array>

#include "core/chart/birth_fields.h"
#include "core/chart/message_text.h"
#include "core/interchange/chart_records.h"
#include "core/interchange/record_fields.h"

namespace tolvaris {
namespace {

using record_fields::Trim;

// The header's column names and the field each fills.
constexpr std::array<std::pair<std::string_view, BirthField>, 8> kColumns = {{
    {"name", BirthField::Name},
    {"date", BirthField::Date},
    {"time", BirthField::Time},
    {"place", BirthField::Place},
    {"latitude", BirthField::Latitude},
    {"longitude", BirthField::Longitude},
    {"zone", BirthField::Zone},
    {"utc_offset", BirthField::UtcOffset},
}};

struct Row {
    int line = 0;
    std::vector<std::string> cells;
};

// RFC 4180: commas separate cells, double quotes enclose a cell that holds
// commas, quotes ("" for one) or line ends.
class CsvScanner {
public:
    explicit CsvScanner(std::string_view text) : text_(text) {}

    bool Next(Row& row) {
        row = Row{};
        while (pos_ < text_.size() && (text_[pos_] == '\n' || text_[pos_] == '\r')) {
            LineEnd();
        }
        if (pos_ >= text_.size()) {
            return false;
        }
        row.line = line_;
        std::string cell;
        bool quoted = false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (quoted) {
                if (c == '"' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    cell += '"';
                    pos_ += 2;
                } else if (c == '"') {
                    quoted = false;
                    ++pos_;
                } else if (c == '\n' || c == '\r') {
                    // A birth field is one line: a quoted line end is a space.
                    cell += ' ';
                    LineEnd();
                } else {
                    cell += c;
                    ++pos_;
                }
            } else if (c == '"') {
                quoted = true;
                ++pos_;
            } else if (c == ',') {
                row.cells.push_back(std::move(cell));
                cell.clear();
                ++pos_;
            } else if (c == '\n' || c == '\r') {
                LineEnd();
                break;
            } else {
                cell += c;
                ++pos_;
            }
        }
        row.cells.push_back(std::move(cell));
        return true;
    }

private:
    void LineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
            ++pos_;
        }
        ++pos_;
        ++line_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

Status ReadRow(const Row& row, const std::vector<std::optional<BirthField>>& columns,
               BirthData& birth) {
    BirthFieldSet given;
    for (std::size_t i = 0; i < columns.size() && i < row.cells.size(); ++i) {
        const std::string_view value = Trim(row.cells[i]);
        if (!columns[i] || value.empty()) {
            continue;
        }
        if (Status read = ReadBirthField(*columns[i], value, birth); !read) {
            return read;
        }
        given.Add(*columns[i]);
    }
    if (!given.Has(BirthField::Time)) {
        // An empty time cell is an unknown time, as "unknown" would be.
        given.Add(BirthField::Time);
    }
    if (given.Has(BirthField::UtcOffset)) {
        birth.zone.clear();
    }
    if (const std::optional<BirthField> missing = MissingBirthField(given)) {
        std::string_view column;
        for (const auto& [name, field] : kColumns) {
            column = field == *missing ? name : column;
        }
        return InputError(*missing, "the " + std::string(column) +
                                        (*missing == BirthField::Zone ? " or utc_offset" : "") +
                                        " is empty");
    }
    return Done();
}

}  // namespace

std::vector<ChartRecord> ReadCsvRecords(std::string_view text) {
    std::vector<ChartRecord> records;
    CsvScanner scanner(text);
    Row header;
    if (!scanner.Next(header)) {
        return records;
    }
    std::vector<std::optional<BirthField>> columns;
    for (const std::string& cell : header.cells) {
        std::optional<BirthField> field;
        for (const auto& [name, column] : kColumns) {
            if (Trim(cell) == name) {
                field = column;
            }
        }
        columns.push_back(field);
    }
    Row row;
    while (scanner.Next(row)) {
        ChartRecord record;
        record.line = row.line;
        BirthData birth;
        if (Status read = ReadRow(row, columns, birth); read) {
            record.birth = std::move(birth);
        } else {
            record.error = read.Failure().message;
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace tolvaris
