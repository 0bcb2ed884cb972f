#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "core/requests/requests.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tolvaris {

struct MainWindowCommands {
    std::function<void()> Command1_Click;  // "Help"
    std::function<void()> Command2_Click;  // "Keywords"
    std::function<void()> Form_Unload;     // writes the settings, closes the output window
};

// The start-up window "Natal Chart Tolvaris": five option groups whose
// focused button is the selection, and the six buttons.
class MainWindow : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    MainWindow(Requests& requests, MainWindowCommands commands);

    // Option1 .. Option5: the groups' buttons by index.
    const std::vector<QRadioButton*>& Option(int group) const { return options_.at(group - 1); }
    QPushButton* Button(const char* name) const;
    QGroupBox* Frame(int number) const { return frames_.at(number - 1); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Group {
        OptionGroup id;
        std::function<void()> doubleClick;  // empty: a double-click only selects
    };

    void BuildControls(QWidget* client);
    QGroupBox* AddFrame(QWidget* client, const char* name, const char* caption, int left, int top,
                        int width, int height);
    void AddOptions(int group, QGroupBox* frame, const std::vector<std::string_view>& captions,
                    const std::vector<int>& widths);
    QPushButton* AddButton(QWidget* client, const char* name, const char* caption, int left,
                           int top, int width, int height, QColor background,
                           const std::function<void()>& onClick);
    void SetTabOrder();
    void WidenClippedCaptions();

    Requests& requests_;
    MainWindowCommands commands_;
    std::array<std::vector<QRadioButton*>, 5> options_;
    std::array<QGroupBox*, 5> frames_{};
    std::array<Group, 5> groups_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace tolvaris
