#include "ui/chart_window/birth_data_dialog.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QStyle>
#include <QVBoxLayout>
#include <variant>

#include "core/chart/birth_chart.h"
#include "core/chart/birth_fields.h"
#include "core/chart/display_text.h"
#include "core/chart/lazy_atlas.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::size_t kPlacesListed = 12;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QLineEdit* AddLineEdit(QWidget* parent, const char* name, const QString& placeholder) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setPlaceholderText(placeholder);
    return edit;
}

}  // namespace

BirthDataDialog::BirthDataDialog(LazyAtlas& atlas, Ephemeris& ephemeris, Notices& notices,
                                 QWidget* parent)
    : QDialog(parent), atlas_(atlas), ephemeris_(ephemeris), notices_(notices) {
    setObjectName("BirthDataDialog");
    setWindowTitle(tr("Birth Data"));
    BuildFields();
    Clear();
}

void BirthDataDialog::BuildFields() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    name_ = AddLineEdit(this, "name", "");
    form->addRow(tr("&Name:"), name_);
    // The reader counts characters and says when a name is too long; the box
    // only keeps a paste of a whole page out (QLineEdit counts UTF-16 units,
    // two for some characters, hence twice the limit).
    name_->setMaxLength(static_cast<int>(2 * kMaxLabelCharacters));
    date_ = AddLineEdit(this, "date", tr("YYYY-MM-DD, for example 1990-03-25"));
    form->addRow(tr("&Date:"), date_);

    auto* timeRow = new QHBoxLayout;
    time_ = AddLineEdit(this, "time", tr("HH:MM, for example 14:05"));
    timeUnknown_ = new QCheckBox(tr("Time &unknown"), this);
    timeUnknown_->setObjectName("timeUnknown");
    timeRow->addWidget(time_, 1);
    timeRow->addWidget(timeUnknown_);
    auto* timeLabel = new QLabel(tr("&Time:"), this);
    timeLabel->setBuddy(time_);
    form->addRow(timeLabel, timeRow);
    connect(timeUnknown_, &QCheckBox::toggled, time_, &QWidget::setDisabled);

    place_ = AddLineEdit(this, "place", tr("Type a few letters of the town"));
    place_->setMaxLength(static_cast<int>(2 * kMaxLabelCharacters));
    placeModel_ = new QStringListModel(this);
    placeCompleter_ = new QCompleter(placeModel_, this);
    // The atlas has already chosen and ordered the matches.
    placeCompleter_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    placeCompleter_->setMaxVisibleItems(static_cast<int>(kPlacesListed));
    // Not the field's own completer: that one would match the typed letters
    // against the rows again after every key and make such a row current.
    placeCompleter_->setWidget(place_);
    form->addRow(tr("&Place:"), place_);
    atlasMessage_ = new QLabel(this);
    atlasMessage_->setObjectName("atlasMessage");
    atlasMessage_->setWordWrap(true);
    atlasMessage_->hide();
    form->addRow("", atlasMessage_);
    connect(place_, &QLineEdit::textEdited, this, &BirthDataDialog::SearchPlaces);
    connect(placeCompleter_, QOverload<const QModelIndex&>::of(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                const auto row = static_cast<std::size_t>(index.row());
                if (index.isValid() && row < matches_.size()) {
                    ChoosePlace(matches_[row]);
                }
            });

    latitude_ = AddLineEdit(this, "latitude", tr("for example 52.52, 52n31 or 52°31'N"));
    form->addRow(tr("L&atitude:"), latitude_);
    longitude_ = AddLineEdit(this, "longitude", tr("for example 13.405, 13e24 or 13°24'E"));
    form->addRow(tr("L&ongitude:"), longitude_);
    zone_ = AddLineEdit(this, "zone", tr("for example Europe/Berlin"));
    form->addRow(tr("&Zone:"), zone_);
    offset_ = AddLineEdit(this, "offset", tr("empty: from the zone; or +05:30, UT"));
    form->addRow(tr("UTC o&ffset:"), offset_);

    // Asked only when the clocks fell back over the birth time.
    foldRow_ = new QWidget(this);
    foldRow_->setObjectName("foldRow");
    auto* foldLayout = new QHBoxLayout(foldRow_);
    foldLayout->setContentsMargins(0, 0, 0, 0);
    foldQuestion_ = new QLabel(tr("Clocks fell back:"), this);
    foldQuestion_->setObjectName("foldQuestion");
    earlier_ = new QRadioButton(foldRow_);
    earlier_->setObjectName("earlier");
    later_ = new QRadioButton(foldRow_);
    later_->setObjectName("later");
    auto* foldGroup = new QButtonGroup(foldRow_);
    foldGroup->addButton(earlier_);
    foldGroup->addButton(later_);
    foldLayout->addWidget(earlier_);
    foldLayout->addWidget(later_);
    foldLayout->addStretch(1);
    foldRow_->hide();
    foldQuestion_->hide();
    form->addRow(foldQuestion_, foldRow_);

    houseSystem_ = new QComboBox(this);
    houseSystem_->setObjectName("houseSystem");
    for (const HouseSystemRow& row : kHouseSystems) {
        houseSystem_->addItem(Text(row.displayName));
    }
    form->addRow(tr("&House system:"), houseSystem_);

    // Orbs are rarely changed, so they stay folded away behind a button.
    orbsButton_ = new QPushButton(tr("O&rbs..."), this);
    orbsButton_->setObjectName("orbsButton");
    orbsButton_->setCheckable(true);
    orbsButton_->setAutoDefault(false);
    auto* orbsRow = new QHBoxLayout;
    orbsRow->addWidget(orbsButton_);
    orbsRow->addStretch(1);
    form->addRow("", orbsRow);
    orbsBox_ = new QWidget(this);
    orbsBox_->setObjectName("orbsBox");
    // Names above the boxes, all five in one band: a column each keeps the
    // dialog short enough for small screens at double scale.
    auto* orbsGrid = new QGridLayout(orbsBox_);
    orbsGrid->setContentsMargins(0, 0, 0, 0);
    for (std::size_t index = 0; index < orbs_.size(); ++index) {
        auto* spin = new QDoubleSpinBox(orbsBox_);
        spin->setObjectName("orb" + Text(kAspects[index].label));
        spin->setRange(0.0, kMaxOrb);
        // As many decimals as the chart keeps, so that an orb opened from a
        // file is saved unchanged.
        spin->setDecimals(kOrbDecimals);
        spin->setSingleStep(0.5);
        spin->setSuffix("\u00B0");
        orbs_[index] = spin;
        // The labels are in the translation files under their English text.
        auto* label = new QLabel(tr(std::string(kAspects[index].label).c_str()), orbsBox_);
        label->setBuddy(spin);
        const int column = static_cast<int>(index);
        orbsGrid->addWidget(label, 0, column);
        orbsGrid->addWidget(spin, 1, column);
    }
    orbsBox_->hide();
    form->addRow(orbsBox_);
    connect(orbsButton_, &QPushButton::toggled, this, [this](bool shown) {
        orbsBox_->setVisible(shown);
        adjustSize();
    });

    preview_ = new QLabel(this);
    preview_->setObjectName("preview");
    preview_->setWordWrap(true);
    preview_->setFrameShape(QFrame::StyledPanel);
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_->setMinimumWidth(preview_->fontMetrics().averageCharWidth() * 50);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &BirthDataDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BirthDataDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit* edit : {date_, time_, latitude_, longitude_, zone_, offset_}) {
        connect(edit, &QLineEdit::textChanged, this, &BirthDataDialog::UpdatePreview);
    }
    connect(timeUnknown_, &QCheckBox::toggled, this, &BirthDataDialog::UpdatePreview);
    connect(earlier_, &QRadioButton::toggled, this, &BirthDataDialog::UpdatePreview);
    connect(later_, &QRadioButton::toggled, this, &BirthDataDialog::UpdatePreview);

    // The order of the form; the orbs come last, out of the way.
    setTabOrder(name_, date_);
    setTabOrder(date_, time_);
    setTabOrder(time_, timeUnknown_);
    setTabOrder(timeUnknown_, place_);
    setTabOrder(place_, latitude_);
    setTabOrder(latitude_, longitude_);
    setTabOrder(longitude_, zone_);
    setTabOrder(zone_, offset_);
    setTabOrder(offset_, earlier_);
    setTabOrder(earlier_, later_);
    setTabOrder(later_, houseSystem_);
    setTabOrder(houseSystem_, orbsButton_);
    QWidget* previous = orbsButton_;
    for (QDoubleSpinBox* spin : orbs_) {
        setTabOrder(previous, spin);
        previous = spin;
    }
    setTabOrder(previous, buttons);
}

void BirthDataDialog::Clear() {
    SetBirthData(BirthData{});
    // A new chart starts with nothing typed, and with a time to give.
    timeUnknown_->setChecked(false);
    for (QLineEdit* edit : {date_, time_, latitude_, longitude_}) {
        edit->clear();
    }
    given_ = TypedTexts();
}

void BirthDataDialog::SetBirthData(const BirthData& birth) {
    const BirthForm form = FormFromBirthData(birth);
    name_->setText(Text(form.name));
    date_->setText(Text(form.date));
    time_->setText(Text(form.time));
    timeUnknown_->setChecked(false);
    place_->setText(Text(form.placeName));
    latitude_->setText(Text(form.latitude));
    longitude_->setText(Text(form.longitude));
    zone_->setText(Text(form.zone));
    offset_->setText(Text(form.offset));
    houseSystem_->setCurrentIndex(static_cast<int>(IndexOf(form.houseSystem)));
    for (std::size_t index = 0; index < orbs_.size(); ++index) {
        orbs_[index]->setValue(form.orbs[kAspects[index].kind]);
    }
    // The button group keeps one button checked; switching exclusivity off
    // is the only way back to neither.
    earlier_->setAutoExclusive(false);
    later_->setAutoExclusive(false);
    earlier_->setChecked(form.fold == FoldChoice::Earlier);
    later_->setChecked(form.fold == FoldChoice::Later);
    earlier_->setAutoExclusive(true);
    later_->setAutoExclusive(true);
    // Set last: it disables the time field, which must stay filled.
    timeUnknown_->setChecked(form.timeUnknown);
    chart_.reset();
    name_->setFocus();
    UpdatePreview();
    given_ = TypedTexts();
}

void BirthDataDialog::SearchPlaces(const QString& text) {
    const Atlas* atlas = atlas_.Get();
    if (!atlas) {
        atlasMessage_->setText(
            tr("The place list could not be read: %1 Type the latitude, longitude and zone "
               "yourself.")
                .arg(Text(atlas_.Error())));
        atlasMessage_->show();
        return;
    }
    matches_ = atlas->Search(text.toStdString(), kPlacesListed);
    QStringList labels;
    for (const Place& place : matches_) {
        labels << Text(PlaceLabel(place));
    }
    placeModel_->setStringList(labels);
    if (labels.isEmpty()) {
        return;
    }
    // The list may be wider than the field: long names must not be cut. The
    // line edit opens the list itself at its own width, so a minimum it is.
    QAbstractItemView* list = placeCompleter_->popup();
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (const QString& label : labels) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    list->setMinimumWidth(widest + 4 * metrics.averageCharWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    placeCompleter_->complete();
    // The list makes current the first row that begins with its prefix, which
    // need not be the atlas's best match: no row is current, so that Down
    // reaches the first and Enter takes it.
    list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void BirthDataDialog::ChoosePlace(const Place& place) {
    place_->setText(Text(PlaceLabel(place)));
    latitude_->setText(Text(FormatCoordinate(place.latitude)));
    longitude_->setText(Text(FormatCoordinate(place.longitude)));
    zone_->setText(Text(place.zone));
    // An offset typed for the previous place would silently override the
    // new place's zone.
    offset_->clear();
}

BirthForm BirthDataDialog::Form() const {
    BirthForm form;
    form.name = Utf8(name_);
    form.date = Utf8(date_);
    form.time = Utf8(time_);
    form.timeUnknown = timeUnknown_->isChecked();
    form.placeName = Utf8(place_);
    form.latitude = Utf8(latitude_);
    form.longitude = Utf8(longitude_);
    form.zone = Utf8(zone_);
    form.offset = Utf8(offset_);
    if (foldRow_->isVisibleTo(this)) {
        form.fold = earlier_->isChecked() ? FoldChoice::Earlier
                    : later_->isChecked() ? FoldChoice::Later
                                          : FoldChoice::None;
    }
    form.houseSystem =
        kHouseSystems.at(static_cast<std::size_t>(houseSystem_->currentIndex())).system;
    for (std::size_t index = 0; index < orbs_.size(); ++index) {
        form.orbs[kAspects[index].kind] = orbs_[index]->value();
    }
    return form;
}

QString BirthDataDialog::PreviewText() const {
    return preview_->text();
}

bool BirthDataDialog::AsksForFold() const {
    return foldRow_->isVisibleTo(this);
}

void BirthDataDialog::UpdatePreview() {
    const BirthForm form = Form();
    const Result<BirthData> read = ReadBirthForm(form);
    if (!read) {
        preview_->setText(tr("No UT yet. %1").arg(Text(AsSentence(read.Failure().message))));
        return;
    }
    const BirthData& birth = *read;
    // A year out of reach is what to say, not the zone's trouble with it.
    if (const std::string error = CheckBirthYear(birth.date); !error.empty()) {
        ShowFold(std::nullopt);
        preview_->setText(tr("No UT yet. %1").arg(Text(error)));
        return;
    }
    LocalTimeRequest request;
    request.date = birth.date;
    request.time = birth.time;
    request.zoneName = birth.zone;
    request.givenOffsetSeconds = birth.utcOffsetSeconds;
    request.longitude = birth.longitude;
    // Asked without a reading first: whether the time happened twice decides
    // whether the question shows, whatever was answered before.
    TimeResult<UniversalTime> converted = ToUniversalTime(request);
    const TimeError* error = std::get_if<TimeError>(&converted);
    ShowFold(error ? error->repeated : std::nullopt);
    if (error && error->repeated && form.fold != FoldChoice::None) {
        request.fold = form.fold;
        converted = ToUniversalTime(request);
        error = std::get_if<TimeError>(&converted);
    }
    if (error) {
        preview_->setText(tr("No UT yet. %1")
                              .arg(Text(error->message) +
                                   (error->repeated ? " " + tr("Choose earlier or later.") : "")));
        return;
    }
    const UniversalTime& ut = std::get<UniversalTime>(converted);
    std::string text = DescribeUniversalTime(ut, birth.zone) + ".";
    if (!birth.time) {
        text += " The time is unknown, so 12:00 local time is used.";
    }
    for (const std::string& note : ut.notes) {
        text += " " + note;
    }
    preview_->setText(Text(text));
}

void BirthDataDialog::ShowFold(const std::optional<RepeatedLocalTime>& repeated) {
    foldQuestion_->setVisible(repeated.has_value());
    foldRow_->setVisible(repeated.has_value());
    if (!repeated) {
        return;
    }
    earlier_->setText(
        tr("&Earlier, UTC%1").arg(Text(FormatUtcOffset(repeated->earlierOffsetSeconds))));
    later_->setText(tr("&Later, UTC%1").arg(Text(FormatUtcOffset(repeated->laterOffsetSeconds))));
}

QWidget* BirthDataDialog::FieldWidget(BirthField field) const {
    switch (field) {
        case BirthField::Name:
            return name_;
        case BirthField::Date:
            return date_;
        case BirthField::Place:
            return place_;
        case BirthField::Time:
            return time_;
        case BirthField::Latitude:
            return latitude_;
        case BirthField::Longitude:
            return longitude_;
        case BirthField::Zone:
            return zone_;
        case BirthField::UtcOffset:
            return offset_;
        case BirthField::Orbs:
            break;
        default:
            return nullptr;
    }
    orbsButton_->setChecked(true);
    return orbs_[0];
}

void BirthDataDialog::Refuse(const std::string& message, QWidget* field) {
    notices_.Message(message, tr("Birth data").toStdString(), NoticeIcon::Exclamation);
    if (field) {
        field->setFocus();
    }
}

void BirthDataDialog::accept() {
    const Result<BirthData> read = ReadBirthForm(Form());
    if (!read) {
        const Error& error = read.Failure();
        Refuse(AsSentence(error.message), error.field ? FieldWidget(*error.field) : nullptr);
        return;
    }
    BirthChartResult computed = ComputeBirthChart(ephemeris_, *read);
    if (!computed.Ok()) {
        const Error& error = computed.error;
        if (error.kind == ErrorKind::RepeatedTime) {
            ShowFold(computed.repeated);
            Refuse(error.message + " Choose earlier or later.", earlier_);
            return;
        }
        Refuse(error.message, error.field ? FieldWidget(*error.field) : nullptr);
        return;
    }
    chart_ = std::move(computed.value);
    given_ = TypedTexts();  // kept in the chart now, nothing to lose
    QDialog::accept();
}

}  // namespace tolvaris
