// The desktop program. Start-up builds the global objects in their order (environment with the
// settings and the single-instance lock, overlay tables, loop and event manager, main window); a
// second instance ends at once. With --screenshot the program saves a picture of its main window
// once the sheet is painted and exits, 0 only when the picture shows the sheet asked for; --port sets
// the serial device the clone commands use for this session (the stored port setting is kept unless
// the user chooses another port meanwhile). With --print-pdf the program prints without a display
// (the sheets Print all prints, or the --sheet alone) into a PDF file and exits.
#include "OstrelBuildDate.h"
#include "OstrelVersion.h"
#include "PrintPdf.h"
#include "app/indEnviron.h"
#include "clone/cmcPortMap.h"
#include "core/cmcAppDir.h"
#include "core/cmcEvMan.h"
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
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    std::string printPdf;
    bool help = false;
    bool version = false;
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
        else if (a == "--print-pdf")
            value(o.printPdf);
        else if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--version")
            o.version = true;
        // Other arguments ("/reserve", platform options) are left to their readers.
    }
    return o;
}

constexpr int kScreenshotTimeoutMs = 15000;
// How often a screenshot run looks whether the sheet is painted: often enough that the picture is
// taken soon after, without busy waiting.
constexpr int kScreenshotCheckMs = 10;

// For the start-up benchmark: the moment the sheet was seen painted, on the monotonic clock that
// the benchmark started the process by.
void ReportPainted() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("painted %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
}

// Message boxes of a screenshot run, which nobody is there to answer: the text goes to standard error
// and the answer is the cautious one (Cancel or No; OK where it is the only button). A failure box
// makes the run fail.
class ScreenshotMessageBox : public cmcMessageBox {
public:
    bool failed = false;
    Answer Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        if (icon == Icon::Error)
            failed = true;
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return Answer::Cancel;
        default:
            return Answer::No;
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    Options options = ParseOptions(argc, argv);
    const bool printing = !options.printPdf.empty();
    if (printing && !options.screenshot.empty())
        options.bad = true;
    if (options.version && !options.bad) {
        std::printf("ostrel %s\n", OSTREL_VERSION);
        return 0;
    }
    if (options.help || options.bad) {
        std::fprintf(
            options.bad ? stderr : stdout,
            "usage: ostrel [--port DEVICE] [--open FILE] [--sheet 'SHEET TEXT'] [--screenshot OUT.png]\n"
            "       ostrel --version\n"
            "       ostrel [--open FILE] --print-pdf OUT.pdf [--sheet 'SHEET TEXT']\n"
            "  --print-pdf OUT.pdf  print without a display into a PDF file and exit (0 when written): "
            "every\n"
            "                       sheet Print all prints, or only the --sheet given, from FILE (else the\n"
            "                       initial data); OUT is replaced only by a complete file\n");
        return options.bad ? 2 : 0;
    }
    // Printing needs no display: without a platform chosen, it runs off screen.
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cuiFatalBox::Install();

    cuiQtSettings store;
    QSize screen = app.primaryScreen() ? app.primaryScreen()->availableGeometry().size() : QSize(1024, 768);
    indEnviron env(store, std::make_unique<cuiQtInstanceLock>(indEnviron::kLockName), screen.width(),
                   screen.height());
    const bool screenshot = !options.screenshot.empty();
    // Printing changes no settings, so it runs beside an open program.
    if (!env.IsInstanceOwner() && !printing) {
        if (!screenshot)
            return 0;
        std::fprintf(stderr, "ostrel: another instance is running; no picture taken\n");
        return 1;
    }
    const int32_t storedPort = env.comPort;
    const std::string storedDevice = env.comDevice;
    int32_t givenPort = 0;
    if (!options.port.empty()) {
        // A device of a known family keeps its own number; any other path (a pseudo-terminal) takes
        // the number no family uses. Either way the path given is the device of that number.
        std::string name = options.port.rfind("/dev/", 0) == 0 ? options.port.substr(5) : std::string();
        givenPort = cmcPortMap::NumberOfDevice(name);
        if (givenPort == 0)
            givenPort = cmcPortMap::kMaxPort;
        env.comPort = givenPort;
        env.comDevice = options.port;
    }
    cmcTextTables tables;
    env.language = tables.Load(cmcAppDir(), env.language);
    cuiQtLoop loop;
    cmcEvMan events(loop);
    cuiQtMessageBox box;
    ScreenshotMessageBox quietBox;

    cuiMain::Services services;
    services.env = &env;
    services.tables = &tables;
    services.events = &events;
    services.box = screenshot || printing ? static_cast<cmcMessageBox*>(&quietBox) : &box;
    services.loop = &loop;
    services.version = OSTREL_VERSION;
    services.buildDate = OSTREL_BUILD_DATE;
    int result = 0;
    {
        cuiMain window(services);
        box.SetParent(&window);
        window.Start();
        window.ApplyCommandLine(std::vector<std::string>(argv, argv + argc));
        bool failed = false;
        if (!options.open.empty() && !window.OpenFile(options.open)) {
            std::fprintf(stderr, "ostrel: cannot open %s\n", options.open.c_str());
            failed = true;
        }
        if (printing) {
            // Nothing is printed from data that did not open: the initial data is not what was asked for.
            result = failed ? 1 : PrintPdf(window, env.printerFontSize, options.sheet, options.printPdf);
        } else {
            window.show();
            bool noSheet = false;
            if (!options.sheet.empty() && !window.SelectTreeNode(options.sheet) &&
                !window.OpenSheet(options.sheet)) {
                std::fprintf(stderr, "ostrel: no sheet '%s'\n", options.sheet.c_str());
                noSheet = true;
            }

            QElapsedTimer clock;
            clock.start();
            QTimer shot;
            if (screenshot) {
                QObject::connect(&shot, &QTimer::timeout, [&] {
                    bool painted = window.SheetView() && window.SheetView()->Painted();
                    if (!painted && !noSheet && clock.elapsed() < kScreenshotTimeoutMs)
                        return;
                    shot.stop();
                    if (painted && std::getenv("OSTREL_REPORT_PAINTED"))
                        ReportPainted();
                    // Grabbing renders the whole window, the sheet included, whether or not the platform
                    // had painted it yet: whether the picture shows a sheet is known only afterwards.
                    QPixmap picture = window.grab();
                    painted = window.SheetView() && window.SheetView()->Painted();
                    bool saved = picture.save(QString::fromStdString(options.screenshot));
                    if (!saved)
                        std::fprintf(stderr, "ostrel: cannot write %s\n", options.screenshot.c_str());
                    else if (!painted)
                        std::fprintf(stderr, "ostrel: %s shows no sheet\n", options.screenshot.c_str());
                    if (quietBox.failed && !failed)
                        std::fprintf(stderr, "ostrel: the picture was taken after a failure (see above)\n");
                    result = saved && painted && !failed && !quietBox.failed ? 0 : 1;
                    app.quit();
                });
                shot.start(kScreenshotCheckMs);
            }
            app.exec();
        }
    }
    if (givenPort != 0 && env.comPort == givenPort && env.comDevice == options.port) {
        env.comPort = storedPort;
        env.comDevice = storedDevice;
    }
    return result;
}
