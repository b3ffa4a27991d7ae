#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <limits>

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

// A one-line text box that holds a whole source line, however long: Qt's default limit of
// 32,767 characters would cut a longer line without a word.
inline QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    QLineEdit* box = place(new QLineEdit(text, parent), name, geometry);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
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
