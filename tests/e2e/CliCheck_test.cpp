// ostrel-cli check, run as a process: its output and exit status for a good file and for failures.
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/indDataFile.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CliCheck, ReportsOkOrTheFileErrorAsExitStatus) {
    ASSERT_FALSE(CliBinDir().empty());
    cmcTextTables tables;
    tables.Load(CliBinDir(), 0);
    auto message = [&](int code) {
        return tables.Text().GetJoinedText(
                   cmcKvtFile::FileErrorKey(static_cast<cmcKvtFile::FileError>(code))) +
               "\n";
    };

    TempDir dir;
    cmcEeprom image;
    image.SetSize(cmcEeprom::kWorkSize);
    ASSERT_EQ(indDataFile::Save(dir.File("data.ocd"), image, "e2e"),
              cmcKvtFile::FileError::Ok); // fails the data check
    image.SetByte(0x80, 0x33);            // the radio model value and a valid byte 0x108 pass it
    image.SetByte(0x81, 0x28);
    image.SetByte(0x108, 0x01);
    ASSERT_EQ(indDataFile::Save(dir.File("good.ocd"), image, "e2e"), cmcKvtFile::FileError::Ok);
    std::string text = ReadFileText(dir.File("good.ocd"));
    WriteFileText(dir.File("model.ocd"), "33280000" + text.substr(8));
    WriteFileText(dir.File("short.ocd"), text.substr(0, text.size() - 44)); // last line missing

    struct Case {
        std::string file;
        int status;
        std::string out;
    };
    const std::vector<Case> cases = {
        {dir.File("good.ocd"), 0, "OK\n"},        {dir.File("model.ocd"), 3, message(3)},
        {dir.File("data.ocd"), 8, message(8)},    {dir.File("short.ocd"), 7, message(7)},
        {dir.File("missing.ocd"), 1, message(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CliRun run = RunCli({"check", c.file});
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
    }

    CliRun usage = RunCli({"check"});
    EXPECT_EQ(usage.status, 64);
    EXPECT_EQ(usage.out, "");
}
