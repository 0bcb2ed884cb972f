#include "core/collection/sqlite_collection.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/atlas/accent_fold.h"
#include "core/chart/chart_file.h"
#include "core/collection/chart_search.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

// Each step brings the schema from its index to the next version.
constexpr std::array<std::string_view, kCollectionSchemaVersion> kMigrations = {
    R"sql(
CREATE TABLE charts (
    id INTEGER PRIMARY KEY,
    identity TEXT NOT NULL UNIQUE,
    name TEXT NOT NULL,
    birth_date TEXT NOT NULL,
    place TEXT NOT NULL,
    chart TEXT NOT NULL,
    tags TEXT NOT NULL DEFAULT '',
    note TEXT NOT NULL DEFAULT '',
    extra TEXT NOT NULL DEFAULT '',
    added INTEGER NOT NULL,
    changed INTEGER NOT NULL
);
)sql"};

constexpr std::string_view kColumns =
    "id, name, birth_date, place, tags, chart, note, extra, added, changed";

std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : std::string(separator)) + part;
    }
    return text;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A tag is one trimmed line without commas, so a list can show them joined.
std::vector<std::string> CleanTags(const std::vector<std::string>& tags) {
    std::vector<std::string> clean;
    for (std::string tag : tags) {
        std::replace_if(
            tag.begin(), tag.end(), [](char c) { return c == ',' || c == '\n' || c == '\r'; }, ' ');
        const std::size_t first = tag.find_first_not_of(' ');
        if (first == std::string::npos) {
            continue;
        }
        tag = tag.substr(first, tag.find_last_not_of(' ') - first + 1);
        if (std::find(clean.begin(), clean.end(), tag) == clean.end()) {
            clean.push_back(tag);
        }
    }
    return clean;
}

std::string Text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text == nullptr ? std::string() : std::string(text);
}

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql) {
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return statement_ != nullptr; }
    sqlite3_stmt* Get() const { return statement_; }
    void Bind(int index, std::string_view text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    void Bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }
    int Step() { return sqlite3_step(statement_); }
    void Reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

private:
    sqlite3_stmt* statement_ = nullptr;
};

class SqliteCollection : public ChartCollection {
public:
    SqliteCollection(sqlite3* db, std::filesystem::path path) : db_(db), path_(std::move(path)) {}
    ~SqliteCollection() override { sqlite3_close_v2(db_); }
    SqliteCollection(const SqliteCollection&) = delete;
    SqliteCollection& operator=(const SqliteCollection&) = delete;

    std::string LoadIndex() {
        search_.Clear();
        // Read before the rows: a commit in between makes one more reading.
        dataVersion_ = DataVersion();
        Statement select(db_, "SELECT id, name, birth_date, place, tags FROM charts");
        if (!select.Ok()) {
            return Problem("could not be read");
        }
        int step = SQLITE_ROW;
        while ((step = select.Step()) == SQLITE_ROW) {
            search_.Put(ListingOf(select.Get()));
        }
        if (step != SQLITE_DONE) {
            return Problem("could not be read");
        }
        search_.Sort();
        return {};
    }

    Result<std::int64_t> Add(const StoredChart& chart) override {
        std::vector<StoredChart> one{chart};
        Result<std::size_t> added = AddNew(one);
        if (!added) {
            return added.Failure();
        }
        if (*added == 0) {
            return Error{ErrorKind::Input, std::nullopt, "the collection already holds this chart"};
        }
        return lastAdded_;
    }

    Result<std::size_t> AddNew(const std::vector<StoredChart>& charts) override {
        Refresh();
        if (!Execute("BEGIN IMMEDIATE")) {
            return Failure("could not be written");
        }
        Statement insert(
            db_,
            "INSERT OR IGNORE INTO charts (identity, name, birth_date, place, chart, "
            "tags, note, extra, added, changed) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        std::vector<ChartListing> added;
        const std::int64_t now = std::time(nullptr);
        for (const StoredChart& chart : charts) {
            if (!insert.Ok()) {
                break;
            }
            const std::vector<std::string> tags = CleanTags(chart.tags);
            insert.Bind(1, ChartIdentity(chart.birth));
            BindRow(insert, chart, tags, 2);
            insert.Bind(9, chart.added != 0 ? chart.added : now);
            insert.Bind(10, chart.changed != 0 ? chart.changed : now);
            if (insert.Step() != SQLITE_DONE) {
                return Abandon("could not be written");
            }
            if (sqlite3_changes(db_) == 1) {
                lastAdded_ = sqlite3_last_insert_rowid(db_);
                added.push_back(Listing(lastAdded_, chart.birth, tags));
            }
            insert.Reset();
        }
        if (!insert.Ok()) {
            return Abandon("could not be written");
        }
        if (!Execute("COMMIT")) {
            return Abandon("could not be written");
        }
        for (ChartListing& listing : added) {
            search_.Put(std::move(listing));
        }
        return added.size();
    }

    Status Update(const StoredChart& chart) override {
        Refresh();
        const std::vector<std::string> tags = CleanTags(chart.tags);
        Statement update(db_,
                         "UPDATE charts SET name = ?, birth_date = ?, place = ?, chart = ?, "
                         "tags = ?, note = ?, extra = ?, identity = ?, changed = ? WHERE id = ?");
        if (!update.Ok()) {
            return Failure("could not be written");
        }
        BindRow(update, chart, tags, 1);
        update.Bind(8, ChartIdentity(chart.birth));
        update.Bind(9, static_cast<std::int64_t>(std::time(nullptr)));
        update.Bind(10, chart.id);
        const int step = update.Step();
        if (step == SQLITE_CONSTRAINT) {
            return Error{ErrorKind::Input, std::nullopt,
                         "the collection already holds a chart of this birth"};
        }
        if (step != SQLITE_DONE) {
            return Failure("could not be written");
        }
        if (sqlite3_changes(db_) == 1) {
            search_.Put(Listing(chart.id, chart.birth, tags));
        }
        return Done();
    }

    Status Remove(std::int64_t id) override {
        Refresh();
        Statement remove(db_, "DELETE FROM charts WHERE id = ?");
        remove.Bind(1, id);
        if (!remove.Ok() || remove.Step() != SQLITE_DONE) {
            return Failure("could not be written");
        }
        search_.Erase(id);
        return Done();
    }

    Result<std::optional<StoredChart>> Get(std::int64_t id) override {
        Statement select(db_, "SELECT " + std::string(kColumns) + " FROM charts WHERE id = ?");
        select.Bind(1, id);
        const int step = select.Ok() ? select.Step() : SQLITE_ERROR;
        if (step == SQLITE_DONE) {
            return std::optional<StoredChart>();
        }
        if (step != SQLITE_ROW) {
            return Failure("could not be read");
        }
        sqlite3_stmt* row = select.Get();
        ChartFileResult birth = ParseChartFile(Text(row, 5), path_.string());
        if (!birth.value) {
            return Error{ErrorKind::File, std::nullopt,
                         "the chart collection " + path_.string() +
                             " holds a damaged chart: " + birth.error};
        }
        StoredChart chart;
        chart.id = sqlite3_column_int64(row, 0);
        chart.birth = std::move(*birth.value);
        chart.tags = SplitLines(Text(row, 4));
        chart.note = Text(row, 6);
        chart.extraLines = SplitLines(Text(row, 7));
        chart.added = sqlite3_column_int64(row, 8);
        chart.changed = sqlite3_column_int64(row, 9);
        return std::optional<StoredChart>(std::move(chart));
    }

    std::vector<ChartListing> List() override {
        Refresh();
        return search_.Find("", search_.Size());
    }
    std::vector<ChartListing> Search(std::string_view text, std::size_t limit) override {
        Refresh();
        return search_.Find(text, limit);
    }
    std::vector<ChartListing> WithTag(std::string_view tag) override {
        Refresh();
        return search_.WithTag(tag);
    }
    std::vector<std::string> Tags() override {
        Refresh();
        return search_.Tags();
    }
    std::size_t Count() override {
        Refresh();
        return search_.Size();
    }

private:
    static ChartListing ListingOf(sqlite3_stmt* row) {
        ChartListing listing;
        listing.id = sqlite3_column_int64(row, 0);
        listing.name = Text(row, 1);
        listing.birthDate = Text(row, 2);
        listing.place = Text(row, 3);
        listing.tags = Joined(SplitLines(Text(row, 4)), ", ");
        return listing;
    }

    static ChartListing Listing(std::int64_t id, const BirthData& birth,
                                const std::vector<std::string>& tags) {
        return {id, birth.name, FormatIsoDate(birth.date), birth.placeName, Joined(tags, ", ")};
    }

    // Binds name, birth date, place, chart, tags, note and extra lines from
    // `first` on.
    static void BindRow(Statement& statement, const StoredChart& chart,
                        const std::vector<std::string>& tags, int first) {
        statement.Bind(first, chart.birth.name);
        statement.Bind(first + 1, FormatIsoDate(chart.birth.date));
        statement.Bind(first + 2, chart.birth.placeName);
        statement.Bind(first + 3, FormatChartFile(chart.birth));
        statement.Bind(first + 4, Joined(tags, "\n"));
        statement.Bind(first + 5, chart.note);
        statement.Bind(first + 6, Joined(chart.extraLines, "\n"));
    }

    bool Execute(const char* sql) {
        return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    std::int64_t DataVersion() {
        Statement version(db_, "PRAGMA data_version");
        return version.Ok() && version.Step() == SQLITE_ROW ? sqlite3_column_int64(version.Get(), 0)
                                                            : -1;
    }

    // Another process's commit shows as a new data version (this
    // connection's own commits leave it alone): read the list again so
    // searches see its charts.
    void Refresh() {
        if (DataVersion() != dataVersion_) {
            LoadIndex();
        }
    }

    std::string Problem(std::string_view what) const {
        return "the chart collection " + path_.string() + " " + std::string(what) + ": " +
               sqlite3_errmsg(db_);
    }
    Error Failure(std::string_view what) const {
        return Error{ErrorKind::File, std::nullopt, Problem(what)};
    }
    Error Abandon(std::string_view what) {
        Error error = Failure(what);
        Execute("ROLLBACK");
        return error;
    }

    sqlite3* db_;
    std::filesystem::path path_;
    ChartSearch search_;
    std::int64_t dataVersion_ = -1;
    std::int64_t lastAdded_ = 0;
};

std::string Refusal(const std::filesystem::path& path, sqlite3* db, std::string_view what) {
    return "the chart collection " + path.string() + " " + std::string(what) +
           (db != nullptr ? std::string(" (") + sqlite3_errmsg(db) + ")" : std::string()) +
           "; it was left as it is";
}

bool Run(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<int> SchemaVersion(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    std::optional<int> version;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        version = sqlite3_column_int(statement, 0);
    }
    sqlite3_finalize(statement);
    return version;
}

// Whether SQLite finds the file sound ("ok" from quick_check).
bool Sound(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    bool ok = false;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        ok = text != nullptr && std::string_view(text) == "ok";
    }
    sqlite3_finalize(statement);
    return ok;
}

// Brings the schema to this program's version inside one transaction, so
// two programs opening a new file at once migrate it once.
std::string Migrate(sqlite3* db, const std::filesystem::path& path) {
    if (!Run(db, "BEGIN IMMEDIATE")) {
        return Refusal(path, db, "could not be opened for writing");
    }
    const std::optional<int> version = SchemaVersion(db);
    if (!version) {
        Run(db, "ROLLBACK");
        return Refusal(path, db, "is damaged or not a chart collection");
    }
    for (int step = *version; step < kCollectionSchemaVersion; ++step) {
        if (!Run(db, std::string(kMigrations[static_cast<std::size_t>(step)])) ||
            !Run(db, "PRAGMA user_version = " + std::to_string(step + 1))) {
            std::string error = Refusal(path, db, "could not be brought up to date");
            Run(db, "ROLLBACK");
            return error;
        }
    }
    if (!Run(db, "COMMIT")) {
        std::string error = Refusal(path, db, "could not be brought up to date");
        Run(db, "ROLLBACK");
        return error;
    }
    return {};
}

}  // namespace

std::string ChartIdentity(const BirthData& birth) {
    return ChartSearch::Identity(birth);
}

std::filesystem::path DefaultCollectionPath() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::filesystem::path folder;
    if (dataHome != nullptr && std::filesystem::path(dataHome).is_absolute()) {
        folder = dataHome;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        folder = std::filesystem::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return folder / "tolvaris" / "charts.sqlite";
}

CollectionOpen OpenChartCollection(const std::filesystem::path& path,
                                   const CollectionOptions& options) {
    CollectionOpen open;
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) {
            open.error = "the folder of the chart collection " + path.string() +
                         " could not be made: " + ec.message();
            return open;
        }
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        open.error = Refusal(path, db, "could not be opened");
        sqlite3_close_v2(db);
        return open;
    }
    auto collection = std::make_unique<SqliteCollection>(db, path);
    sqlite3_busy_timeout(db, options.busyTimeoutMilliseconds);
    const std::optional<int> version = SchemaVersion(db);
    if (!version) {
        open.error = Refusal(path, db, "is damaged or not a chart collection");
        return open;
    }
    if (*version > kCollectionSchemaVersion) {
        open.error = Refusal(path, nullptr,
                             "was written by a newer Tolvaris (its schema is version " +
                                 std::to_string(*version) + ", this program knows up to " +
                                 std::to_string(kCollectionSchemaVersion) + ")");
        return open;
    }
    if (*version > 0 && !Sound(db)) {
        open.error = Refusal(path, db, "is damaged");
        return open;
    }
    if (!Run(db, "PRAGMA journal_mode = WAL") || !Run(db, "PRAGMA synchronous = NORMAL")) {
        open.error = Refusal(path, db, "could not be opened for writing");
        return open;
    }
    if (options.maxPageCount) {
        Run(db, "PRAGMA max_page_count = " + std::to_string(*options.maxPageCount));
    }
    if (std::string error = Migrate(db, path); !error.empty()) {
        open.error = std::move(error);
        return open;
    }
    if (std::string error = collection->LoadIndex(); !error.empty()) {
        open.error = std::move(error) + "; it was left as it is";
        return open;
    }
    open.value = std::move(collection);
    return open;
}

}  // namespace tolvaris
