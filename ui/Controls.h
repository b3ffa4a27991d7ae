#pragma once

#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>
#include <QMimeData>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStringView>
#include <QWidget>

#include <initializer_list>
#include <limits>
#include <span>

namespace ui {

// Whether the interface font must fit a control's caption in its box, and how: inside the
// control's own frame (buttons, text boxes), or the whole box (labels).
enum class Fit { None, Framed, Bare };

// One control of a window's design: its name, its caption (or first text), and its place in
// twips. Each window keeps one table of these; the controls are made from it and the interface
// font is fitted to it, so a size is written once.
struct Control {
    const char* name;
    QStringView caption;
    int left, top, width, height;
    Fit fit = Fit::None;

    constexpr QRect rect() const { return toolkit::twipsRect(left, top, width, height); }
    // The room this control gives text, less narrower pixels of its own (a drop-down's arrow).
    toolkit::CaptionBox box(const QString& text, int narrower = 0) const {
        return {text, toolkit::px(width) - narrower, toolkit::px(height),
                fit == Fit::Bare ? 0 : toolkit::CaptionBox::StyleFrame};
    }
};

// The captions of a window's table that the interface font must fit.
inline QList<toolkit::CaptionBox> captionBoxes(std::span<const Control> table) {
    QList<toolkit::CaptionBox> boxes;
    for (const Control& control : table) {
        if (control.fit != Fit::None)
            boxes.append(control.box(control.caption.toString()));
    }
    return boxes;
}

// Names a control as the window's table names it and puts it at its designed place.
template <typename Widget> Widget* place(Widget* widget, const Control& control) {
    widget->setObjectName(QString::fromLatin1(control.name));
    widget->setGeometry(control.rect());
    return widget;
}

// A button that Return and the keypad's Enter press while it has the focus, as Space does and
// as every button does on Windows. It is no default button: Return in a text box presses none.
// (Qt's auto-default buttons would do the same, but their styles draw them smaller.)
class Button : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            !event->isAutoRepeat()) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

inline QPushButton* button(QWidget* parent, const Control& control) {
    return place(new Button(control.caption.toString(), parent), control);
}

// A one-line text box. Files dragged over it are the window's to take or refuse, as anywhere
// else on it: a text box would type their addresses (file:///...) into its text, which would go
// on into the list and the saved file. Text dragged from another box drops as usual.
class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls())
            return event->ignore(); // passed on to the window
        QLineEdit::dragEnterEvent(event);
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (event->mimeData()->hasUrls())
            return event->ignore();
        QLineEdit::dragMoveEvent(event);
    }
    void dropEvent(QDropEvent* event) override {
        if (event->mimeData()->hasUrls())
            return event->ignore();
        QLineEdit::dropEvent(event);
    }
};

// A one-line text box that holds a whole source line, however long: Qt's default limit of
// 32,767 characters would cut a longer line without a word. Qt lays out and measures the whole
// text at each change and each paint; without the shaping that Latin text does not need (the
// font stays the window's), a 5 MB line opens in the line editor in well under a second.
inline QLineEdit* textBox(QWidget* parent, const Control& control) {
    QLineEdit* box = place(new TextBox(control.caption.toString(), parent), control);
    box->setMaxLength(std::numeric_limits<int>::max());
    QFont unshaped;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    box->setFont(unshaped);
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
