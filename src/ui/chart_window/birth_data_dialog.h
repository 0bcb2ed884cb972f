#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/atlas/place.h"
#include "core/chart/birth_chart.h"
#include "core/chart/birth_form.h"
#include "core/engine/screen.h"

class QCheckBox;
class QComboBox;
class QCompleter;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
class QWidget;

namespace tolvaris {

class Ephemeris;
class LazyAtlas;

// Asks for the birth data of a chart: name, date, time, place (looked up in
// the atlas as the user types), coordinates, zone or offset, house system and
// orbs. It shows the UT it will use before the user confirms, asks which
// reading a repeated local time means, and on OK computes the chart; a
// refused field gets one message and the dialog stays as it was.
class BirthDataDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BirthDataDialog)

public:
    BirthDataDialog(LazyAtlas& atlas, Ephemeris& ephemeris, Notices& notices,
                    QWidget* parent = nullptr);

    // Fills the fields from `birth`; a default BirthData gives an empty form.
    void SetBirthData(const BirthData& birth);
    void Clear();
    // The chart computed when the user confirmed.
    const std::optional<BirthChart>& Chart() const { return chart_; }

    // Fills the place, coordinates and zone from a place of the atlas; the
    // place list calls it when the user picks an entry.
    void ChoosePlace(const Place& place);

    // The fields as typed.
    BirthForm Form() const;
    // The text below the fields: the UT and offset that will be used, or why
    // there is none yet.
    QString PreviewText() const;
    // Whether the earlier / later choice of a repeated local time is showing.
    bool AsksForFold() const;

    void accept() override;
    // Escape or Cancel over data the user typed asks before letting it go.
    void reject() override;
    // Whether the fields differ from what the dialog was given.
    bool HasTypedData() const;
    // Asks whether typed data may go; a message box unless a test gives
    // another.
    void SetDiscardQuestion(std::function<bool()> ask) { askDiscard_ = std::move(ask); }

private:
    void BuildFields();
    void SearchPlaces(const QString& text);
    void UpdatePreview();
    void ShowFold(const std::optional<RepeatedLocalTime>& repeated);
    QWidget* FieldWidget(BirthField field) const;
    void Refuse(const std::string& message, QWidget* field);
    QStringList TypedTexts() const;
    bool AskDiscard();

    LazyAtlas& atlas_;
    Ephemeris& ephemeris_;
    Notices& notices_;
    std::optional<BirthChart> chart_;
    std::vector<Place> matches_;

    QLineEdit* name_ = nullptr;
    QLineEdit* date_ = nullptr;
    QLineEdit* time_ = nullptr;
    QCheckBox* timeUnknown_ = nullptr;
    QLineEdit* place_ = nullptr;
    QCompleter* placeCompleter_ = nullptr;
    QStringListModel* placeModel_ = nullptr;
    QLabel* atlasMessage_ = nullptr;
    QLineEdit* latitude_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    QLineEdit* zone_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QWidget* foldRow_ = nullptr;
    QLabel* foldQuestion_ = nullptr;
    QRadioButton* earlier_ = nullptr;
    QRadioButton* later_ = nullptr;
    QComboBox* houseSystem_ = nullptr;
    QPushButton* orbsButton_ = nullptr;
    QWidget* orbsBox_ = nullptr;
    std::array<QDoubleSpinBox*, kAspects.size()> orbs_{};
    QLabel* preview_ = nullptr;
    QStringList given_;  // the fields as SetBirthData or Clear left them
    std::function<bool()> askDiscard_;
};

}  // namespace tolvaris
