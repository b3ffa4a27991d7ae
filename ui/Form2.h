#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace toolkit {
struct CaptionBox;
}

namespace ui {

class Forms;

// The line editor: one source line to correct by hand, and Update to hand it back to the window
// that opened it, which connects lineUpdated() when it does.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(Forms& forms);

    // Puts the line to edit into the text box, replacing what was there.
    void setLine(const QString& line);
    QString line() const;

    static QList<toolkit::CaptionBox> captionBoxes();

signals:
    // Update was pressed with text in the box; the editor then closes.
    void lineUpdated(const QString& text);

private:
    void updateClicked();

    QLineEdit* Text1;      // the line being edited
    QPushButton* Command1; // "Update": updateClicked
    QLabel* Image1;        // the application icon, left of Update
    QLabel* Image2;        // the application icon, right of Update
};

} // namespace ui
