#pragma once

#include <QList>
#include <QWidget>

class QIcon;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace toolkit {
struct CaptionBox;
}

namespace ui {

// The help window: three tabs of text explaining the program, and Close.
class Form4 : public QWidget {
    Q_OBJECT

public:
    explicit Form4(const QIcon& icon, const QFont& font, QWidget* parent = nullptr);

    static QList<toolkit::CaptionBox> captionBoxes();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void placeTextBoxes();

    QTabWidget* SSTab1;    // tabs "General", "How To Use", "TroubleShooting"
    QPlainTextEdit* Text1; // the "General" text
    QPlainTextEdit* Text2; // the "How To Use" text, with a scroll bar
    QPlainTextEdit* Text3; // the "TroubleShooting" text
    QPushButton* Command1; // "Close"
    bool m_placed = false;
};

} // namespace ui
