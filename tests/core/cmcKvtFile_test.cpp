#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcGTex.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr cmcRange kEnd = kRangeListEnd;

cmcEeprom patternImage(int32_t size) {
    cmcEeprom image;
    image.SetSize(size);
    for (int32_t a = 0; a < size; ++a)
        image.SetByte(a, static_cast<uint8_t>(a * 13 + 5));
    return image;
}

// A file object set up like the program's own: fixed codes, map revision up to 1 accepted.
void configure(cmcKvtFile& file, cmcEeprom& image, int32_t adrBit = 32) {
    file.Attach(&image);
    file.SetModelCode(0x3329);
    file.SetExtraCode(0);
    file.SetMapRev(1);
    file.SetAdrBit(adrBit);
    file.SetMapRevCheck([](int32_t rev) { return rev <= 1; });
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return out;
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// Lines split at multiples of 16 after the first line of a range; address digits follow the width.
TEST(cmcKvtFile, SaveWritesTheLineLayoutAndLoadsItBack) {
    struct Case {
        int32_t adrBit;
        std::vector<std::string> expected; // data lines, address and count only
    };
    const std::vector<Case> cases = {
        {32, {"000000050B", "0000001010", "0000002003", "0000010001"}},
        {24, {"0000050B", "00001010", "00002003", "00010001"}},
        {16, {"00050B", "001010", "002003", "010001"}},
        {20, {"00050B", "001010", "002003", "010001"}}, // any other width is written like 16
    };
    const cmcRange ranges[] = {{0x05, 0x22}, {0x100, 0x100}, kEnd, {0x200, 0x210}};
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.adrBit);
        cmcEeprom image = patternImage(0x300);
        cmcKvtFile file;
        configure(file, image, c.adrBit);
        file.SetComment("Hill site");
        ASSERT_EQ(file.Save(dir.File("a.ocd"), ranges), cmcKvtFile::FileError::Ok);
        std::vector<std::string> got = lines(ReadFileText(dir.File("a.ocd")));
        ASSERT_EQ(got.size(), 4 + c.expected.size());
        EXPECT_EQ(got[0], "33290000");
        EXPECT_EQ(got[1], "#Comment=Hill site");
        EXPECT_EQ(got[2], "#MapRev=1");
        EXPECT_EQ(got[3], "#AdrBit=" + std::to_string(c.adrBit));
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(got[4 + i].substr(0, c.expected[i].size()), c.expected[i]);
        EXPECT_EQ(got[4].substr(c.expected[0].size(), 6), "465360"); // bytes 5, 6, 7 of the pattern

        if (c.adrBit == 20)
            continue; // a width of 20 is refused when read
        cmcEeprom loaded;
        loaded.SetSize(0x300);
        cmcKvtFile reader;
        configure(reader, loaded, 16);
        ASSERT_EQ(reader.Load(dir.File("a.ocd"), ranges), cmcKvtFile::FileError::Ok);
        EXPECT_EQ(reader.GetMapRev(), 1);
        EXPECT_EQ(reader.GetAdrBit(), c.adrBit);
        for (int32_t a = 0; a < 0x300; ++a)
            ASSERT_EQ(loaded.GetByte(a), (a >= 5 && a <= 0x22) || a == 0x100 ? image.GetByte(a) : 0) << a;
    }
}

TEST(cmcKvtFile, SaveEndsTheDataAtTheEndPairOrAnAddressOutsideTheImage) {
    TempDir dir;
    cmcEeprom image = patternImage(0x40);
    for (const std::vector<cmcRange>& ranges : std::vector<std::vector<cmcRange>>{
             {kEnd, {0, 0x3F}}, {{0x30, 0x40}, {0, 0x3F}, kEnd}, {{-1, 0x10}, kEnd}}) {
        cmcKvtFile file;
        configure(file, image);
        ASSERT_EQ(file.Save(dir.File("e.ocd"), ranges.data()), cmcKvtFile::FileError::Ok);
        EXPECT_EQ(lines(ReadFileText(dir.File("e.ocd"))).size(), 4u);
    }
}

// The comment is free text: key names and line ends in it must not change how the file reads.
TEST(cmcKvtFile, CommentCannotInjectKeyLines) {
    TempDir dir;
    cmcEeprom image = patternImage(0x40);
    const cmcRange ranges[] = {{0, 0x3F}, kEnd};
    cmcKvtFile file;
    configure(file, image);
    file.SetComment("AdrBit=16\n#AdrBit=16\r\n#MapRev=9");
    ASSERT_EQ(file.Save(dir.File("c.ocd"), ranges), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(lines(ReadFileText(dir.File("c.ocd"))).size(), 8u);
    cmcEeprom loaded;
    loaded.SetSize(0x40);
    cmcKvtFile reader;
    configure(reader, loaded);
    EXPECT_EQ(reader.Load(dir.File("c.ocd"), ranges), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(reader.GetAdrBit(), 32);
    EXPECT_TRUE(loaded.Equals(image));
}

// A save that fails part-way leaves the file the user had exactly as it was, and no stray file.
TEST(cmcKvtFile, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    std::string path = dir.File("radio.ocd");
    WriteFileText(path, "the user's old file\r\n");
    ::chmod(path.c_str(), 0640);
    cmcEeprom image = patternImage(0xFF80);
    const cmcRange ranges[] = {{0, 0xFF7F}, kEnd};
    cmcKvtFile file;
    configure(file, image);

    // The file size limit makes the disk refuse writes past 4 KiB, as a full disk would.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int code = cmcKvtFile::Code(file.Save(path, ranges));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(code, 2);
    EXPECT_EQ(ReadFileText(path), "the user's old file\r\n");
    EXPECT_EQ(folderEntries(dir.Path()), std::vector<std::string>{"radio.ocd"});

    // Without the limit the same save replaces the file and keeps its permissions.
    ASSERT_EQ(file.Save(path, ranges), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(lines(ReadFileText(path)).size(), 4u + 4088u);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(folderEntries(dir.Path()), std::vector<std::string>{"radio.ocd"});

    // A link keeps pointing at the data it names.
    ASSERT_EQ(::symlink(path.c_str(), dir.File("link.ocd").c_str()), 0);
    ASSERT_EQ(file.Save(dir.File("link.ocd"), nullptr), cmcKvtFile::FileError::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ocd")));
    EXPECT_EQ(lines(ReadFileText(path)).size(), 4u);

    // Targets that cannot be written: nothing is created.
    std::filesystem::create_directory(dir.File("folder.ocd"));
    EXPECT_EQ(file.Save(dir.File("folder.ocd"), ranges), cmcKvtFile::FileError::Open);
    EXPECT_EQ(file.Save(dir.File("no/such/folder.ocd"), ranges), cmcKvtFile::FileError::Open);
    EXPECT_EQ(file.Save("", ranges), cmcKvtFile::FileError::Open);
    EXPECT_EQ(folderEntries(dir.Path()), (std::vector<std::string>{"folder.ocd", "link.ocd", "radio.ocd"}));
}

TEST(cmcKvtFile, CoverageMissingAndExtraBytes) {
    TempDir dir;
    cmcEeprom image = patternImage(0x40);
    const cmcRange all[] = {{0, 0x3F}, kEnd};
    const cmcRange head[] = {{0, 0x0F}, {0x20, 0x2F}, kEnd};
    const cmcRange wider[] = {{0, 0x3F}, {0x10, 0x7F}, kEnd}; // the second pair leaves the image
    cmcKvtFile writer;
    configure(writer, image);
    ASSERT_EQ(writer.Save(dir.File("h.ocd"), head), cmcKvtFile::FileError::Ok);

    cmcKvtFile reader;
    cmcEeprom loaded;
    loaded.SetSize(0x40);
    configure(reader, loaded);
    EXPECT_EQ(reader.CheckCoverage(all), cmcKvtFile::FileError::Coverage); // nothing loaded yet
    EXPECT_EQ(reader.Load(dir.File("h.ocd"), nullptr), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(reader.CheckCoverage(head), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(reader.CheckCoverage(all), cmcKvtFile::FileError::Coverage);
    EXPECT_EQ(reader.CheckCoverage(wider), cmcKvtFile::FileError::Coverage);
    const cmcRange partial[] = {{0, 0x0F}, {0x28, 0x3F}, kEnd}; // 0x20-0x27 extra, 0x30-0x3F missing
    EXPECT_EQ(reader.CheckCoverage(partial), cmcKvtFile::FileError::Data);
    EXPECT_EQ(reader.CheckCoverage(nullptr), cmcKvtFile::FileError::Coverage);

    cmcKvtFile unattached;
    EXPECT_EQ(unattached.CheckCoverage(all), cmcKvtFile::FileError::Coverage);
    EXPECT_EQ(unattached.Load(dir.File("h.ocd"), nullptr),
              cmcKvtFile::FileError::Model); // model code 0 expected
}

// Clone data files come from anywhere: whatever they hold, the reader ends in a file error code with
// the image unchanged, reads in bounded memory and never blocks.
TEST(cmcKvtFile, MalformedFilesLeaveTheImageUnchanged) {
    TempDir dir;
    const std::string head = "33290000\r\n#MapRev=1\r\n#AdrBit=16\r\n";
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131) & 0xFF);
    struct Case {
        const char* name;
        std::string text;
        int expected;
    };
    const std::vector<Case> cases = {
        {"binary garbage", binary, 6},
        {"header with a NUL byte", std::string("3329\0000000\r\n", 11), 6},
        {"NUL inside a data line", head + std::string("000001\0000\r\n", 11), 6},
        {"long key line is one line", head + "#Note=" + std::string(100000, '9') + "\r\n" + "000001AB\r\n",
         0},
        {"long line starting like a key", head + "#MapRev=1" + std::string(5000, ' ') + "\n" + "000001AB\n",
         0},
        {"long data line", head + "000001" + std::string(100000, 'A') + "\r\n", 6},
        {"long header", std::string(100000, '3') + "\r\n", 6},
        {"data line of 255 bytes", head + "0000FF" + std::string(510, 'C') + "\r\n", 8},
        {"lone CR ends nothing", head + "000001AB\r000001AB\r\n", 6},
        {"sign and blanks in key numbers", "33290000\n#MapRev=  -7x\n#AdrBit=+16\n000001AB\n", 0},
        {"huge map revision", "33290000\n#MapRev=99999999999999999999\n#AdrBit=16\n000001AB\n", 5},
        {"huge address width", "33290000\n#AdrBit=4294967312\n000001AB\n", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileText(dir.File("m.ocd"), c.text);
        cmcEeprom image = patternImage(0x40);
        cmcEeprom before = image;
        cmcKvtFile file;
        configure(file, image);
        EXPECT_EQ(cmcKvtFile::Code(file.Load(dir.File("m.ocd"), nullptr)), c.expected);
        if (c.expected != 0)
            EXPECT_TRUE(image.Equals(before));
        else
            EXPECT_EQ(image.GetByte(0), 0xAB);
    }

    cmcEeprom image = patternImage(0x40);
    cmcKvtFile file;
    configure(file, image);
    EXPECT_EQ(file.Load(dir.File("missing.ocd"), nullptr), cmcKvtFile::FileError::Open);
    EXPECT_EQ(file.Load(dir.Path(), nullptr), cmcKvtFile::FileError::Open);
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    EXPECT_EQ(file.Load(dir.File("fifo"), nullptr),
              cmcKvtFile::FileError::Open); // no writer: must not wait for one

    // Without a map revision check no file with data is accepted.
    cmcKvtFile unchecked;
    unchecked.Attach(&image);
    unchecked.SetModelCode(0x3329);
    WriteFileText(dir.File("m.ocd"), head + "000001AB\r\n");
    EXPECT_EQ(unchecked.Load(dir.File("m.ocd"), nullptr), cmcKvtFile::FileError::MapRev);
}

// Random damage to a valid file: every result is a file error code, and the image changes only on
// success.
TEST(cmcKvtFile, GarbledFilesFuzz) {
    TempDir dir;
    cmcEeprom source = patternImage(0x200);
    const cmcRange ranges[] = {{0, 0x1FF}, kEnd};
    cmcKvtFile writer;
    configure(writer, source);
    ASSERT_EQ(writer.Save(dir.File("v.ocd"), ranges), cmcKvtFile::FileError::Ok);
    const std::string valid = ReadFileText(dir.File("v.ocd"));
    std::string alphabet = "0123456789ABCDEFabcdef#\r\n =MapRevAdrBit";
    alphabet += '\0';
    alphabet += '\xFF';

    cmcEeprom untouched;
    untouched.SetSize(0x200);
    untouched.Fill(0xEE);
    std::mt19937 random(12345);
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    int outcomes[10] = {};
    for (int round = 0; round < 400; ++round) {
        std::string text = valid;
        int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits; ++e) {
            size_t at = pick(text.size() + 1);
            switch (pick(5)) {
            case 0: // replace a character
                if (at < text.size())
                    text[at] = alphabet[pick(alphabet.size())];
                break;
            case 1: // insert one
                text.insert(at, 1, alphabet[pick(alphabet.size())]);
                break;
            case 2: // delete a stretch
                text.erase(at, pick(60));
                break;
            case 3: // cut the file short
                text.resize(at);
                break;
            default: // random bytes
                for (size_t i = pick(40); i > 0; --i)
                    text.insert(at, 1, static_cast<char>(random() & 0xFF));
            }
        }
        std::string path = dir.File("f" + std::to_string(round) + ".ocd"); // truncating is slow on some disks
        WriteFileText(path, text);
        cmcEeprom image = untouched;
        cmcKvtFile reader;
        configure(reader, image);
        int code = cmcKvtFile::Code(reader.Load(path, round % 2 ? ranges : nullptr));
        ASSERT_GE(code, 0);
        ASSERT_LE(code, 8);
        ++outcomes[code];
        if (code != 0) {
            ASSERT_TRUE(image.Equals(untouched)) << "round " << round;
        }
    }
    // The damage is varied enough to reach the main outcomes.
    EXPECT_GT(outcomes[0], 0);
    EXPECT_GT(outcomes[6], 0);
    EXPECT_GT(outcomes[7], 0);
}

// Every file error has its text in the shipped overlay; Save and Load show their failures once.
TEST(cmcKvtFile, FileErrorsShowTheirOverlayTexts) {
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    cmcGTex& tex = tables.Text();
    const std::string headline = tex.GetJoinedText("GI_Mess_FileErr_Headline");
    ScriptedMessageBox box;
    for (int code = 1; code <= 9; ++code) {
        const auto error = static_cast<cmcKvtFile::FileError>(code);
        cmcKvtFile::ShowFileError(error, tex, box);
        ASSERT_EQ(box.shown.size(), static_cast<size_t>(code));
        const auto& shown = box.shown.back();
        EXPECT_EQ(shown.text, headline + "\n\n" + tex.GetJoinedText(cmcKvtFile::FileErrorKey(error)));
        EXPECT_FALSE(tex.GetJoinedText(cmcKvtFile::FileErrorKey(error)).empty());
        EXPECT_EQ(shown.caption, tex.GetText("GI_Sys_AppTitle"));
        EXPECT_EQ(shown.icon, cmcMessageBox::Icon::Warning);
        EXPECT_EQ(shown.buttons, cmcMessageBox::Buttons::Ok);
    }
    for (int code : {0, -1, 10})
        cmcKvtFile::ShowFileError(static_cast<cmcKvtFile::FileError>(code), tex, box);
    EXPECT_EQ(box.shown.size(), 9u);

    TempDir dir;
    cmcEeprom image = patternImage(0x40);
    const cmcRange ranges[] = {{0, 0x3F}, kEnd};
    cmcKvtFile file;
    configure(file, image);
    file.SetReporter(&tex, &box);
    box.shown.clear();
    EXPECT_EQ(file.Save(dir.File("r.ocd"), ranges), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(file.Load(dir.File("r.ocd"), ranges), cmcKvtFile::FileError::Ok);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(file.Load(dir.File("none.ocd"), ranges), cmcKvtFile::FileError::Open);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, cmcKvtFile::FileErrorText(cmcKvtFile::FileError::Open, tex));
}
