#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_data.h"

namespace tolvaris {

// The files of other programs that charts are read from, and this
// program's own chart file (one record).
enum class RecordFormat { Aaf, Qck, Csv, ChartFile };

std::string_view RecordFormatName(RecordFormat format);

// One record of such a file: the birth it gives, or why it was refused.
struct ChartRecord {
    int line = 0;  // 1-based line the record starts on
    std::optional<BirthData> birth;
    // A clause for the user ("the latitude 95n00 is outside -90 to 90");
    // empty when the record was read.
    std::string error;
    // Remarks the file keeps beside the birth (AAF #COM lines).
    std::string note;
    // Other chunks of the record, kept as written (AAF #ZNAM and the like).
    std::vector<std::string> extraLines;
};

struct ChartRecordFile {
    std::optional<RecordFormat> format;  // empty when the content is none of them
    std::vector<ChartRecord> records;
    std::string error;  // set when the format is not recognised
};

// The file's bytes as UTF-8: kept when they are valid UTF-8 (a byte order
// mark dropped), else read as code page 1252.
std::string DecodeRecordText(std::string_view bytes);

// Splits UTF-8 text into lines at LF, CR LF or a lone CR.
std::vector<std::string_view> SplitRecordLines(std::string_view text);

// Which format the text is in, from its content alone.
std::optional<RecordFormat> DetectRecordFormat(std::string_view text);

// Readers of decoded text; each gives the records in file order.
std::vector<ChartRecord> ReadAafRecords(std::string_view text);
std::vector<ChartRecord> ReadQckRecords(std::string_view text);
std::vector<ChartRecord> ReadCsvRecords(std::string_view text);

// Decodes, recognises and reads a whole file's bytes.
ChartRecordFile ReadChartRecords(std::string_view bytes);

// One chart as AAF lines (#A93, #B93, then `note` as #COM and the extra
// lines), each ending in CR LF; what ReadAafRecords reads back to the same
// chart. An empty string with `error` set when the birth's moment cannot be
// had (an unknown zone).
struct AafText {
    std::string text;
    std::string error;
};
AafText FormatAafRecord(const BirthData& birth, std::string_view note,
                        const std::vector<std::string>& extraLines);

// The heading comment an exported AAF file starts with.
std::string AafFileHeading();

}  // namespace tolvaris
