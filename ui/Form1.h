#pragma once

#include "fgd/Editors.h"

#include "model/DefinitionList.h"
#include "toolkit/SaveFileDialog.h"

#include <QList>
#include <QWidget>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;
class QThread;

namespace model {
class SourceList;
}
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

    const model::DefinitionList& definitions() const;
    bool isExpanded() const { return m_expanded; }

    // Asks for a file name and writes the definition list with the mod information to it.
    void WriteFgdFile();

    // Continues the FGD file at path: its definition lines take the place of the list. A file
    // this program saved also gives back its mod information, and the save dialog opens with its
    // name. A file that cannot be read changes nothing, and a message says why.
    void openFile(const QString& path);

    // Continues the first of paths with openFile() and appends the others with appendFiles(),
    // as the program does with the files it is started with.
    void openFiles(const QStringList& paths);

    // Appends the definition lines of the FGD files at paths, in order, without this program's
    // header and footer. Files that cannot be read are named in one message; when the lines
    // would not fit in the list, nothing is added and a message says so.
    // from: where the files came from, as the message names them.
    enum class FilesFrom { Drop, CommandLine };
    void appendFiles(const QStringList& paths, FilesFrom from);

    // Chooses the editors the source list's marks speak for, as its right-click menu does.
    void chooseEditors(fgd::Editors editors);

    // Learns the game whose class names the marks check from path: a liblist.gam, a server
    // library or a mod's source folder, as a drop on the window names it. It holds from now on,
    // over the liblist.gam of every file opened, also while it is still being read. What cannot
    // be read changes nothing, and a message says why; a dropped game that can be read is named
    // in a message too. from: where the path came from, as the messages name it.
    void chooseGame(const QString& path, FilesFrom from = FilesFrom::Drop);

    // The source list's menu entry that adds the game's undeclared classes: a choice box offers
    // the declarations composed from the game's source for the classes it links that the list
    // (and the files it @includes) does not declare, and those chosen are added at the end, all
    // or, past the list's limit, none.
    void addUndeclaredClasses();

    static QList<toolkit::CaptionBox> captionBoxes();

signals:
    // A game was read (or failed to be) for chooseGame() or an opened file's liblist.gam.
    void gameRead();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addClicked();
    void viewSourceClicked();
    void editClicked();
    void extrasClicked();
    void saveClicked();
    void helpClicked();

    void showWindow(QWidget* window);
    void showSource();
    void showTargets();
    void showGame();
    void readGame(const QString& path, bool chosen, FilesFrom from);
    // Reads the game the opened file's own liblist.gam names, if any, in place of the game before.
    void readOwnGame();
    // Runs show once the window is on the screen, so that a box opened by it stands over the
    // window: a game named at start-up may be read before the window manager has placed it.
    void whenOnScreen(const std::function<void()>& show);
    void offerSuffixes();
    void showSelection(int position);
    void errorBox(const QString& text);

    Forms& m_forms;
    model::SourceList* m_source;
    toolkit::SaveFileDialog CD;
    bool m_expanded = false;
    // Update in the line editor replaces the line it was opened for, through this connection.
    QMetaObject::Connection m_editorUpdate;

    // The controls keep the names and captions of the window's original design (see
    // ui/README.md); a caption's typo such as "View Souce" is kept on purpose.
    QGroupBox* Frame1;     // "Pointsize", around the class-kind drop-down
    QGroupBox* Frame2;     // "Entity Info", around the prefix drop-down and the suffix box
    QGroupBox* Frame3;     // "\"Real Life\" Name", around the real-world name box
    QComboBox* Combo1;     // class kind: Player, Weapon, Monster, Custom
    QComboBox* Combo3;     // entity prefix: weapon_, item_, ...
    QLineEdit* Text1;      // real-world name, "Real Name" at start
    QLineEdit* Text2;      // entity suffix, "Entity Suffix" at start
    QPushButton* Command1; // "Add": addClicked
    QPushButton* Command2; // "View Souce", then "Hide Source" / "Show Source": viewSourceClicked
    QListView* List1;      // the source list, shown while expanded
    QPushButton* Command4; // "Edit": editClicked
    QPushButton* Command3; // "Extras": extrasClicked
    QPushButton* Command5; // "Save": saveClicked, WriteFgdFile
    QPushButton* Command6; // "Help!": helpClicked
    QLabel* Image1;        // the application icon

    // The source list's right-click menu: one checkable entry per editor the marks speak for,
    // one that names the game whose class names the marks check, or why there is none, and,
    // with a game's source, one that adds its undeclared classes.
    QList<QAction*> m_editorActions;
    QAction* m_gameEntry = nullptr;
    QAction* m_composeEntry = nullptr;
    QString m_noGame; // why the opened file's own liblist.gam gave no game, or empty
    QList<std::function<void()>> m_onScreen; // what waits for the window to be on the screen
    // The names the suffix box offers, and the last request to read a game.
    QStringListModel* m_suffixes = nullptr;
    int m_gameRequest = 0;
    // A game the user chose is being read; a file opened meanwhile waits for it, not for its
    // own liblist.gam, unless the chosen game cannot be read.
    bool m_choosingGame = false;
    bool m_liblistWaits = false;
    QList<QThread*> m_readers; // the threads reading a game, until each is done
};

} // namespace ui
