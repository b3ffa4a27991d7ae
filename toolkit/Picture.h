#pragma once

#include <QLabel>

namespace toolkit {

// A picture control that can be clicked, like a button without a frame.
class Picture : public QLabel {
    Q_OBJECT

public:
    explicit Picture(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace toolkit
