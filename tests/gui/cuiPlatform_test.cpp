// The Qt adapters of the platform interfaces: settings file, instance lock, loop timers, canvas.
#include "app/indEnviron.h"
#include "cells/cmcCellFont.h"
#include "platform/cuiQtCanvas.h"
#include "platform/cuiQtColors.h"
#include "platform/cuiQtInstanceLock.h"
#include "platform/cuiQtLoop.h"
#include "platform/cuiQtSettings.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Runs the event loop until done() or 2 s have passed.
template <class Fn> bool SpinUntil(Fn done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

TEST(cuiQtSettings, DefaultFileLivesInTheUsersConfigFolder) {
    QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(config.isEmpty());
    EXPECT_EQ(cuiQtSettings::DefaultPath(), config + "/Zorv/Ostrel.conf");
}

TEST(cuiQtSettings, TypedValuesInNamedGroupsSurviveAReopen) {
    TempDir dir;
    QString path = QString::fromStdString(dir.File("s.conf"));
    {
        cuiQtSettings s(path);
        EXPECT_TRUE(s.WriteInt("Global", "ComPort", 7));
        EXPECT_TRUE(s.WriteText("Global", "Current Directory", "/home/a b/c,d"));
        EXPECT_TRUE(s.WriteText("Recent File List", "Recent0", ""));
        EXPECT_TRUE(s.WriteInt("Display/Banks/colwidth", "3", 120));
        EXPECT_TRUE(s.WriteInt("View Option", "FontSize Percentage", -5));
        EXPECT_TRUE(s.Sync());
    }
    cuiQtSettings s(path);
    EXPECT_EQ(s.ReadInt("Global", "ComPort"), 7);
    EXPECT_EQ(s.ReadText("Global", "Current Directory"), "/home/a b/c,d");
    EXPECT_EQ(s.ReadText("Recent File List", "Recent0"), "");
    EXPECT_EQ(s.ReadInt("Display/Banks/colwidth", "3"), 120);
    EXPECT_EQ(s.ReadInt("View Option", "FontSize Percentage"), -5);
    // A text is not an integer, and a missing value is none of either.
    EXPECT_EQ(s.ReadInt("Global", "Current Directory"), std::nullopt);
    EXPECT_EQ(s.ReadInt("Global", "Missing"), std::nullopt);
    EXPECT_EQ(s.ReadText("Nope", "Missing"), std::nullopt);

    EXPECT_TRUE(s.RemoveGroup("Display"));
    EXPECT_EQ(s.ReadInt("Display/Banks/colwidth", "3"), std::nullopt);
    EXPECT_EQ(s.ReadInt("Global", "ComPort"), 7);
}

TEST(cuiQtSettings, EnvironmentRoundTripsThroughTheFile) {
    TempDir dir;
    QString path = QString::fromStdString(dir.File("env.conf"));
    {
        cuiQtSettings store(path);
        indEnviron env(store, nullptr, 1024, 768);
        EXPECT_EQ(env.windowWidth, 800); // defaults on an empty store
        env.comPort = 3;
        env.fontSizePercentage = 150;
        env.currentDirectory = "/tmp/x y";
        env.recent.AddFront("/tmp/x y/a.ocd");
    }
    cuiQtSettings store(path);
    indEnviron env(store, nullptr, 1024, 768);
    EXPECT_EQ(env.comPort, 3);
    EXPECT_EQ(env.fontSizePercentage, 150);
    EXPECT_EQ(env.currentDirectory, "/tmp/x y");
    ASSERT_GE(env.recent.Count(), 1);
}

TEST(cuiQtInstanceLock, OnlyTheFirstHolderGetsTheLockUntilItIsDropped) {
    TempDir dir;
    QString folder = QString::fromStdString(dir.Path());
    auto first = std::make_unique<cuiQtInstanceLock>(indEnviron::kLockName, folder);
    EXPECT_TRUE(first->TryLock());
    EXPECT_TRUE(first->FilePath().endsWith("Zorv_Ostrel_APP_Exclusive_Mutex.lock"));
    cuiQtInstanceLock second(indEnviron::kLockName, folder);
    EXPECT_FALSE(second.TryLock());
    first.reset();
    EXPECT_TRUE(second.TryLock());
}

TEST(cuiQtInstanceLock, SecondEnvironmentIsNotTheOwnerAndWritesNothing) {
    TempDir dir;
    QString folder = QString::fromStdString(dir.Path());
    QString path = QString::fromStdString(dir.File("env.conf"));
    cuiQtSettings store(path);
    {
        indEnviron owner(store, std::make_unique<cuiQtInstanceLock>(indEnviron::kLockName, folder), 1024,
                         768);
        EXPECT_TRUE(owner.IsInstanceOwner());
        cuiQtSettings other(path);
        {
            indEnviron second(other, std::make_unique<cuiQtInstanceLock>(indEnviron::kLockName, folder), 1024,
                              768);
            EXPECT_FALSE(second.IsInstanceOwner());
            second.comPort = 9;
        }
        other.Sync();
        EXPECT_EQ(other.ReadInt("Global", "ComPort"), std::nullopt);
    }
}

TEST(cuiQtLoop, TimersFireRepeatedlyAndMayStopThemselves) {
    cuiQtLoop loop;
    int a = 0, b = 0;
    int idA = 0;
    idA = loop.StartTimer(5, [&] {
        if (++a == 3)
            loop.StopTimer(idA);
    });
    loop.StartTimer(1, [&] { ++b; });
    uint32_t start = loop.NowMs();
    EXPECT_TRUE(SpinUntil([&] { return a == 3 && b >= 5; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(a, 3);
    EXPECT_EQ(loop.TimerCount(), 1u);
    EXPECT_GE(loop.NowMs() - start, 10u);
    loop.StopTimer(12345); // unknown ids are ignored
}

TEST(cuiQtCanvas, ColoursFontsAndTextPenPosition) {
    EXPECT_EQ(cuiQtColors::ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(cuiQtColors::FromQColor(QColor(1, 2, 3)), 0x030201u);
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    cuiQtCanvas canvas(painter);
    cmcCellFont font;
    font.SetHeight(-12);
    font.color = 0x0000FF;
    canvas.SetCellFont(font);
    EXPECT_EQ(canvas.FontColor(), 0x0000FFu);
    int w = canvas.TextWidth("Hello");
    EXPECT_GT(w, 0);
    EXPECT_GT(canvas.TextHeight("Hello"), 0);
    canvas.TextOut(2, 3, "Hello");
    EXPECT_EQ(canvas.PenPos(), (cmcCanvas::Point{2 + w, 3}));
    canvas.SetBrush(0x00FF00, cmcCanvas::BrushStyle::Solid);
    canvas.FillRect({50, 0, 60, 10});
    canvas.SetPen(0x000000, 1);
    canvas.MoveTo(0, 39);
    canvas.LineTo(100, 39);
    painter.end();
    EXPECT_EQ(image.pixelColor(55, 5), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(99, 39), QColor(0, 0, 0));
    bool red = false;
    for (int x = 2; x < 2 + w && !red; ++x)
        for (int y = 3; y < 20 && !red; ++y)
            red = image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 100;
    EXPECT_TRUE(red); // the text was drawn in the font colour
}

} // namespace
