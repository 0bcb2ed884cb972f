#include "ui/main_window/main_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

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

MainWindow::MainWindow(Requests& requests) : requests_(requests) {
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

    BuildControls(client);
    WidenClippedCaptions();
    SetTabOrder();

    // The screen agrees with the start selection.
    ShowChecked(requests_.CurrentSelection());
    TakeFocusOnlyAsChosen();
    setFixedSize(sizeHint());
    move(Px(900), Px(1200));
}

void MainWindow::BuildControls(QWidget* client) {
    const int w = 1215;
    QGroupBox* signs = AddFrame(client, "Frame1", "Sign/Asc Sign", 120, 90, 1695, 3375);
    AddOptions(OptionGroup::Sign, signs, Captions(kSignCaptions),
               {w, w, w, w, w, w, w, w, 1455, w, w, w});
    QGroupBox* houses = AddFrame(client, "Frame2", "Houses", 1920, 90, 975, 3375);
    AddOptions(OptionGroup::House, houses, Captions(kHouseCaptions), std::vector<int>(12, 735));
    QGroupBox* aspects = AddFrame(client, "Frame4", "Aspects", 3120, 90, 1575, 1215);
    AddOptions(OptionGroup::AspectKind, aspects, Captions(kAspectCaptions), {w, 1335, w});

    AddButton(client, "OKRisingSign", "Rising sign", 3120, 1440, 1575, 495, QColor(192, 255, 192),
              [this] { requests_.OKRisingSign_Click(); });
    AddButton(client, "OKHouses", "Planet in house", 3120, 2040, 1575, 495, QColor(192, 255, 255),
              [this] { requests_.OKHouses_Click(); });
    AddButton(client, "OKSigns", "Planet in sign", 3120, 2640, 1575, 495, QColor(255, 192, 255),
              [this] { requests_.OKSigns_Click(); });

    const std::vector<int> planetWidths = {w, w, w, w, w, w, w, w, w, w, 1455};
    QGroupBox* planets = AddFrame(client, "Frame3", "Planets", 120, 3600, 1695, 3135);
    AddOptions(OptionGroup::Planet, planets, Captions(kPlanetCaptions), planetWidths);
    std::vector<int> secondPlanetWidths = planetWidths;
    secondPlanetWidths.back() = 1335;
    QGroupBox* secondPlanets = AddFrame(client, "Frame5", "2nd Planet", 1920, 3600, 1575, 3135);
    AddOptions(OptionGroup::SecondPlanet, secondPlanets, Captions(kPlanetCaptions),
               secondPlanetWidths);

    AddButton(client, "OKAspects", "Aspects", 3600, 3600, 1095, 495, QColor(255, 224, 192),
              [this] { requests_.OKAspects_Click(); });
    AddButton(client, "Command2", "Keywords", 3600, 4950, 1095, 495, QColor(255, 192, 192),
              [this] { emit keywordsRequested(); });
    AddButton(client, "Command1", "Help", 3600, 6240, 1095, 495, QColor(255, 255, 128),
              [this] { emit hintsRequested(); });
}

QGroupBox* MainWindow::AddFrame(QWidget* client, const char* name, const char* caption, int left,
                                int top, int width, int height) {
    auto* frame = new QGroupBox(caption, client);
    frame->setObjectName(name);
    frame->setGeometry(Px(left), Px(top), Px(width), Px(height));
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    frame->setPalette(palette);
    frames_.push_back(frame);
    return frame;
}

void MainWindow::AddOptions(OptionGroup group, QGroupBox* frame,
                            const std::vector<std::string_view>& captions,
                            const std::vector<int>& widths) {
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    auto* buttons = new QButtonGroup(this);
    options_.at(Slot(group)) = buttons;
    for (std::size_t index = 0; index < captions.size(); ++index) {
        auto* option =
            new QRadioButton(QString::fromLatin1(captions[index].data(),
                                                 static_cast<qsizetype>(captions[index].size())),
                             frame);
        option->setObjectName(QString("Option%1_%2").arg(Slot(group) + 1).arg(index));
        option->setPalette(palette);
        option->setGeometry(Px(kOptionLeft), Px(OptionTop(static_cast<int>(index))),
                            Px(widths.at(index)), Px(kOptionHeight));
        option->installEventFilter(this);
        buttons->addButton(option, static_cast<int>(index));
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

QRadioButton* MainWindow::Option(OptionGroup group, int index) const {
    return static_cast<QRadioButton*>(Options(group)->button(index));
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
    auto addGroup = [&](OptionGroup group) {
        for (QAbstractButton* option : Options(group)->buttons()) {
            chain.push_back(option);
        }
    };
    addGroup(OptionGroup::Sign);
    chain.push_back(Button("OKAspects"));
    addGroup(OptionGroup::House);
    chain.push_back(Button("OKHouses"));
    addGroup(OptionGroup::Planet);
    chain.push_back(Button("OKSigns"));
    addGroup(OptionGroup::AspectKind);
    addGroup(OptionGroup::SecondPlanet);
    chain.push_back(Button("OKRisingSign"));
    chain.push_back(Button("Command1"));
    chain.push_back(Button("Command2"));
    for (std::size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

void MainWindow::SetSelection(const Selection& selection) {
    requests_.SetSelection(selection);
    ShowChecked(selection);
}

void MainWindow::ShowChecked(const Selection& selection) {
    // Checking moves no focus.
    const std::array<std::pair<OptionGroup, int>, 5> indexes = {{
        {OptionGroup::Sign, selection.signIndex},
        {OptionGroup::House, selection.houseIndex},
        {OptionGroup::Planet, selection.planetIndex},
        {OptionGroup::AspectKind, selection.aspectIndex},
        {OptionGroup::SecondPlanet, selection.planet2Index},
    }};
    for (const auto& [group, index] : indexes) {
        if (QRadioButton* option = Option(group, index)) {
            option->setChecked(true);
        }
    }
}

void MainWindow::TakeFocusOnlyAsChosen() {
    // Tab enters a group on its checked button only; the arrow keys still
    // reach every button. Qt's own click focus would also follow the right
    // and middle buttons, so a left click gives the focus instead
    // (FilterOptionEvent). Set after the tab order, which Qt does not build
    // through widgets that take no focus.
    for (QButtonGroup* group : options_) {
        for (QAbstractButton* option : group->buttons()) {
            option->setFocusPolicy(option->isChecked() ? Qt::TabFocus : Qt::NoFocus);
            connect(option, &QAbstractButton::toggled, option, [option](bool checked) {
                option->setFocusPolicy(checked ? Qt::TabFocus : Qt::NoFocus);
            });
        }
    }
}

void MainWindow::RequestOnDoubleClick(OptionGroup group) {
    switch (group) {
        case OptionGroup::Sign:
            requests_.OKRisingSign_Click();
            break;
        case OptionGroup::House:
            requests_.OKHouses_Click();
            break;
        case OptionGroup::AspectKind:
            requests_.OKAspects_Click();
            break;
        case OptionGroup::Planet:
        case OptionGroup::SecondPlanet:
            break;  // a double-click on a planet only selects it
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* option = qobject_cast<QRadioButton*>(watched);
    for (std::size_t slot = 0; option != nullptr && slot < options_.size(); ++slot) {
        if (options_[slot] == option->group()) {
            return FilterOptionEvent(option, static_cast<OptionGroup>(slot), event);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::FilterOptionEvent(QRadioButton* option, OptionGroup group, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
            // The selection follows the focus, and only the focus.
            requests_.Select(group, static_cast<std::int16_t>(Options(group)->id(option)));
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            // Only the left button chooses; the others do nothing here at all.
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
                return true;
            }
            if (event->type() == QEvent::MouseButtonPress) {
                option->setFocus(Qt::MouseFocusReason);
            } else if (event->type() == QEvent::MouseButtonDblClick) {
                // The first click has already focused the button and stored its index.
                RequestOnDoubleClick(group);
            }
            return false;
        }
        default:
            return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();  // closing cannot be refused
}

}  // namespace tolvaris
