#include "core/collection/collection_import.h"

#include "core/common/atomic_file.h"

namespace tolvaris {

ImportSummary ImportChartRecords(ChartCollection& collection,
                                 const std::vector<ChartRecord>& records,
                                 std::size_t batchRecords) {
    ImportSummary summary;
    std::vector<StoredChart> batch;
    std::size_t inBatch = 0;
    const auto commit = [&] {
        if (inBatch == 0) {
            return true;
        }
        Result<std::size_t> added = collection.AddNew(batch);
        if (!added) {
            summary.error = added.Failure().message;
            return false;
        }
        summary.added += *added;
        summary.alreadyThere += batch.size() - *added;
        batch.clear();
        inBatch = 0;
        return true;
    };
    for (const ChartRecord& record : records) {
        if (!record.birth) {
            summary.refusals.push_back("line " + std::to_string(record.line) + ": " + record.error);
            continue;
        }
        StoredChart chart;
        chart.birth = *record.birth;
        chart.note = record.note;
        chart.extraLines = record.extraLines;
        batch.push_back(std::move(chart));
        if (++inBatch >= batchRecords && !commit()) {
            return summary;
        }
    }
    commit();
    return summary;
}

ExportSummary ExportCollectionAaf(ChartCollection& collection, const std::string& tag,
                                  const std::filesystem::path& path) {
    ExportSummary summary;
    const std::vector<ChartListing> listed =
        tag.empty() ? collection.List() : collection.WithTag(tag);
    std::string text = AafFileHeading();
    for (const ChartListing& listing : listed) {
        Result<std::optional<StoredChart>> chart = collection.Get(listing.id);
        if (!chart) {
            summary.error = chart.Failure().message;
            return summary;
        }
        if (!chart->has_value()) {
            continue;  // removed by another process meanwhile
        }
        const StoredChart& stored = **chart;
        AafText record = FormatAafRecord(stored.birth, stored.note, stored.extraLines);
        if (!record.error.empty()) {
            summary.error = "the chart of " + stored.birth.name + ": " + record.error;
            return summary;
        }
        text += record.text;
        ++summary.written;
    }
    AtomicFileWriter writer;
    summary.error = writer.Write(path, [&text](const AtomicFileWriter::Sink& sink) { sink(text); });
    return summary;
}

}  // namespace tolvaris
