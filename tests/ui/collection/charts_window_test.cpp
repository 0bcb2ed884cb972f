#include "ui/collection/charts_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "core/collection/sqlite_collection.h"
#include "support/birth_samples.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"
#include "ui/chart_window/birth_data_dialog.h"
#include "ui/chart_window/chart_file_dialogs.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/main_window/main_window.h"

namespace tolvaris {
namespace {

using std::filesystem::path;

class NoFileDialogs : public ChartFileDialogs {
public:
    std::optional<path> AskOpenChart(const path&) override { return std::nullopt; }
    std::optional<path> AskSaveChart(const path&) override { return std::nullopt; }
    std::optional<WheelImage> AskWheelImage(const path&) override { return std::nullopt; }
    std::optional<path> AskReportFile(const path&) override { return std::nullopt; }
    PrintAnswer AskPrint(QPrinter&) override { return PrintAnswer::Cancel; }
};

StoredChart Stored(const std::string& name, int year, const std::string& place,
                   std::vector<std::string> tags) {
    StoredChart chart;
    chart.birth = test::BerlinNewYear();
    chart.birth.name = name;
    chart.birth.date.year = year;
    chart.birth.placeName = place;
    chart.tags = std::move(tags);
    chart.note = name + " note";
    return chart;
}

class ChartsWindowTest : public ::testing::Test {
protected:
    ChartsWindowTest() {
        std::filesystem::create_directory(folder / "own");
        menu = new ChartMenu(mainWindow,
                             {folder.Path(), folder / "own", folder.Path(), folder / "c.sqlite"},
                             notices, writer, dialogs);
    }
    void Fill() {
        ChartCollection* collection = menu->Collection();
        ASSERT_NE(collection, nullptr);
        const auto added = collection->AddNew({
            Stored("Anna Berg", 1962, "Berlin, Germany", {"family"}),
            Stored("Ánne Möller", 1975, "Hamburg, Germany", {"clients"}),
            Stored("Carl Anders", 1962, "Wien, Austria", {"clients", "research"}),
            Stored("Dora Weiss", 2001, "Zürich, Switzerland", {}),
        });
        ASSERT_TRUE(added.Ok());
        ASSERT_EQ(added.Value(), 4U);
        menu->ShowCharts();
        ASSERT_NE(menu->Charts(), nullptr);
    }
    // The column's texts, joined by "|" so that a failure reads plainly.
    std::string Column(int column) const {
        QStringList names;
        const ChartListModel& model = *menu->Charts()->Model();
        for (int row = 0; row < model.rowCount(); ++row) {
            names << model.data(model.index(row, column), Qt::DisplayRole).toString();
        }
        return names.join("|").toStdString();
    }

    test::TempFolder folder;
    test::FakeNotices notices;
    AtomicFileWriter writer;
    NoFileDialogs dialogs;
    test::FakeDisplay display;
    PageBuffers buffers{display, notices, folder.Path(), writer};
    Requests requests{buffers, notices, folder.Path()};
    MainWindow mainWindow{requests};
    ChartMenu* menu = nullptr;  // owned by the main window
};

TEST_F(ChartsWindowTest, TypingFiltersAndHeadersSort) {
    Fill();
    struct Case {
        QString typed;
        std::string names;
    };
    const Case cases[] = {
        {"", "Anna Berg|Ánne Möller|Carl Anders|Dora Weiss"},
        {"ann", "Anna Berg|Ánne Möller"},  // accents disregarded; "Anders" has no "ann"
        {"an", "Anna Berg|Ánne Möller|Carl Anders|Dora Weiss"},  // "Switzerland"
        {"germany", "Anna Berg|Ánne Möller"},
        {"1962", "Anna Berg|Carl Anders"},
        {"clients wien", "Carl Anders"},
        {"zurich", "Dora Weiss"},
        {"nobody", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        menu->Charts()->SearchField()->setText(c.typed);
        EXPECT_EQ(Column(ChartListModel::Name), c.names);
    }
    menu->Charts()->SearchField()->clear();
    menu->Charts()->List()->sortByColumn(ChartListModel::BirthDate, Qt::DescendingOrder);
    // Ties keep the name order.
    EXPECT_EQ(Column(ChartListModel::Name), "Dora Weiss|Ánne Möller|Anna Berg|Carl Anders");
    menu->Charts()->SearchField()->setText("germany");
    EXPECT_EQ(Column(ChartListModel::Name), "Ánne Möller|Anna Berg");
}

TEST_F(ChartsWindowTest, DeleteIsUndoneWithTagsAndNote) {
    Fill();
    ChartsWindow& charts = *menu->Charts();
    charts.SearchField()->setText("carl");
    charts.DeleteSelected();
    EXPECT_EQ(Column(ChartListModel::Name), "");
    EXPECT_EQ(menu->Collection()->Count(), 3U);
    charts.SearchField()->clear();
    charts.UndoDelete();
    EXPECT_FALSE(charts.CanUndo());
    ASSERT_EQ(menu->Collection()->Search("carl", 10).size(), 1U);
    const auto back = menu->Collection()->Get(menu->Collection()->Search("carl", 10)[0].id);
    ASSERT_TRUE(back.Ok() && back.Value());
    EXPECT_EQ(back.Value()->tags, (std::vector<std::string>{"clients", "research"}));
    EXPECT_EQ(back.Value()->note, "Carl Anders note");
    EXPECT_EQ(back.Value()->birth.date.year, 1962);
}

TEST_F(ChartsWindowTest, OpeningShowsTheChartAndAgainRaisesItsWindow) {
    Fill();
    ChartsWindow& charts = *menu->Charts();
    for (const char* name : {"Dora", "Anna", "Anna"}) {
        SCOPED_TRACE(name);
        charts.SearchField()->setText(name);
        charts.OpenSelected();
        ASSERT_TRUE(menu->Window().Shown());
        EXPECT_EQ(menu->Window().Shown()->input.name.substr(0, 4), name);
        EXPECT_TRUE(menu->Window().isVisible());
        // The tab the user chose stays when the chart is only raised.
        menu->Window().Tabs()->setCurrentIndex(2);
    }
    EXPECT_EQ(menu->Window().Tabs()->currentIndex(), 2);
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(ChartsWindowTest, AnUnsavedChartGoesOnlyWhenTheUserSays) {
    using Answer = ChartMenu::UnsavedAnswer;
    struct Case {
        Answer answer;
        std::size_t kept;  // charts in the collection afterwards
        bool closes;
    };
    const Case cases[] = {
        {Answer::Cancel, 0, false},
        {Answer::Discard, 0, true},
        {Answer::SaveToCollection, 1, true},
    };
    BirthDataDialog& dialog = menu->Dialog();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        const std::size_t before = menu->Collection()->Count();
        BirthData typed = test::BerlinNewYear();
        typed.name = "Typed " + std::to_string(static_cast<int>(c.answer));
        dialog.SetBirthData(typed);
        dialog.accept();
        ChartWindow& shown = menu->Window();
        ASSERT_TRUE(shown.isVisible());
        std::vector<std::string> asked;
        menu->SetUnsavedQuestion([&](const std::string& name) {
            asked.push_back(name);
            return c.answer;
        });
        // A new chart opens beside the unsaved one and asks nothing.
        menu->NewChart();
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
        shown.close();
        EXPECT_EQ(shown.isVisible(), !c.closes);
        EXPECT_EQ(menu->Collection()->Count() - before, c.kept);
        EXPECT_EQ(asked, std::vector<std::string>{typed.name});
        menu->SetUnsavedQuestion([](const std::string&) { return Answer::Discard; });
        shown.close();
    }
}

TEST_F(ChartsWindowTest, EscapeOverTypedBirthDataAsksFirst) {
    struct Case {
        QString typed;  // into the name field; empty types nothing
        bool letGo;
        int asked;
        bool stillOpen;
    };
    const Case cases[] = {{"", false, 0, false}, {"Eva", false, 1, true}, {"Eva", true, 1, false}};
    BirthDataDialog& dialog = menu->Dialog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + (c.letGo ? " let go" : " kept"));
        int asked = 0;
        dialog.SetDiscardQuestion([&] {
            ++asked;
            return c.letGo;
        });
        menu->NewChart();
        if (!c.typed.isEmpty()) {
            QTest::keyClicks(dialog.findChild<QLineEdit*>("name"), c.typed);
        }
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(dialog.isVisible(), c.stillOpen);
        dialog.SetDiscardQuestion([] { return true; });
        dialog.reject();
    }
}

TEST_F(ChartsWindowTest, ADamagedCollectionIsNamedAndChartFilesStillWork) {
    test::WriteBytes(folder / "c.sqlite", std::string(4096, 'x'));
    menu->ShowCharts();
    EXPECT_EQ(menu->Charts(), nullptr);
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_NE(notices.messages[0].text.find((folder / "c.sqlite").string()), std::string::npos)
        << notices.messages[0].text;
    EXPECT_EQ(test::ReadBytes(folder / "c.sqlite"), std::string(4096, 'x'));
}

}  // namespace
}  // namespace tolvaris
