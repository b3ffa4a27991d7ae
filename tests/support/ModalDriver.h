#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs act on the next modal dialog once it is open. act must close the dialog and only record
// what it saw; assertions belong after the dialog has returned, so a failure never leaves a
// dialog open and the test hanging. Gives up after about five seconds.
inline void whenModalOpens(std::function<void(QWidget*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, qApp, [act = std::move(act), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        } else if (triesLeft > 0) {
            whenModalOpens(std::move(act), triesLeft - 1);
        }
    });
}
