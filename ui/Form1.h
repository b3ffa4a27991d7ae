#pragma once

#include "model/DefinitionList.h"
#include "toolkit/SaveFileDialog.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace toolkit {
struct CaptionBox;
}

namespace ui {

class Forms;

// The main window: the inputs of one entity, Add, the source list (the definition list) and
// the buttons that lead to every other function. The source list shows only while expanded.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(Forms& forms);
    ~Form1() override;

    const model::DefinitionList& definitions() const { return m_list; }
    bool isExpanded() const { return m_expanded; }

    // Asks for a file name and writes the definition list with the mod information to it.
    void WriteFgdFile();

    // Puts text in place of the line last opened in the line editor: that line is removed and
    // text appended at the end. Does nothing when no opened line is waiting for its update.
    void replaceEditedLine(const QString& text);

    static QList<toolkit::CaptionBox> captionBoxes();

private:
    void addClicked();
    void viewSourceClicked();
    void editClicked();
    void extrasClicked();
    void saveClicked();
    void helpClicked();

    void showWindow(QWidget* window);
    void appendLine(const QString& line);
    void addListItem(const QString& line);
    void showSelection();

    Forms& m_forms;
    model::DefinitionList m_list;
    toolkit::SaveFileDialog CD;
    bool m_expanded = false;
    int m_editedPosition = model::DefinitionList::NoSelection;

    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QGroupBox* Frame3;
    QComboBox* Combo1;
    QComboBox* Combo3;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* Command1;
    QPushButton* Command2;
    QListWidget* List1;
    QPushButton* Command4;
    QPushButton* Command3;
    QPushButton* Command5;
    QPushButton* Command6;
    QLabel* Image1;
};

} // namespace ui
