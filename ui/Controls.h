#pragma once

#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <initializer_list>

namespace ui {

// Names a control as the window's table names it and puts it at its designed place.
template <typename Widget> Widget* place(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                           QRect geometry) {
    return place(new QPushButton(caption, parent), name, geometry);
}

// Makes Tab move through the controls in the given order.
inline void chainTabOrder(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace ui
