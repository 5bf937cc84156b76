// The fleet window against two simulated radios: both written with their own values and logged,
// Cancel stopping both cleanly, and its entry in the Clone menu.
#include "MainWindowFixture.h"
#include "app/cmcCsv.h"
#include "app/cmcInstanceLock.h"
#include "e2e/CloneFiles.h"
#include "gui/cuiFleetWindow.h"
#include "support/RadioSimProcess.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

#include <deque>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct Sim {
    std::string saved;
    std::unique_ptr<RadioSimProcess> process;
};

struct FleetWindowTest : testing::Test {
    TempDir dir;
    cmcTextTables tables;
    cuiQtLoop loop;
    ScriptedMessageBox box;
    std::string file = dir.File("fleet.ocd");
    std::string log = dir.File("fleet-log.csv");
    std::vector<Sim> sims;
    std::unique_ptr<cuiFleetWindow> window;

    void SetUp() override {
        tables.Load(cmcAppDir(), 0);
        clonefiles::MakeOneChannelFile(file, 3, 151625000, "fleet");
    }
    void StartSims(std::vector<std::string> more) {
        const std::string end = clonefiles::HexText(clonefiles::ShortEnd());
        for (int i = 0; i < 2; ++i) {
            const std::string name = "radio" + std::to_string(i);
            Sim s;
            s.saved = dir.File(name + ".ocd");
            std::vector<std::string> args = {"--save", s.saved, "--serial",
                                             "00000012AB3" + std::to_string(i)};
            if (std::find(more.begin(), more.end(), "--end") == more.end())
                args.insert(args.end(), {"--end", end});
            args.insert(args.end(), more.begin(), more.end());
            s.process = std::make_unique<RadioSimProcess>(dir.File(name), dir.File(name + ".log"), args);
            ASSERT_TRUE(s.process->Ready());
            sims.push_back(std::move(s));
        }
    }
    // listed: the port discovery offers the radios' ports (else they are added by path).
    void Open(bool listed = true) {
        cuiFleetWindow::Services s;
        s.loop = &loop;
        s.tex = &tables.Text();
        s.box = &box;
        s.listDevices = [this, listed] {
            std::vector<cmcPortDevice> devices;
            for (const Sim& sim : sims) {
                if (!listed)
                    break;
                cmcPortDevice device;
                device.path = sim.process->Port();
                devices.push_back(device);
            }
            return devices;
        };
        cmcEeprom initial = clonefiles::LoadImage(clonefiles::InitialLmr());
        indModel model(&initial, nullptr, indModel::Settings{});
        cmcEeprom work = clonefiles::LoadImage(file);
        model.Convert(work, 0);
        s.working = [work] { return work; };
        s.initial = initial;
        s.logPath = log;
        s.askDevicePath = [this] {
            std::string path = typed.empty() ? std::string() : typed.front();
            if (!typed.empty())
                typed.pop_front();
            return path;
        };
        window = std::make_unique<cuiFleetWindow>(nullptr, s);
        window->show();
        for (const Sim& sim : sims) {
            if (listed) {
                ASSERT_TRUE(window->SetTicked(sim.process->Port(), true));
            }
        }
    }
    std::deque<std::string> typed; // the answers to Add device
    std::string Cell(int row, int column) const {
        return window->Rows()->item(row, column)->text().toStdString();
    }
    std::vector<cmcCsv::Record> LogRows() const {
        std::vector<cmcCsv::Record> rows;
        std::string error;
        EXPECT_TRUE(cmcCsv::Read(ReadFileText(log), rows, error)) << error;
        return rows;
    }
};

} // namespace

TEST_F(FleetWindowTest, WritesBothRadiosWithTheirOwnValuesAndLogsThem) {
    StartSims({});
    Open();
    const std::string values = dir.File("values.csv");
    WriteFileText(values, "serial,CT_Null.CL_KDisp_OpeningText\n0000001223473,VAN 3\n");
    window->SetValuesPath(values);
    ASSERT_TRUE(window->Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Running(); }, 40000));

    const std::string serials[] = {"0000001223472", "0000001223473"};
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(Cell(r, 0), sims[size_t(r)].process->Port());
        EXPECT_EQ(Cell(r, 1), serials[r]);
        EXPECT_EQ(Cell(r, 3), tables.Text().GetLine("GI_Fleet_States", 3)) << Cell(r, 4);
        ASSERT_TRUE(fs::exists(sims[size_t(r)].saved));
    }
    // Only the radio with a row got the value; the other holds the file's.
    CliRun shown = RunCli({"get", sims[1].saved, "CT_Null.CL_KDisp_OpeningText"});
    EXPECT_NE(shown.out.find("=VAN 3"), std::string::npos) << shown.out;
    shown = RunCli({"get", sims[0].saved, "CT_Null.CL_KDisp_OpeningText"});
    EXPECT_EQ(shown.out.find("=VAN 3"), std::string::npos) << shown.out;
    EXPECT_NE(window->Summary()->text().toStdString().find('2'), std::string::npos);
    EXPECT_EQ(LogRows().size(), 3u);
}

// Radios on ports the discovery does not see (an adapter of its own, a pseudo-terminal) are added by
// their device path; protected radios take the password given in the window.
TEST_F(FleetWindowTest, DevicesAddedByPathWriteProtectedRadiosWithTheWindowsPassword) {
    StartSims({"--password", "LOCK"});
    Open(false);
    typed = {"/dev/no-such-radio", "tty", sims[0].process->Port(), sims[1].process->Port()};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(typed.front());
        EXPECT_FALSE(window->AddDevice());
        ASSERT_FALSE(box.shown.empty());
        EXPECT_NE(box.shown.back().text.find("There is no device at "), std::string::npos);
    }
    box.shown.clear();
    ASSERT_TRUE(window->AddDevice());
    ASSERT_TRUE(window->AddDevice());
    window->Refresh(); // the added devices stay offered, ticked
    window->SetPassword("LOCK");
    ASSERT_TRUE(window->Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Running(); }, 40000));
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(Cell(r, 3), tables.Text().GetLine("GI_Fleet_States", 3)) << Cell(r, 4);
        EXPECT_TRUE(fs::exists(sims[size_t(r)].saved));
    }
}

TEST_F(FleetWindowTest, CancelStopsEveryRadioAndTheWindowClosesAfter) {
    StartSims({"--pace", "--end", "FF7F"}); // long enough to be cancelled halfway
    Open();
    ASSERT_TRUE(window->Start());
    // Start is refused while the radios are written; so is closing the window.
    EXPECT_FALSE(window->Start());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Cell(0, 2).find('/') != std::string::npos && Cell(1, 2).find('/') != std::string::npos;
        },
        40000));
    // Each row names its radio while the radio is written.
    EXPECT_EQ(Cell(0, 1), "0000001223472");
    EXPECT_EQ(Cell(1, 1), "0000001223473");
    window->close();
    EXPECT_TRUE(window->isVisible());
    window->Cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Running(); }, 10000));
    const auto rows = LogRows();
    ASSERT_EQ(rows.size(), 3u);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(Cell(r, 3), tables.Text().GetLine("GI_Fleet_States", 4));
        EXPECT_EQ(rows[size_t(r) + 1][4], std::to_string(kCloneCancelled));
        EXPECT_FALSE(fs::exists(sims[size_t(r)].saved));
    }
    window->close();
    EXPECT_FALSE(window->isVisible());
}

struct FleetMenuTest : MainWindowFixture {};

TEST_F(FleetMenuTest, TheCloneMenuOpensTheFleetWindow) {
    StartWindow(WindowServices());
    QAction* entry = nullptr;
    for (QAction* top : window->menuBar()->actions())
        for (QAction* action : top->menu() ? top->menu()->actions() : QList<QAction*>())
            if (action->objectName() == QStringLiteral("fleetWrite"))
                entry = action;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text().toStdString(), tables.Text().GetLine("GI_Fleet_Menu", 0));
    entry->trigger();
    auto* fleet = window->findChild<cuiFleetWindow*>();
    ASSERT_NE(fleet, nullptr);
    EXPECT_TRUE(fleet->isVisible());
}
