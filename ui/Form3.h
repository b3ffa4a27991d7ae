#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace toolkit {
class Picture;
struct CaptionBox;
} // namespace toolkit

namespace ui {

class Forms;

// The extras dialog: author, mod name and mod version for the header of saved files.
// It always opens with empty boxes; Done stores all three values, Cancel none.
class Form3 : public QWidget {
    Q_OBJECT

public:
    explicit Form3(Forms& forms);

    static QList<toolkit::CaptionBox> captionBoxes();

private:
    void cancelClicked();
    void doneClicked();
    void imageClicked();

    Forms& m_forms;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command1;
    QPushButton* Command2;
    toolkit::Picture* Image1;
};

} // namespace ui
