#include "Picture.h"

#include <QMouseEvent>

namespace toolkit {

Picture::Picture(QWidget* parent)
    : QLabel(parent) {}

void Picture::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button: the click counts only when released over the picture.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

} // namespace toolkit
