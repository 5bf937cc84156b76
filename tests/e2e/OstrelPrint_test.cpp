// ostrel --print-pdf, run as a process on the offscreen platform, its PDF read back with poppler's
// pdfinfo, pdftotext and pdftoppm: page counts, the page frame, every channel printed once, no
// placeholder texts, the exit status and an untouched OUT on failure, and one page compared with a
// stored picture.
#include "CloneFiles.h"
#include "model/indLayout.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

// Receive frequency of channel i of the full bank, in hertz.
int32_t Frequency(int i) {
    return 146000000 + i * 25000;
}

std::string FrequencyText(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%06d", Frequency(i) / 1000000, Frequency(i) % 1000000);
    return text;
}

// The LMR initial data with all 128 channels in bank 0: copies of its first channel, each on its own
// frequency.
void MakeFullBankFile(const std::string& path) {
    cmcEeprom initial = clonefiles::LoadImage(clonefiles::InitialLmr());
    indModel model(&initial, nullptr, indModel::Settings{});
    cmcEeprom work = initial;
    model.Convert(work, 0);
    for (int g = 0; g < indLayout::kGroups; ++g) {
        indLayout::Put16(work.Data(), indLayout::kGroupCounts + 2 * g, g == 0 ? 128 : 0);
    }
    datCh ch(&work);
    for (int i = 0; i < 128; ++i) {
        ch.Decode(indModel::kChannelKind, 0);
        ch.rxFrequency = Frequency(i);
        ch.txFrequency = Frequency(i);
        ch.Encode(indModel::kChannelKind, i);
    }
    model.Convert(work, 1);
    ASSERT_EQ(indDataFile::Save(path, work, "full bank"), cmcKvtFile::FileError::Ok);
}

// Standard output of a poppler tool; "" when it failed.
std::string Poppler(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) {
        out.append(buf, n);
    }
    return pclose(pipe) == 0 ? out : std::string();
}

int Pages(const std::string& pdf) {
    std::smatch m;
    const std::string info = Poppler("pdfinfo '" + pdf + "'");
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
}

std::string Text(const std::string& pdf) {
    return Poppler("pdftotext -layout '" + pdf + "' -");
}

// Cells that show "error" as their whole text (the layout keeps cells two spaces apart or more);
// labels such as "Bit error rate" do not count.
size_t ErrorCells(const std::string& text) {
    const std::regex cell("(^|\\s\\s)error(\\s\\s|\\s*$)", std::regex::multiline);
    return static_cast<size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), cell), std::sregex_iterator()));
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++n;
    }
    return n;
}

class OstrelPrint : public ::testing::Test {
protected:
    void SetUp() override {
        if (access((CliBinDir() + "/ostrel").c_str(), X_OK) != 0) {
            GTEST_SKIP() << "the desktop program is not built";
        }
        if (Poppler("pdfinfo -v").empty() && system("pdfinfo -v >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "poppler-utils are not installed (scripts/setup installs them)";
        }
        mkdir(dir.File("config").c_str(), 0700);
        mkdir(dir.File("runtime").c_str(), 0700);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", dir.File("runtime").c_str(), 1);
    }
    CliRun Print(const std::vector<std::string>& args) { return RunProgram("ostrel", args, 60000); }
    const std::string& Full() {
        if (full.empty()) {
            full = dir.File("full.ocd");
            MakeFullBankFile(full);
        }
        return full;
    }

    TempDir dir;
    std::string full;
};

TEST_F(OstrelPrint, FullBankSheetPrintsEveryChannelOnceInsideThePageFrame) {
    const std::string out = dir.File("bank.pdf");
    const CliRun run = Print({"--open", Full(), "--print-pdf", out, "--sheet", kBank0});
    ASSERT_EQ(run.status, 0) << run.both;
    const int pages = Pages(out);
    // 128 rows do not fit one A4 page, and the columns need more than one page across.
    EXPECT_GE(pages, 4);
    const std::string text = Text(out);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(Count(text, FrequencyText(i)), 1u) << FrequencyText(i);
    }
    EXPECT_EQ(Count(text, "Ostrel 1.0"), static_cast<size_t>(pages));
    EXPECT_EQ(Count(text, "Zorv Inc"), static_cast<size_t>(pages));
    EXPECT_EQ(Count(text, "Memory channels, bank 1"), static_cast<size_t>(pages));
    for (int p = 1; p <= pages; ++p) {
        EXPECT_EQ(Count(text, "Page " + std::to_string(p) + " / " + std::to_string(pages)), 1u) << p;
    }
    EXPECT_EQ(Count(text, "*Yet*"), 0u);
}

TEST_F(OstrelPrint, AllSheetsPrintWithoutPlaceholders) {
    struct Case {
        std::string file;
        int minPages;
        bool cleanData; // every value of the data is valid: no cell shows "error"
    } cases[] = {{CliBinDir() + "/Initial_LMR.ocd", 20, true}, {Full(), 25, false}};
    for (const Case& c : cases) {
        const std::string out = dir.File("all.pdf");
        const CliRun run = Print({"--open", c.file, "--print-pdf", out});
        ASSERT_EQ(run.status, 0) << run.both;
        const int pages = Pages(out);
        EXPECT_GE(pages, c.minPages) << c.file;
        const std::string text = Text(out);
        EXPECT_EQ(Count(text, "*Yet*"), 0u) << c.file;
        if (c.cleanData) {
            EXPECT_EQ(ErrorCells(text), 0u) << c.file;
        }
        EXPECT_EQ(Count(text, "Page " + std::to_string(pages) + " / " + std::to_string(pages)), 1u) << c.file;
        // The tree's no-print sheets (clone information, memory channel top) leave no page.
        EXPECT_EQ(Count(text, "Clone information"), 0u) << c.file;
        // The sheets Print all prints come in tree order: the common settings first, the banks last.
        EXPECT_LT(text.find("Common"), text.find("Memory channels, bank 1")) << c.file;
    }
}

TEST_F(OstrelPrint, FailuresExitNonZeroAndLeaveOutUntouched) {
    const std::string out = dir.File("kept.pdf");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {"unknown sheet",
         {"--open", clonefiles::InitialLmr(), "--print-pdf", out, "--sheet", "GI_Sheet_Nonsense"},
         "no sheet 'GI_Sheet_Nonsense'"},
        {"bank without channels",
         {"--open", clonefiles::InitialLmr(), "--print-pdf", out, "--sheet",
          "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 5"},
         "does not print"},
        {"unreadable file", {"--open", dir.File("missing.ocd"), "--print-pdf", out}, "cannot open"},
        {"unwritable out",
         {"--open", clonefiles::InitialLmr(), "--print-pdf", dir.File("no/such/dir.pdf")},
         "cannot write"},
        {"no value", {"--print-pdf"}, "usage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileText(out, "old contents");
        const CliRun run = Print(c.args);
        EXPECT_NE(run.status, 0) << run.both;
        EXPECT_NE(run.both.find(c.message), std::string::npos) << run.both;
        EXPECT_EQ(ReadFileText(out), "old contents");
    }
    // No temporary file is left beside OUT.
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.Path().c_str())) {
        while (const dirent* e = readdir(d)) {
            if (e->d_name[0] != '.' || std::string(e->d_name).size() > 2) {
                names.push_back(e->d_name);
            }
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"config", "kept.pdf", "runtime"}));
}

// Mean darkness of the blocks of a grey picture. Blocks of 8 x 8 pixels absorb what font hinting
// and antialiasing move; a missing bar, heading fill or column moves a block by far more.
std::vector<int> Blocks(const QImage& image) {
    std::vector<int> out;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    for (int by = 0; by + 8 <= grey.height(); by += 8) {
        for (int bx = 0; bx + 8 <= grey.width(); bx += 8) {
            int sum = 0;
            for (int y = by; y < by + 8; ++y) {
                for (int x = bx; x < bx + 8; ++x) {
                    sum += 255 - grey.constScanLine(y)[x];
                }
            }
            out.push_back(sum / 64);
        }
    }
    return out;
}

TEST_F(OstrelPrint, FirstBankPageLooksLikeTheStoredPicture) {
    const std::string out = dir.File("bank.pdf");
    ASSERT_EQ(Print({"--open", Full(), "--print-pdf", out, "--sheet", kBank0}).status, 0);
    ASSERT_FALSE(
        Poppler("pdftoppm -r 40 -gray -png -f 1 -l 1 -singlefile '" + out + "' '" + dir.File("page") + "'")
            .empty() &&
        access(dir.File("page.png").c_str(), F_OK) != 0);
    const QImage now(QString::fromStdString(dir.File("page.png")));
    ASSERT_FALSE(now.isNull());
    const char* source = std::getenv("OSTREL_SOURCE_DIR");
    const std::string goldenPath =
        std::string(source ? source : ".") + "/tests/e2e/golden/print_bank0_page1.png";
    const QImage golden(QString::fromStdString(goldenPath));
    const std::string review = CliBinDir() + "/print_bank0_page1.now.png";
    ASSERT_FALSE(golden.isNull()) << "missing " << goldenPath << "; the page printed now is " << review
                                  << (now.save(QString::fromStdString(review)) ? "" : " (not saved)");
    ASSERT_EQ(now.size(), golden.size());
    const std::vector<int> a = Blocks(now), b = Blocks(golden);
    const int columns = now.width() / 8;
    // The footer's left end shows the print date, which changes from day to day.
    const int footerFrom = static_cast<int>(a.size()) - 3 * columns;
    int differing = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (static_cast<int>(i) < footerFrom && std::abs(a[i] - b[i]) > 40) {
            ++differing;
        }
    }
    if (differing > 4) {
        now.save(QString::fromStdString(review));
    }
    EXPECT_LE(differing, 4) << "blocks of 8 x 8 pixels differ; the page printed now is " << review;
}

} // namespace
