#include "platform/cuiFatalBox.h"

#include "core/cmcFatal.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

void cuiFatalBox::Install() {
    cmcSetFatalHandler([](const std::string& text, const std::string& caption) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
        QString platform = QGuiApplication::platformName();
        // Without a screen nobody could close the box.
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
            QMessageBox box(QMessageBox::Critical, QString::fromStdString(caption),
                            QString::fromStdString(text), QMessageBox::Ok);
            box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            box.exec();
        }
        std::abort();
    });
}
