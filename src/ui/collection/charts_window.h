#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/collection/chart_collection.h"
#include "core/engine/screen.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace tolvaris {

class BirthDataDialog;
class Ephemeris;
class LazyAtlas;

// The collection's listings as a table: name, birth date, place, tags. It
// holds only the listings the search gave, so 50,000 charts cost one vector
// and no widget per row.
class ChartListModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartListModel)

public:
    enum Column { Name, BirthDate, Place, Tags, ColumnCount };

    explicit ChartListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The listings in the collection's order (by name); the column sorted
    // by last is applied again.
    void SetListings(std::vector<ChartListing> listings);
    const ChartListing& At(int row) const {
        return rows_.at(static_cast<std::size_t>(row)).listing;
    }
    int RowOf(std::int64_t id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    void SortRows();

    // Each listing with its place in the collection's name order, which is
    // the name column's order (case and accents already disregarded).
    struct Row {
        ChartListing listing;
        std::size_t byName = 0;
    };
    std::vector<Row> rows_;
    int sortColumn_ = Name;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// What the Charts window needs to edit birth data as the New chart dialog
// does.
struct ChartsWindowServices {
    ChartCollection* collection = nullptr;
    LazyAtlas* atlas = nullptr;
    Ephemeris* ephemeris = nullptr;
    Notices* notices = nullptr;
};

// The Charts window: the collection's list, a search field that filters as
// the user types, sorting by any column, and open, edit, delete (undone with
// Ctrl+Z for as long as the program runs), tags and note.
class ChartsWindow : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartsWindow)

public:
    ChartsWindow(ChartsWindowServices services, QWidget* parent = nullptr);

    // Reads the list again, filtered by the search field.
    void Refresh();
    void OpenSelected();
    void EditSelected();
    void DeleteSelected();
    void UndoDelete();
    void EditTags();
    void EditNote();
    bool CanUndo() const { return !removed_.empty(); }

    QLineEdit* SearchField() const { return search_; }
    QTableView* List() const { return list_; }
    ChartListModel* Model() const { return model_; }
    // Selects the row of the chart with `id`, if the list shows it.
    void Select(std::int64_t id);

signals:
    // The user asked to open a chart of the collection.
    void openRequested(const tolvaris::StoredChart& chart);

private:
    std::optional<StoredChart> Selected();
    void Report(const Status& status, const QString& what);
    BirthDataDialog& EditDialog();
    void UpdateCount();

    ChartsWindowServices services_;
    ChartListModel* model_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTableView* list_ = nullptr;
    QLabel* count_ = nullptr;
    BirthDataDialog* editDialog_ = nullptr;
    std::optional<StoredChart> editing_;
    // The charts deleted this session, the last one last.
    std::vector<StoredChart> removed_;
};

}  // namespace tolvaris
