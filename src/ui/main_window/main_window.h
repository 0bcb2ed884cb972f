#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "core/requests/requests.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tolvaris {

// The start-up window "Natal Chart Tolvaris": five option groups whose
// focused button is the selection, and the six buttons.
class MainWindow : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(Requests& requests);

    // A group's buttons, with the option's index as the button's id.
    QButtonGroup* Options(OptionGroup group) const { return options_.at(Slot(group)); }
    QRadioButton* Option(OptionGroup group, int index) const;
    QPushButton* Button(const char* name) const;

    // Selects and shows checked a whole selection at once (a placement
    // chosen in the chart window), as if each option had been chosen.
    void SetSelection(const Selection& selection);

signals:
    void hintsRequested();     // the Help button
    void keywordsRequested();  // the Keywords button
    void closing();            // the window is closing; it cannot refuse

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static std::size_t Slot(OptionGroup group) { return static_cast<std::size_t>(group); }

    void BuildControls(QWidget* client);
    QGroupBox* AddFrame(QWidget* client, const char* name, const char* caption, int left, int top,
                        int width, int height);
    void AddOptions(OptionGroup group, QGroupBox* frame,
                    const std::vector<std::string_view>& captions, const std::vector<int>& widths);
    QPushButton* AddButton(QWidget* client, const char* name, const char* caption, int left,
                           int top, int width, int height, QColor background,
                           const std::function<void()>& onClick);
    void SetTabOrder();
    void WidenClippedCaptions();
    void ShowChecked(const Selection& selection);
    void TakeFocusOnlyAsChosen();
    void RequestOnDoubleClick(OptionGroup group);
    bool FilterOptionEvent(QRadioButton* option, OptionGroup group, QEvent* event);

    Requests& requests_;
    std::array<QButtonGroup*, 5> options_{};
    std::vector<QGroupBox*> frames_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace tolvaris
