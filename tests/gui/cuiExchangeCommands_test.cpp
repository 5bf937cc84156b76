// File > Export, Import and Compare of the main window on the shipped LMR data: the open bank sheet
// goes out as a CSV table and an edited table comes back through its cells as one change, refusals
// ask before anything is taken over, and a comparison lists what differs from a file.
#include "MainWindowFixture.h"
#include "WhenModal.h"
#include "app/cmcInstanceLock.h"
#include "clone/cmcPortMap.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiExchangeCommands.h"
#include "support/RadioSimProcess.h"

#include <QAction>
#include <QDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

struct Exchange : MainWindowFixture {
    TempDir dir;
    std::string table = dir.File("bank.csv");
    std::string dataFile;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.askPath = [this](bool, const std::string&, const std::string&) { return dataFile; };
        StartWindow(s);
        window->Exchange().SetTableDialog([this](bool, const std::string&) { return table; });
        ASSERT_TRUE(window->OpenSheet(kBank0));
    }
    void Menu(int command) {
        QList<QAction*> actions = window->CommandActions("CL_Menu_Debug_Compare", command);
        ASSERT_EQ(actions.size(), 1);
        ASSERT_TRUE(actions[0]->isEnabled());
        actions[0]->trigger();
    }
    std::string Exported() {
        const std::string out = dir.File("out.csv");
        window->Exchange().SetTableDialog([out](bool, const std::string&) { return out; });
        window->Exchange().Export();
        window->Exchange().SetTableDialog([this](bool, const std::string&) { return table; });
        return ReadFileText(out);
    }
};

TEST_F(Exchange, ExportedTableComesBackEditedAsOneChange) {
    Menu(cuiExchangeCommands::kExport);
    const std::string exported = ReadFileText(table);
    EXPECT_EQ(exported.rfind("No.,RX frequency (MHz),TX frequency (MHz),", 0), 0u) << exported;
    EXPECT_NE(exported.find("\r\n1-  2,151.955000,<-,OFF,OFF,CH 2,"), std::string::npos) << exported;
    EXPECT_FALSE(window->Modified());

    WriteFileText(table, "RX frequency (MHz),Name\n151.625000,CH 1\n152.000000,NEW 2\n"
                         "154.570000,CH 3\n154.600000,CH 4\n155.500000,FIFTH\n");
    Menu(cuiExchangeCommands::kImport);
    EXPECT_TRUE(box.shown.empty()) << box.shown.front().text;
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(window->OpenSheetText(), kBank0);
    EXPECT_NE(window->StatusText().toStdString().find("5 rows imported from bank.csv"), std::string::npos);
    const std::string back = Exported();
    EXPECT_NE(back.find("\r\n1-  2,152.000000,<-,OFF,OFF,NEW 2,"), std::string::npos) << back;
    EXPECT_NE(back.find("\r\n1-  5,155.500000,<-,OFF,OFF,FIFTH,"), std::string::npos) << back;
}

TEST_F(Exchange, RefusedValuesAskBeforeAnythingIsTakenOver) {
    WriteFileText(table, "RX frequency (MHz),Name\n999.000000,WRONG\n152.000000,GOOD\n");
    const cmcEeprom before = window->Current();
    box.answers.push_back(cmcMessageBox::Answer::Cancel);
    Menu(cuiExchangeCommands::kImport);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(
        box.shown[0].text.find("Row 1, column 'RX frequency (MHz)': '999.000000' refused: Out of the radio's "
                               "band: 0.002500\u2013799.997500 MHz"),
        std::string::npos)
        << box.shown[0].text;
    EXPECT_TRUE(window->Current() == before);
    EXPECT_FALSE(window->Modified());

    box.answers.push_back(cmcMessageBox::Answer::Ok);
    Menu(cuiExchangeCommands::kImport);
    const std::string back = Exported();
    EXPECT_NE(back.find("\r\n1-  1,151.625000,<-,OFF,OFF,CH 1,"), std::string::npos) << back;
    EXPECT_NE(back.find("\r\n1-  2,152.000000,<-,OFF,OFF,GOOD,"), std::string::npos) << back;

    // A table naming a column the sheet lacks is refused whole.
    box.shown.clear();
    WriteFileText(table, "Colour\nred\n");
    Menu(cuiExchangeCommands::kImport);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find("Column 'Colour' is not a column of this sheet"), std::string::npos);
}

TEST_F(Exchange, ComparisonListsWhatDiffersFromAFile) {
    WriteFileText(table, "RX frequency (MHz),Name\n151.625000,CH 1\n152.000000,NEW 2\n");
    window->Exchange().Import();
    dataFile = dir.File("edited.ocd");
    ASSERT_TRUE(window->Save(dataFile));
    box.answers.push_back(cmcMessageBox::Answer::No);
    window->New();

    std::vector<std::string> rows;
    WhenModal([](QWidget* w) { return w->findChild<QTableWidget*>(QStringLiteral("comparison")) != nullptr; },
              [&rows](QWidget* w) {
                  auto* grid = w->findChild<QTableWidget*>(QStringLiteral("comparison"));
                  for (int r = 0; r < grid->rowCount(); ++r) {
                      std::string row;
                      for (int c = 0; c < grid->columnCount(); ++c)
                          row += grid->item(r, c)->text().toStdString() + "|";
                      rows.push_back(row);
                  }
                  // The list goes out as a CSV table and onto a printer from its own buttons.
                  w->findChild<QPushButton*>(QStringLiteral("exportComparison"))->click();
                  w->findChild<QPushButton*>(QStringLiteral("printComparison"))->click();
                  static_cast<QDialog*>(w)->reject();
              });
    const std::string pdf = dir.File("comparison.pdf");
    window->Exchange().SetPrinterChoice([&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    const std::string csv = dir.File("comparison.csv");
    window->Exchange().SetTableDialog(
        [&csv](bool save, const std::string&) { return save ? csv : std::string(); });
    Menu(cuiExchangeCommands::kCompare);
    const std::string table = ReadFileText(csv);
    EXPECT_NE(table.find("Sheet,Row,Column,This data,File"), std::string::npos) << table;
    EXPECT_NE(table.find("Name,CH 2,NEW 2"), std::string::npos) << table;
    EXPECT_GT(ReadFileText(pdf).size(), 1000u);
    EXPECT_EQ(ReadFileText(pdf).rfind("%PDF", 0), 0u);
    bool frequency = false, name = false;
    for (const std::string& row : rows) {
        frequency = frequency ||
                    row.find("|2 (1-  2)|RX frequency (MHz)|151.955000|152.000000|") != std::string::npos;
        name = name || row.find("|2 (1-  2)|Name|CH 2|NEW 2|") != std::string::npos;
    }
    EXPECT_TRUE(frequency && name) << (rows.empty() ? "no rows" : rows.front());
    EXPECT_EQ(window->Exchange().ComparisonWindow(), nullptr);

    box.shown.clear();
    dataFile = dir.File("same.ocd");
    ASSERT_TRUE(window->Save(dataFile));
    Menu(cuiExchangeCommands::kCompare);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "The data and same.ocd show the same.");
}

} // namespace

TEST_F(Exchange, ComparisonWithTheRadioReadsItFirstAndKeepsTheWindowsData) {
    WriteFileText(table, "RX frequency (MHz),Name\n151.625000,CH 1\n152.000000,NEW 2\n");
    window->Exchange().Import();
    const std::string radioFile = dir.File("radio.ocd");
    ASSERT_TRUE(window->Save(radioFile));
    box.answers.push_back(cmcMessageBox::Answer::No);
    window->New();
    const cmcEeprom before = window->Current();

    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), {"--image", radioFile});
    ASSERT_TRUE(sim.Ready());
    env.comSpeedHigh = 1;
    env.comPort = cmcPortMap::kMaxPort;
    env.comDevice = sim.Port();
    std::vector<std::string> rows;
    std::string title;
    WhenModal([](QWidget* w) { return w->findChild<QTableWidget*>(QStringLiteral("comparison")) != nullptr; },
              [&](QWidget* w) {
                  title = w->windowTitle().toStdString();
                  auto* grid = w->findChild<QTableWidget*>(QStringLiteral("comparison"));
                  for (int r = 0; r < grid->rowCount(); ++r)
                      rows.push_back(grid->item(r, 2)->text().toStdString() + "|" +
                                     grid->item(r, 4)->text().toStdString());
                  static_cast<QDialog*>(w)->reject();
              });
    Menu(cuiExchangeCommands::kCompareRadio);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rows.empty() || !box.shown.empty(); }, 60000))
        << ReadFileText(dir.File("sim.log"));
    EXPECT_TRUE(box.shown.empty()) << box.shown.front().text;
    EXPECT_EQ(title, "Comparison with Radio");
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Name|NEW 2"), rows.end());
    EXPECT_TRUE(window->Current() == before);
    EXPECT_FALSE(window->Modified());
}
