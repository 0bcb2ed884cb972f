#include "core/interchange/chart_records.h"

#include "core/chart/chart_file.h"
#include "core/common/cp1252.h"
#include "core/common/utf8.h"

namespace tolvaris {

std::string_view RecordFormatName(RecordFormat format) {
    switch (format) {
        case RecordFormat::Aaf:
            return "AAF";
        case RecordFormat::Qck:
            return "Quick*Chart";
        case RecordFormat::Csv:
            return "CSV";
        case RecordFormat::ChartFile:
            return "chart file";
    }
    return "";
}

std::string DecodeRecordText(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (IsValidUtf8(bytes)) {
        if (bytes.starts_with(kByteOrderMark)) {
            bytes.remove_prefix(kByteOrderMark.size());
        }
        return std::string(bytes);
    }
    return Cp1252ToUtf8(bytes);
}

std::vector<std::string_view> SplitRecordLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

std::optional<RecordFormat> DetectRecordFormat(std::string_view text) {
    const std::vector<std::string_view> lines = SplitRecordLines(text);
    // AAF marks its records, whatever comes before the first.
    for (const std::string_view line : lines) {
        if (line.starts_with("#A93:")) {
            return RecordFormat::Aaf;
        }
    }
    for (const std::string_view line : lines) {
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            continue;
        }
        // A chart file and a CSV file name themselves on their first line;
        // Quick*Chart records are long fixed-width lines.
        if (line == kChartFileVersionLine) {
            return RecordFormat::ChartFile;
        }
        if (line.starts_with("#")) {
            return RecordFormat::Aaf;
        }
        if (line.starts_with("name,") || line.starts_with("\"name\",")) {
            return RecordFormat::Csv;
        }
        if (line.size() >= 69) {
            return RecordFormat::Qck;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

ChartRecordFile ReadChartRecords(std::string_view bytes) {
    ChartRecordFile file;
    const std::string text = DecodeRecordText(bytes);
    file.format = DetectRecordFormat(text);
    if (!file.format) {
        file.error =
            "the file is neither AAF (#A93: records), Quick*Chart (fixed-width lines), CSV "
            "(a header starting with \"name,\") nor a chart file";
        return file;
    }
    switch (*file.format) {
        case RecordFormat::Aaf:
            file.records = ReadAafRecords(text);
            break;
        case RecordFormat::Qck:
            file.records = ReadQckRecords(text);
            break;
        case RecordFormat::Csv:
            file.records = ReadCsvRecords(text);
            break;
        case RecordFormat::ChartFile: {
            ChartFileResult chart = ParseChartFile(text, "the chart file");
            ChartRecord& record = file.records.emplace_back();
            record.line = 1;
            record.birth = std::move(chart.value);
            record.error = std::move(chart.error);
            break;
        }
    }
    return file;
}

}  // namespace tolvaris
