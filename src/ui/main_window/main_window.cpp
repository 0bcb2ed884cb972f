#include "ui/main_window/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "core/requests/captions.h"

namespace tolvaris {
namespace {

// Positions and sizes are given in twips, 15 to a logical pixel.
constexpr int Px(int twips) {
    return twips / 15;
}

constexpr int kClientWidth = 4830;
constexpr int kClientHeight = 6825;
constexpr int kOptionLeft = 120;
constexpr int kOptionHeight = 255;
constexpr int OptionTop(int index) {
    return 360 + 240 * index;
}

template <std::size_t N>
std::vector<std::string_view> Captions(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}

QFont ControlFont() {
    // A bold sans-serif of the classic dialog size; Liberation Sans keeps
    // the narrow metrics the layout was made for.
    QFont font(QStringList{"Liberation Sans", "Arial", "Sans Serif"});
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

}  // namespace

MainWindow::MainWindow(Requests& requests, MainWindowCommands commands)
    : requests_(requests), commands_(std::move(commands)) {
    setObjectName("Tolvaris");
    setWindowTitle("Natal Chart Tolvaris");
    // A fixed dialog frame: a close box, no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    QMenu* file = menuBar()->addMenu("&File");
    file->menuAction()->setObjectName("mnuFile");
    file->addAction("E&xit")->setObjectName("mnuFileExit");  // deliberately does nothing
    file->menuAction()->setEnabled(false);

    auto* client = new QWidget(this);
    client->setFont(ControlFont());
    client->setFixedSize(Px(kClientWidth), Px(kClientHeight));
    setCentralWidget(client);

    groups_ = {{
        {OptionGroup::Sign, [this] { requests_.OKRisingSign_Click(); }},
        {OptionGroup::House, [this] { requests_.OKHouses_Click(); }},
        {OptionGroup::Planet, {}},
        {OptionGroup::AspectKind, [this] { requests_.OKAspects_Click(); }},
        {OptionGroup::SecondPlanet, {}},
    }};
    BuildControls(client);
    WidenClippedCaptions();
    SetTabOrder();

    // The screen agrees with the start selection; checking moves no focus.
    const Selection& start = requests_.CurrentSelection();
    const std::array<std::int16_t, 5> startIndexes = {start.SignIndex, start.HouseIndex,
                                                      start.PlanetIndex, start.AspectIndex,
                                                      start.Planet2Index};
    for (int group = 1; group <= 5; ++group) {
        Option(group).at(startIndexes[group - 1])->setChecked(true);
    }
    setFixedSize(sizeHint());
    move(Px(900), Px(1200));
}

void MainWindow::BuildControls(QWidget* client) {
    const int w = 1215;
    QGroupBox* frame1 = AddFrame(client, "Frame1", "Sign/Asc Sign", 120, 90, 1695, 3375);
    AddOptions(1, frame1, Captions(kSignCaptions), {w, w, w, w, w, w, w, w, 1455, w, w, w});
    QGroupBox* frame2 = AddFrame(client, "Frame2", "Houses", 1920, 90, 975, 3375);
    AddOptions(2, frame2, Captions(kHouseCaptions), std::vector<int>(12, 735));
    QGroupBox* frame4 = AddFrame(client, "Frame4", "Aspects", 3120, 90, 1575, 1215);
    AddOptions(4, frame4, Captions(kAspectCaptions), {w, 1335, w});

    AddButton(client, "OKRisingSign", "Rising sign", 3120, 1440, 1575, 495, QColor(192, 255, 192),
              [this] { requests_.OKRisingSign_Click(); });
    AddButton(client, "OKHouses", "Planet in house", 3120, 2040, 1575, 495, QColor(192, 255, 255),
              [this] { requests_.OKHouses_Click(); });
    AddButton(client, "OKSigns", "Planet in sign", 3120, 2640, 1575, 495, QColor(255, 192, 255),
              [this] { requests_.OKSigns_Click(); });

    const std::vector<int> planets = {w, w, w, w, w, w, w, w, w, w, 1455};
    QGroupBox* frame3 = AddFrame(client, "Frame3", "Planets", 120, 3600, 1695, 3135);
    AddOptions(3, frame3, Captions(kPlanetCaptions), planets);
    std::vector<int> planets2 = planets;
    planets2.back() = 1335;
    QGroupBox* frame5 = AddFrame(client, "Frame5", "2nd Planet", 1920, 3600, 1575, 3135);
    AddOptions(5, frame5, Captions(kPlanetCaptions), planets2);

    AddButton(client, "OKAspects", "Aspects", 3600, 3600, 1095, 495, QColor(255, 224, 192),
              [this] { requests_.OKAspects_Click(); });
    AddButton(client, "Command2", "Keywords", 3600, 4950, 1095, 495, QColor(255, 192, 192),
              [this] { commands_.Command2_Click(); });
    AddButton(client, "Command1", "Help", 3600, 6240, 1095, 495, QColor(255, 255, 128),
              [this] { commands_.Command1_Click(); });
}

QGroupBox* MainWindow::AddFrame(QWidget* client, const char* name, const char* caption, int left,
                                int top, int width, int height) {
    auto* frame = new QGroupBox(caption, client);
    frame->setObjectName(name);
    frame->setGeometry(Px(left), Px(top), Px(width), Px(height));
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    frame->setPalette(palette);
    const int number = name[5] - '0';
    frames_.at(number - 1) = frame;
    return frame;
}

void MainWindow::AddOptions(int group, QGroupBox* frame,
                            const std::vector<std::string_view>& captions,
                            const std::vector<int>& widths) {
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    for (std::size_t index = 0; index < captions.size(); ++index) {
        auto* option =
            new QRadioButton(QString::fromLatin1(captions[index].data(),
                                                 static_cast<qsizetype>(captions[index].size())),
                             frame);
        option->setObjectName(QString("Option%1_%2").arg(group).arg(index));
        option->setPalette(palette);
        option->setGeometry(Px(kOptionLeft), Px(OptionTop(static_cast<int>(index))),
                            Px(widths.at(index)), Px(kOptionHeight));
        option->installEventFilter(this);
        // Tab enters a group on its checked button only; clicks and the
        // arrow keys still reach every button.
        option->setFocusPolicy(Qt::ClickFocus);
        connect(option, &QRadioButton::toggled, option, [option](bool checked) {
            option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        });
        options_.at(group - 1).push_back(option);
    }
}

QPushButton* MainWindow::AddButton(QWidget* client, const char* name, const char* caption, int left,
                                   int top, int width, int height, QColor background,
                                   const std::function<void()>& onClick) {
    auto* button = new QPushButton(caption, client);
    button->setObjectName(name);
    button->setGeometry(Px(left), Px(top), Px(width), Px(height));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, background);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
    connect(button, &QPushButton::clicked, this, onClick);
    buttons_.push_back(button);
    return button;
}

QPushButton* MainWindow::Button(const char* name) const {
    for (QPushButton* button : buttons_) {
        if (button->objectName() == name) {
            return button;
        }
    }
    return nullptr;
}

void MainWindow::WidenClippedCaptions() {
    // The platform's font may be wider than the one the layout was drawn
    // for: widen a control (and its frame) just enough that nothing is cut.
    for (QGroupBox* frame : frames_) {
        int needed = frame->width();
        for (QRadioButton* option : frame->findChildren<QRadioButton*>()) {
            const int hint = option->sizeHint().width();
            if (hint > option->width()) {
                option->resize(hint, option->height());
            }
            needed = std::max(needed, option->x() + option->width() + 2);
        }
        needed = std::max(needed, frame->minimumSizeHint().width());
        if (needed > frame->width()) {
            frame->resize(needed, frame->height());
        }
    }
    for (QPushButton* button : buttons_) {
        const int hint = button->sizeHint().width();
        if (hint > button->width()) {
            button->resize(hint, button->height());
        }
    }
}

void MainWindow::SetTabOrder() {
    std::vector<QWidget*> chain;
    auto addGroup = [&](int group) {
        for (QRadioButton* option : Option(group)) {
            chain.push_back(option);
        }
    };
    addGroup(1);
    chain.push_back(Button("OKAspects"));
    addGroup(2);
    chain.push_back(Button("OKHouses"));
    addGroup(3);
    chain.push_back(Button("OKSigns"));
    addGroup(4);
    addGroup(5);
    chain.push_back(Button("OKRisingSign"));
    chain.push_back(Button("Command1"));
    chain.push_back(Button("Command2"));
    for (std::size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonDblClick) {
        for (std::size_t group = 0; group < options_.size(); ++group) {
            const auto& list = options_[group];
            const auto it = std::find(list.begin(), list.end(), watched);
            if (it == list.end()) {
                continue;
            }
            if (type == QEvent::FocusIn) {
                // The selection follows the focus, and only the focus.
                requests_.Select(groups_[group].id, static_cast<std::int16_t>(it - list.begin()));
            } else if (groups_[group].doubleClick) {
                // The first click has already focused the button and stored its index.
                groups_[group].doubleClick();
            }
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (commands_.Form_Unload) {
        commands_.Form_Unload();
    }
    event->accept();  // closing cannot be refused
}

}  // namespace tolvaris
