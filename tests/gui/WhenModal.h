#pragma once
// Acting on a modal window from a widget test: a modal window runs its own event loop, so the test
// schedules what it does there before the call that shows the window.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs act on the modal window that test accepts, once it shows.
inline void WhenModal(std::function<bool(QWidget*)> test, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, test, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && test(modal)) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}
