#include "core/cmcEeprom.h"
#include "model/indDataFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

uint8_t pattern(int32_t a) {
    return static_cast<uint8_t>(a * 7 + (a >> 8));
}

std::string dataLine(int32_t address, int32_t count, int digits = 8) {
    char field[16];
    std::snprintf(field, sizeof field, "%0*X%02X", digits, static_cast<unsigned>(address),
                  static_cast<unsigned>(count));
    std::string line = field;
    for (int32_t j = 0; j < count; ++j) {
        std::snprintf(field, sizeof field, "%02X", pattern(address + j));
        line += field;
    }
    return line + "\r\n";
}

// Data lines for first..last, 16 bytes a line, leaving out the byte at `skip`.
std::string dataLines(int32_t first, int32_t last, int digits = 8, int32_t skip = -1) {
    std::string text;
    for (int32_t a = first; a <= last; a += 16) {
        int32_t end = std::min(a + 15, last);
        if (skip >= a && skip <= end) {
            if (skip > a)
                text += dataLine(a, skip - a, digits);
            if (skip < end)
                text += dataLine(skip + 1, end - skip, digits);
        } else {
            text += dataLine(a, end - a + 1, digits);
        }
    }
    return text;
}

std::string keys(const std::string& mapRev = "#MapRev=1\r\n", const std::string& adrBit = "#AdrBit=32\r\n") {
    return "#Comment=Test\r\n" + mapRev + adrBit;
}

const std::string kAll = dataLines(0, 0xFF7F);

struct OpenCase {
    const char* name;
    std::string text;
    int expected;
};

} // namespace

// The Open command's checks, one file per case, from the header to the coverage of the radio memory.
TEST(indDataFile, OpenChecksEveryPartOfTheFile) {
    const std::string head = "33290000\r\n";
    const std::vector<OpenCase> cases = {
        {"valid file", head + keys() + kAll, 0},
        {"LF line ends", "33290000\n#MapRev=1\n#AdrBit=16\n" + dataLines(0, 0xFF7F, 4), 0},
        {"header of 7 digits", "3329000\r\n" + keys() + kAll, 6},
        {"header of 9 digits", "332900000\r\n" + keys() + kAll, 6},
        {"header ending in a letter", "3329000A\r\n" + keys() + kAll, 6},
        {"extra code 0x0100 accepted", "33290100\r\n" + keys() + kAll, 0},
        {"model 0x3328 refused", "33280000\r\n" + keys() + kAll, 3},
        {"extra code 0x0001 refused", "33290001\r\n" + keys() + kAll, 4},
        {"no map revision line", head + "#AdrBit=32\r\n" + kAll, 0},
        {"map revision 2", head + keys("#MapRev=2\r\n") + kAll, 5},
        {"map revision 2 without data lines: coverage", head + keys("#MapRev=2\r\n"), 7},
        {"address width 20", head + keys("#MapRev=1\r\n", "#AdrBit=20\r\n") + kAll, 6},
        {"width 16 then 4-digit lines",
         head + keys("#MapRev=1\r\n", "#AdrBit=16\r\n") + dataLines(0, 0xFF7F, 4), 0},
        {"width changes midway",
         head + keys() + dataLines(0, 0x7FFF) + "#AdrBit=24\r\n" + dataLines(0x8000, 0xFF7F, 6), 0},
        {"8-digit lines under width 16", head + keys("#MapRev=1\r\n", "#AdrBit=16\r\n") + kAll, 6},
        {"count larger than the bytes", head + keys() + "0000000010" + std::string(30, '0') + "\r\n" + kAll,
         6},
        {"count smaller than the bytes", head + keys() + "000000000F" + std::string(32, '0') + "\r\n" + kAll,
         6},
        {"count of zero", head + keys() + "000000000000\r\n" + kAll, 6},
        {"bad character", head + keys() + "0000000001G0\r\n" + kAll, 6},
        {"blank inside a line", head + keys() + "00000000 0100\r\n" + kAll, 6},
        {"empty line among data lines",
         head + keys() + dataLines(0, 0x7FFF) + "\r\n" + dataLines(0x8000, 0xFF7F), 6},
        {"line past the image end", head + keys() + kAll + dataLine(0x2092E, 2), 8},
        {"address beyond 32 bits of image", head + keys() + kAll + "FFFFFFFF0100\r\n", 8},
        {"one byte missing", head + keys() + dataLines(0, 0xFF7F, 8, 0x1234), 7},
        {"one missing plus one at 0xFF80",
         head + keys() + dataLines(0, 0xFF7F, 8, 0x1234) + dataLine(0xFF80, 1), 8},
        {"four lines, no data", head + keys(), 7},
        {"empty file", "", 6},
        {"header only, no line end", "33290000", 7},
    };
    TempDir dir;
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.File("case.ocd");
        WriteFileText(path, c.text);
        cmcEeprom scratch;
        EXPECT_EQ(cmcKvtFile::Code(indDataFile::Open(path, scratch)), c.expected);
        if (c.expected == 0) {
            ASSERT_EQ(scratch.GetSize(), cmcEeprom::kWorkSize);
            for (int32_t a : {0, 0x1234, 0xFF7F})
                EXPECT_EQ(scratch.GetByte(a), pattern(a));
            EXPECT_EQ(scratch.GetByte(0xFF80), 0);
        }
    }
    cmcEeprom scratch;
    EXPECT_EQ(indDataFile::Open(dir.File("missing.ocd"), scratch), cmcKvtFile::FileError::Open);
}

// The save this model makes is read back by every load it makes, byte for byte.
TEST(indDataFile, SaveThenLoadAndOpen) {
    TempDir dir;
    cmcEeprom image;
    image.SetSize(cmcEeprom::kWorkSize);
    for (int32_t a = 0; a < image.GetSize(); ++a)
        image.SetByte(a, pattern(a));
    std::string path = dir.File("saved.ocd");
    ASSERT_EQ(indDataFile::Save(path, image, "Site A"), cmcKvtFile::FileError::Ok);
    std::string text = ReadFileText(path);
    EXPECT_EQ(text.substr(0, 52), "33290000\r\n#Comment=Site A\r\n#MapRev=1\r\n#AdrBit=32\r\n00");
    EXPECT_EQ(text.size(), 50 + 4088 * 44u);

    cmcEeprom loaded;
    loaded.SetSize(cmcEeprom::kWorkSize);
    loaded.Fill(0x55);
    ASSERT_EQ(indDataFile::Load(path, loaded), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(std::memcmp(loaded.Data(), image.Data(), 0xFF80), 0);
    EXPECT_EQ(loaded.GetByte(0xFF80), 0x55); // beyond the radio memory: untouched

    cmcEeprom scratch;
    ASSERT_EQ(indDataFile::Open(path, scratch), cmcKvtFile::FileError::Ok);
    EXPECT_EQ(std::memcmp(scratch.Data(), image.Data(), 0xFF80), 0);

    // A failed load leaves the image exactly as it was.
    WriteFileText(path, text.substr(0, text.size() - 10));
    loaded.Fill(0x55);
    EXPECT_EQ(indDataFile::Load(path, loaded), cmcKvtFile::FileError::Format);
    for (int32_t a : {0, 0x100, 0xFF7F})
        EXPECT_EQ(loaded.GetByte(a), 0x55);
}
