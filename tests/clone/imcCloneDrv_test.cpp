#include "clone/imcCloneDrv.h"
#include "core/cmcVirtualLoop.h"

#include "FakeSerial.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

struct ModelCommand {
    int sub;
    int value;
};

// Splits written bytes into the model command frames FE FE EE EF E8 mm mm ee ee sub hi lo FD.
std::vector<ModelCommand> Commands(const Bytes& bytes) {
    std::vector<ModelCommand> out;
    for (size_t i = 0; i + 12 < bytes.size() + 1; ++i) {
        if (bytes[i] == 0xFE && i + 12 < bytes.size() + 0 && bytes[i + 1] == 0xFE && bytes[i + 2] == 0xEE &&
            bytes[i + 4] == 0xE8 && bytes[i + 12] == 0xFD) {
            int value = std::stoi(std::string{char(bytes[i + 10]), char(bytes[i + 11])}, nullptr, 16);
            out.push_back({bytes[i + 9], value});
            i += 12;
        }
    }
    return out;
}

Bytes Answer(int modelHigh, int sub, int value) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", value);
    return {0xFE,
            0xFE,
            0xEF,
            0xEE,
            0xE8,
            uint8_t(modelHigh),
            0x29,
            0x00,
            0x00,
            uint8_t(sub),
            uint8_t(hex[0]),
            uint8_t(hex[1]),
            0xFD};
}

struct Rig {
    cmcVirtualLoop loop;
    FakeLine line{loop};
    imcAdjust adjust;
    imcCloneDrv drv{loop, MakeFake(line), adjust};
    bool done = false;
    int32_t status = -1;

    Rig() {
        drv.SetModelCodes(0x3329, 0);
        drv.SetEchoTest(false);
        drv.SetCommandText("(38400,N,8,1)");
    }
    imcCloneDrv::Done Callback() {
        return [this](dst_CDrv_Result& r) {
            done = true;
            status = r.status;
        };
    }
    int32_t Finish() {
        loop.RunUntil([&] { return done; }, 600000);
        return status;
    }
};

} // namespace

TEST(imcCloneDrv, CoarseSweepKeepsTheFirstAndLastBestValue) {
    Rig rig;
    rig.adjust.target = 1;
    rig.adjust.coarseSweep = true;
    int lastSet = 0;
    int refreshes = 0;
    rig.drv.SetRefreshHandler([&] { ++refreshes; });
    rig.line.responder = [&](const Bytes& written) {
        Bytes out;
        for (const ModelCommand& c : Commands(written)) {
            if (c.sub == 0x14)
                lastSet = c.value;
            if (c.sub == 3) { // the reading peaks at 50 and again at 52
                int reading = (lastSet == 0x50 || lastSet == 0x52) ? 200 : 100;
                Bytes a = Answer(0x33, 3, reading);
                out.insert(out.end(), a.begin(), a.end());
            }
        }
        return out;
    };
    ASSERT_TRUE(rig.drv.StartSweep(rig.Callback()));
    EXPECT_EQ(rig.Finish(), 0);
    std::vector<ModelCommand> sent = Commands(rig.line.AllWritten());
    int settings = 0, measurements = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
        if (sent[i].sub == 0x14) {
            EXPECT_EQ(sent[i].value, 10 + 2 * settings);
            ++settings;
            ASSERT_LT(i + 1, sent.size());
            EXPECT_EQ(sent[i + 1].sub, 3); // each setting is followed by a measurement request
            EXPECT_EQ(sent[i + 1].value, 2);
        } else if (sent[i].sub == 3) {
            ++measurements;
        }
    }
    EXPECT_EQ(settings, 71);
    EXPECT_EQ(measurements, 71);
    EXPECT_EQ(rig.adjust.sweep[1].best, 0x50);
    EXPECT_EQ(rig.adjust.sweep[1].last, 0x52);
    EXPECT_EQ(rig.adjust.sweep[1].highest, 200);
    EXPECT_EQ(refreshes, 71);
    EXPECT_EQ(rig.adjust.table1[5], 150);
}

TEST(imcCloneDrv, CommandListAndSingleCommands) {
    {
        Rig rig; // a list that starts with its end entry sends nothing
        imcCloneDrv::Entry end;
        rig.drv.SetModelCommandList(&end);
        ASSERT_TRUE(rig.drv.StartCommandList(rig.Callback()));
        EXPECT_EQ(rig.Finish(), 0);
        EXPECT_TRUE(rig.line.AllWritten().empty());
    }
    {
        Rig rig; // two entries, the second with an answer
        uint8_t value = 0x7A;
        uint8_t answer = 0;
        imcCloneDrv::Entry list[3];
        list[0].subCommand = 0x21;
        list[0].value = &value;
        list[1].subCommand = 0x22;
        list[1].answer = &answer;
        rig.line.responder = [&](const Bytes& written) {
            Bytes out;
            for (const ModelCommand& c : Commands(written))
                if (c.sub == 0x22)
                    out = Answer(0x33, 0x22, 0xC4);
            return out;
        };
        rig.drv.SetModelCommandList(list);
        ASSERT_TRUE(rig.drv.StartCommandList(rig.Callback()));
        EXPECT_EQ(rig.Finish(), 0);
        std::vector<ModelCommand> sent = Commands(rig.line.AllWritten());
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].sub, 0x21);
        EXPECT_EQ(sent[0].value, 0x7A);
        EXPECT_EQ(answer, 0xC4);
    }
    {
        Rig rig; // an answer from another model: format error, then the time-out ends it
        uint8_t answer = 0;
        rig.line.responder = [&](const Bytes&) { return Answer(0x34, 0x02, 0x01); };
        rig.drv.SetModelCommand(0x02, 0x01, &answer);
        EXPECT_TRUE(rig.drv.IsCommandPending());
        ASSERT_TRUE(rig.drv.StartCommand(rig.Callback()));
        EXPECT_EQ(rig.Finish(), 6);
        EXPECT_FALSE(rig.drv.IsCommandPending());
        EXPECT_EQ(answer, 0);
    }
    {
        Rig rig; // the repeated command goes out 20 times in one transmission
        rig.drv.SetModelCommand(0x05, 0x10, nullptr);
        ASSERT_TRUE(rig.drv.StartRepeated(rig.Callback()));
        EXPECT_EQ(rig.Finish(), 0);
        EXPECT_EQ(Commands(rig.line.AllWritten()).size(), 20u);
        EXPECT_EQ(rig.drv.CommandFrameText(0x05, 0x10), "FEFE EE EF E8 3329 0000 05 31 30 FD");
    }
}
