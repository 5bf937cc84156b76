// The desktop program. Start-up builds the global objects in their order (environment with the
// settings and the single-instance lock, overlay tables, loop and event manager, main window); a
// second instance ends at once. With --screenshot the program saves a picture of its main window
// once the sheet is painted and exits; --port sets the serial device the clone commands use.
#include "app/cmcEvMan.h"
#include "app/indEnviron.h"
#include "core/cmcAppDir.h"
#include "core/cmcTextTables.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "platform/cuiFatalBox.h"
#include "platform/cuiQtInstanceLock.h"
#include "platform/cuiQtLoop.h"
#include "platform/cuiQtMessageBox.h"
#include "platform/cuiQtSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string screenshot;
    std::string open;
    std::string sheet;
    std::string port;
    bool help = false;
    bool bad = false;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 < argc)
                out = argv[++i];
            else
                o.bad = true;
        };
        if (a == "--screenshot")
            value(o.screenshot);
        else if (a == "--open")
            value(o.open);
        else if (a == "--sheet")
            value(o.sheet);
        else if (a == "--port")
            value(o.port);
        else if (a == "--help" || a == "-h")
            o.help = true;
        // Other arguments ("/reserve", platform options) are left to their readers.
    }
    return o;
}

constexpr int kScreenshotTimeoutMs = 15000;

} // namespace

int main(int argc, char** argv) {
    Options options = ParseOptions(argc, argv);
    if (options.help || options.bad) {
        std::fprintf(
            options.bad ? stderr : stdout,
            "usage: ostrel [--port DEVICE] [--open FILE] [--sheet 'SHEET TEXT'] [--screenshot OUT.png]\n");
        return options.bad ? 2 : 0;
    }
    QApplication app(argc, argv);
    cuiFatalBox::Install();

    cuiQtSettings store;
    QSize screen = app.primaryScreen() ? app.primaryScreen()->availableGeometry().size() : QSize(1024, 768);
    indEnviron env(store, std::make_unique<cuiQtInstanceLock>(indEnviron::kLockName), screen.width(),
                   screen.height());
    if (!env.IsInstanceOwner())
        return 0;
    if (!options.port.empty()) {
        // A port number above 4 stands for the device path stored beside it.
        env.comPort = 5;
        env.comDevice = options.port;
    }
    cmcTextTables tables;
    env.language = tables.Load(cmcAppDir(), env.language);
    cuiQtLoop loop;
    cmcEvMan events(loop);
    cuiQtMessageBox box;

    cuiMain::Services services;
    services.env = &env;
    services.tables = &tables;
    services.events = &events;
    services.box = &box;
    int result = 0;
    {
        cuiMain window(services);
        box.SetParent(&window);
        window.Start();
        window.ApplyCommandLine(std::vector<std::string>(argv, argv + argc));
        if (!options.open.empty())
            window.OpenFile(options.open);
        window.show();
        if (!options.sheet.empty() && !window.SelectTreeNode(options.sheet))
            window.OpenSheet(options.sheet);

        QElapsedTimer clock;
        clock.start();
        QTimer shot;
        if (!options.screenshot.empty()) {
            QObject::connect(&shot, &QTimer::timeout, [&] {
                bool painted = window.SheetView() && window.SheetView()->Painted();
                if (!painted && clock.elapsed() < kScreenshotTimeoutMs)
                    return;
                shot.stop();
                bool saved = window.grab().save(QString::fromStdString(options.screenshot));
                if (!saved)
                    std::fprintf(stderr, "ostrel: cannot write %s\n", options.screenshot.c_str());
                result = saved && painted ? 0 : 1;
                if (!painted)
                    std::fprintf(stderr, "ostrel: no sheet was painted\n");
                app.quit();
            });
            shot.start(100);
        }
        app.exec();
    }
    return result;
}
