#pragma once

#include <QSize>

class QIcon;
class QWidget;

namespace toolkit {

// A top-level window the user cannot resize, with a close box but no minimise or maximise box.
void makeFixedFrame(QWidget* window, QSize clientSize);

// A top-level window of the given client size with minimise and maximise boxes.
void makeResizableFrame(QWidget* window, QSize clientSize);

// Changes the client height of a fixed-frame window, keeping its width.
void setFixedClientHeight(QWidget* window, int height);

// Places the window's frame, title bar included, in the middle of the screen it will appear on
// when it is first shown.
void centreOnScreen(QWidget* window);

} // namespace toolkit
