// Tables written as spreadsheets expect them and read back field for field, and the dialects
// spreadsheets write (byte order mark, semicolons, bare line feeds) read the same.
#include "app/cmcCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(cmcCsv, WrittenRecordsReadBackFieldForField) {
    const std::vector<cmcCsv::Record> table = {
        {"No.", "Name", "Scan list"},
        {"  1", "A,B", "line one\nline two"},
        {"", "say \"hi\"", "a;b"},
        {"Grüße", "trailing ", "\r\n"},
    };
    std::string text;
    for (const cmcCsv::Record& r : table)
        text += cmcCsv::Write(r);
    EXPECT_EQ(cmcCsv::Write({"a b", "x,y", "q\""}), "a b,\"x,y\",\"q\"\"\"\r\n");

    std::vector<cmcCsv::Record> back;
    std::string error;
    ASSERT_TRUE(cmcCsv::Read(text, back, error)) << error;
    EXPECT_EQ(back, table);
}

TEST(cmcCsv, ReadsSpreadsheetDialects) {
    struct Case {
        const char* text;
        std::vector<cmcCsv::Record> records;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "a,b\n1,2\n",
         {{"a", "b"}, {"1", "2"}}},
        {"a;b\n\"1;5\";2,5\n", {{"a", "b"}, {"1;5", "2,5"}}},
        {"\"x,y\";b\n1;2", {{"x,y", "b"}, {"1", "2"}}}, // the header's quoted comma does not count
        {"a,b\n\n1,\n", {{"a", "b"}, {"1", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<cmcCsv::Record> records;
        std::string error;
        ASSERT_TRUE(cmcCsv::Read(c.text, records, error)) << error;
        EXPECT_EQ(records, c.records);
    }
    std::vector<cmcCsv::Record> records;
    std::string error;
    EXPECT_FALSE(cmcCsv::Read("a\n\"open\n", records, error));
    EXPECT_FALSE(error.empty());
}
