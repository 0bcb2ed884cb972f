#include "ui/collection/charts_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/chart_window/birth_data_dialog.h"

namespace tolvaris {
namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

const std::string& Field(const ChartListing& listing, int column) {
    switch (column) {
        case ChartListModel::BirthDate:
            return listing.birthDate;
        case ChartListModel::Place:
            return listing.place;
        case ChartListModel::Tags:
            return listing.tags;
        default:
            return listing.name;
    }
}

// Tags as the user types them: comma-separated, blanks around each dropped,
// empty ones and repeats left out.
std::vector<std::string> ParseTags(const QString& text) {
    std::vector<std::string> tags;
    for (const QString& part : text.split(',')) {
        const std::string tag = part.trimmed().toStdString();
        if (!tag.empty() && std::find(tags.begin(), tags.end(), tag) == tags.end()) {
            tags.push_back(tag);
        }
    }
    return tags;
}

}  // namespace

void ChartListModel::SetListings(std::vector<ChartListing> listings) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(listings.size());
    for (std::size_t rank = 0; rank < listings.size(); ++rank) {
        rows_.push_back({std::move(listings[rank]), rank});
    }
    SortRows();
    endResetModel();
}

int ChartListModel::RowOf(std::int64_t id) const {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].listing.id == id) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int ChartListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ChartListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ChartListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) {
        return {};
    }
    return Text(Field(At(index.row()), index.column()));
}

QVariant ChartListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
        case Name:
            return tr("Name");
        case BirthDate:
            return tr("Born");
        case Place:
            return tr("Place");
        case Tags:
            return tr("Tags");
        default:
            return {};
    }
}

void ChartListModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged();
    sortColumn_ = column;
    sortOrder_ = order;
    SortRows();
    emit layoutChanged();
}

void ChartListModel::SortRows() {
    // Ties, and the name column itself, keep the collection's name order,
    // which already disregards letter case and accents; a descending sort
    // turns the column round, not the ties.
    const int column = sortColumn_;
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    std::stable_sort(rows_.begin(), rows_.end(), [column, descending](const Row& a, const Row& b) {
        if (column != Name) {
            const int compared = Field(a.listing, column).compare(Field(b.listing, column));
            if (compared != 0) {
                return descending ? compared > 0 : compared < 0;
            }
            return a.byName < b.byName;
        }
        return descending ? a.byName > b.byName : a.byName < b.byName;
    });
}

ChartsWindow::ChartsWindow(ChartsWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services) {
    setObjectName("ChartsWindow");
    setWindowTitle(tr("Charts"));

    search_ = new QLineEdit(this);
    search_->setObjectName("search");
    search_->setClearButtonEnabled(true);
    search_->setPlaceholderText(tr("name, place, tag or year"));
    auto* searchLabel = new QLabel(tr("&Find:"), this);
    searchLabel->setBuddy(search_);

    model_ = new ChartListModel(this);
    list_ = new QTableView(this);
    list_->setObjectName("list");
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    // Rows of one height, so a long list lays out without measuring each.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    list_->horizontalHeader()->setStretchLastSection(true);
    // Room for a date in full and for the usual name and place; the tags
    // take the rest.
    const QFontMetrics metrics = list_->fontMetrics();
    const int character = metrics.averageCharWidth();
    list_->setColumnWidth(ChartListModel::Name, character * 30);
    // The heading leaves room for the sort arrow.
    const QString born =
        model_->headerData(ChartListModel::BirthDate, Qt::Horizontal, Qt::DisplayRole).toString();
    list_->setColumnWidth(ChartListModel::BirthDate,
                          std::max(metrics.horizontalAdvance("0000-00-00"),
                                   metrics.horizontalAdvance(born) + character * 3) +
                              character * 3);
    list_->setColumnWidth(ChartListModel::Place, character * 30);
    list_->setSortingEnabled(true);
    list_->sortByColumn(ChartListModel::Name, Qt::AscendingOrder);
    setFocusProxy(search_);

    count_ = new QLabel(this);
    count_->setObjectName("count");

    auto* open = new QPushButton(tr("&Open"), this);
    open->setObjectName("open");
    auto* edit = new QPushButton(tr("&Edit birth data..."), this);
    edit->setObjectName("edit");
    auto* tags = new QPushButton(tr("&Tags..."), this);
    tags->setObjectName("tags");
    auto* note = new QPushButton(tr("N&ote..."), this);
    note->setObjectName("note");
    auto* remove = new QPushButton(tr("&Delete"), this);
    remove->setObjectName("delete");
    remove->setToolTip(tr("Takes the chart out of the collection; Ctrl+Z brings it back"));
    connect(open, &QPushButton::clicked, this, &ChartsWindow::OpenSelected);
    connect(edit, &QPushButton::clicked, this, &ChartsWindow::EditSelected);
    connect(tags, &QPushButton::clicked, this, &ChartsWindow::EditTags);
    connect(note, &QPushButton::clicked, this, &ChartsWindow::EditNote);
    connect(remove, &QPushButton::clicked, this, &ChartsWindow::DeleteSelected);
    connect(list_, &QTableView::doubleClicked, this, &ChartsWindow::OpenSelected);
    connect(search_, &QLineEdit::textChanged, this, &ChartsWindow::Refresh);
    // Enter in the search field opens the first chart found, or the chosen
    // one; arrow keys move through the list without leaving the field.
    connect(search_, &QLineEdit::returnPressed, this, &ChartsWindow::OpenSelected);

    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), list_);
    enter->setContext(Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, &ChartsWindow::OpenSelected);
    auto* keypadEnter = new QShortcut(QKeySequence(Qt::Key_Enter), list_);
    keypadEnter->setContext(Qt::WidgetShortcut);
    connect(keypadEnter, &QShortcut::activated, this, &ChartsWindow::OpenSelected);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, list_);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &ChartsWindow::DeleteSelected);
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::WindowShortcut);
    connect(undo, &QShortcut::activated, this, &ChartsWindow::UndoDelete);

    auto* top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(search_, 1);
    top->addWidget(count_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {open, edit, tags, note, remove}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(character * 110, list_->verticalHeader()->defaultSectionSize() * 28);

    Refresh();
}

void ChartsWindow::Refresh() {
    const std::optional<std::int64_t> chosen =
        list_->currentIndex().isValid()
            ? std::optional<std::int64_t>(model_->At(list_->currentIndex().row()).id)
            : std::nullopt;
    ChartCollection& collection = *services_.collection;
    const QString text = search_->text().trimmed();
    model_->SetListings(text.isEmpty() ? collection.List()
                                       : collection.Search(text.toStdString(), collection.Count()));
    if (chosen && model_->RowOf(*chosen) >= 0) {
        Select(*chosen);
    } else if (model_->rowCount() > 0) {
        list_->setCurrentIndex(model_->index(0, 0));
    }
    UpdateCount();
}

void ChartsWindow::UpdateCount() {
    const int shown = model_->rowCount();
    const auto all = static_cast<int>(services_.collection->Count());
    const QLocale locale;
    if (shown == all) {
        count_->setText(all == 1 ? tr("1 chart") : tr("%1 charts").arg(locale.toString(all)));
    } else {
        count_->setText(tr("%1 of %2").arg(locale.toString(shown), locale.toString(all)));
    }
}

void ChartsWindow::Select(std::int64_t id) {
    const int row = model_->RowOf(id);
    if (row >= 0) {
        list_->setCurrentIndex(model_->index(row, 0));
        list_->scrollTo(model_->index(row, 0));
    }
}

std::optional<StoredChart> ChartsWindow::Selected() {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) {
        return std::nullopt;
    }
    Result<std::optional<StoredChart>> got =
        services_.collection->Get(model_->At(current.row()).id);
    if (!got.Ok()) {
        Report(got.Failure(), tr("The chart could not be read"));
        return std::nullopt;
    }
    if (!got.Value()) {
        // Another process took it away: show what is there now.
        Refresh();
    }
    return got.Value();
}

void ChartsWindow::Report(const Status& status, const QString& what) {
    if (status.Ok()) {
        return;
    }
    services_.notices->Message(
        QString("%1: %2.").arg(what, Text(status.Failure().message)).toStdString(),
        tr("Charts").toStdString(), NoticeIcon::Critical);
}

void ChartsWindow::OpenSelected() {
    if (std::optional<StoredChart> chart = Selected()) {
        emit openRequested(*chart);
    }
}

BirthDataDialog& ChartsWindow::EditDialog() {
    if (!editDialog_) {
        editDialog_ =
            new BirthDataDialog(*services_.atlas, *services_.ephemeris, *services_.notices, this);
        editDialog_->setObjectName("editBirthData");
        connect(editDialog_, &QDialog::accepted, this, [this] {
            if (!editing_ || !editDialog_->Chart()) {
                return;
            }
            editing_->birth = editDialog_->Chart()->input;
            Report(services_.collection->Update(*editing_), tr("The change could not be saved"));
            Refresh();
            Select(editing_->id);
            editing_.reset();
        });
    }
    return *editDialog_;
}

void ChartsWindow::EditSelected() {
    editing_ = Selected();
    if (!editing_) {
        return;
    }
    BirthDataDialog& dialog = EditDialog();
    dialog.SetBirthData(editing_->birth);
    dialog.open();
}

void ChartsWindow::DeleteSelected() {
    const QModelIndex current = list_->currentIndex();
    std::optional<StoredChart> chart = Selected();
    if (!chart) {
        return;
    }
    const Status removed = services_.collection->Remove(chart->id);
    Report(removed, tr("The chart could not be deleted"));
    if (removed.Ok()) {
        removed_.push_back(std::move(*chart));
    }
    Refresh();
    // The row below takes the deleted one's place, as in a file manager.
    if (model_->rowCount() > 0) {
        list_->setCurrentIndex(model_->index(std::min(current.row(), model_->rowCount() - 1), 0));
    }
}

void ChartsWindow::UndoDelete() {
    if (removed_.empty()) {
        return;
    }
    StoredChart chart = removed_.back();
    chart.id = 0;
    const Result<std::int64_t> added = services_.collection->Add(chart);
    if (!added.Ok()) {
        Report(added.Failure(), tr("The deleted chart could not be brought back"));
        return;
    }
    removed_.pop_back();
    Refresh();
    Select(added.Value());
}

void ChartsWindow::EditTags() {
    std::optional<StoredChart> chart = Selected();
    if (!chart) {
        return;
    }
    QStringList current;
    for (const std::string& tag : chart->tags) {
        current << Text(tag);
    }
    bool ok = false;
    const QString text = QInputDialog::getText(
        this, tr("Tags"), tr("Tags of %1, separated by commas:").arg(Text(chart->birth.name)),
        QLineEdit::Normal, current.join(", "), &ok);
    if (!ok) {
        return;
    }
    chart->tags = ParseTags(text);
    Report(services_.collection->Update(*chart), tr("The change could not be saved"));
    Refresh();
}

void ChartsWindow::EditNote() {
    std::optional<StoredChart> chart = Selected();
    if (!chart) {
        return;
    }
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(
        this, tr("Note"), tr("Note on %1:").arg(Text(chart->birth.name)), Text(chart->note), &ok);
    if (!ok) {
        return;
    }
    chart->note = text.toStdString();
    Report(services_.collection->Update(*chart), tr("The change could not be saved"));
}

}  // namespace tolvaris
