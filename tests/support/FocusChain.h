#pragma once

#include <QStringList>
#include <QWidget>

// The names of the given controls in the order Tab reaches them, starting from the first.
// Controls Tab never reaches are left out, so a missing name shows up in a comparison.
inline QStringList focusOrder(QWidget* window, const QStringList& names) {
    QStringList order;
    QWidget* widget = window->findChild<QWidget*>(names.value(0));
    for (int step = 0; widget && step < 500 && order.size() < names.size(); ++step) {
        if (names.contains(widget->objectName()) && !order.contains(widget->objectName()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    return order;
}
