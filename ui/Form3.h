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
// It opens with empty boxes, or with the values of a file the run continues; Done stores all
// three values, Cancel none.
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
    QLineEdit* Text1;         // author
    QLineEdit* Text2;         // mod name
    QLineEdit* Text3;         // mod version
    QLabel* Label1;           // "Author:"
    QLabel* Label2;           // "Mod Version:"
    QLabel* Label3;           // "Mod Name:"
    QPushButton* Command1;    // "Cancel": cancelClicked
    QPushButton* Command2;    // "Done": doneClicked
    toolkit::Picture* Image1; // the application icon, clickable: imageClicked
};

} // namespace ui
