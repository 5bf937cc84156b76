// The baseline of the start-up benchmark: a bare Qt main window (menu bar, status bar, one painted
// widget). Like `ostrel --screenshot`, it saves a picture of the window once it has painted and exits.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class PaintedWidget : public QWidget {
public:
    bool painted = false;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("baseline"));
        painted = true;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "--screenshot") != 0) {
        std::fprintf(stderr, "usage: startup_baseline --screenshot OUT.png\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    auto* view = new PaintedWidget;
    window.setCentralWidget(view);
    window.resize(800, 600);
    window.show();

    // The same check as the desktop program's screenshot mode: every 10 ms, once painted.
    int result = 1;
    QTimer shot;
    QObject::connect(&shot, &QTimer::timeout, [&] {
        if (!view->painted)
            return;
        shot.stop();
        if (std::getenv("OSTREL_REPORT_PAINTED")) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf(
                "painted %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
        }
        result = window.grab().save(path) ? 0 : 1;
        if (result != 0)
            std::fprintf(stderr, "startup_baseline: cannot write %s\n", argv[2]);
        app.quit();
    });
    shot.start(10);
    app.exec();
    return result;
}
