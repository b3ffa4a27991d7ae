#include "Form1.h"

#include "Controls.h"
#include "Form2.h"
#include "Form3.h"
#include "Form4.h"
#include "Forms.h"
#include "game/Compose.h"
#include "game/GameClasses.h"
#include "model/EntityLine.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"
#include "model/IncludedClasses.h"
#include "model/Module1.h"
#include "model/SourceList.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"
#include "toolkit/WindowToolkit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace ui {

using toolkit::px;

namespace {

constexpr int ClientWidth = 7215;
constexpr int CollapsedHeight = 1770;
constexpr int ExpandedHeight = 4070;
// The room a drop-down's arrow button takes from its text, in pixels.
constexpr int DropDownArrow = 20;

// The window's design: every control with its caption (or first text) and place in twips.
// The group boxes come first so that they lie beneath the controls drawn on them.
namespace Design {
constexpr Control Frame1{"Frame1", u"Pointsize", 0, 0, 2295, 1215};
constexpr Control Frame2{"Frame2", u"Entity Info", 2280, 0, 2295, 1215};
constexpr Control Frame3{"Frame3", u"\"Real Life\" Name", 4560, 0, 2655, 1215};
constexpr Control Combo1{"Combo1", u"", 120, 240, 2055, 315};
constexpr Control Combo3{"Combo3", u"", 2400, 240, 2055, 315};
constexpr Control Text1{"Text1", u"Real Name", 4680, 240, 2415, 315};
constexpr Control Text2{"Text2", u"Entity Suffix", 2400, 720, 2055, 315, Fit::Framed};
constexpr Control Command1{"Command1", u"Add", 120, 1200, 1455, 495, Fit::Framed};
constexpr Control Command2{"Command2", u"View Souce", 3120, 1200, 855, 495, Fit::Framed};
constexpr Control List1{"List1", u"", 120, 1800, 6255, 2205};
constexpr Control Command4{"Command4", u"Edit", 6480, 1800, 615, 615, Fit::Framed};
constexpr Control Command3{"Command3", u"Extras", 4080, 1200, 1575, 495, Fit::Framed};
constexpr Control Command5{"Command5", u"Save", 1560, 1200, 1455, 495, Fit::Framed};
constexpr Control Command6{"Command6", u"Help!", 5760, 1200, 1335, 495, Fit::Framed};
constexpr Control Image1{"Image1", u"", 6600, 2520, 480, 480};
constexpr std::array Table{Frame1,   Frame2,   Frame3,   Combo1,   Combo3,
                           Text1,    Text2,    Command1, Command2, List1,
                           Command4, Command3, Command5, Command6, Image1};
// The toggle's other two captions, shown in Command2's box.
const QString HideSource = QStringLiteral("Hide Source");
const QString ShowSource = QStringLiteral("Show Source");
} // namespace Design

// A note such as "class names are not checked: ..." as a message begins it.
QString sentence(const QString& note) {
    return note.left(1).toUpper() + note.mid(1);
}

// The .fgd files a drag carries; empty when it carries anything else.
QStringList fgdFiles(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile() ||
            !url.fileName().endsWith(QStringLiteral(".fgd"), Qt::CaseInsensitive))
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// What a drop names as the game, one folder (a mod's, or its game code's), liblist.gam or server
// library, or the empty text.
QString gamePath(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QFileInfo file(urls.first().toLocalFile());
    const QString name = file.fileName().toLower();
    if (file.isDir() || name == u"liblist.gam" || name.endsWith(u".dll") || name.endsWith(u".so") ||
        name.endsWith(u".dylib"))
        return file.absoluteFilePath();
    return {};
}

// The source list as the view shows it: a marked line carries the platform's error, warning or
// (for a note) information sign, loaded once when first needed.
class MarkSigns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DecorationRole)
            return QIdentityProxyModel::data(index, role);
        using fgd::Severity;
        switch (Severity(QIdentityProxyModel::data(index, model::SourceList::MarkRole).toInt())) {
        case Severity::None:
            return {};
        case Severity::Note:
            return sign(m_note, QStyle::SP_MessageBoxInformation);
        case Severity::Warning:
            return sign(m_warning, QStyle::SP_MessageBoxWarning);
        case Severity::Error:
            return sign(m_error, QStyle::SP_MessageBoxCritical);
        }
        return {};
    }

private:
    static const QIcon& sign(QIcon& icon, QStyle::StandardPixmap kind) {
        if (icon.isNull())
            icon = QApplication::style()->standardIcon(kind);
        return icon;
    }

    mutable QIcon m_note;
    mutable QIcon m_warning;
    mutable QIcon m_error;
};

// The source list box. As a Windows list box keeps its line, a click below the last line or a
// Ctrl+click on the selected line leaves the selection as it is: only choosing another line
// changes it. The keyboard selects as before.
class SourceView : public QListView {
public:
    using QListView::QListView;

protected:
    // A list of one column steps sideways by the width of its widest line: one click on an arrow
    // of the scroll bar would jump past the end of most lines and show an empty list. It steps
    // by a few characters instead, as a list box does.
    void updateGeometries() override {
        QListView::updateGeometries();
        horizontalScrollBar()->setSingleStep(4 * fontMetrics().averageCharWidth());
    }

    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const QItemSelectionModel::SelectionFlags command =
            QListView::selectionCommand(index, event);
        const bool byMouse = event && (event->type() == QEvent::MouseButtonPress ||
                                       event->type() == QEvent::MouseButtonDblClick ||
                                       event->type() == QEvent::MouseMove ||
                                       event->type() == QEvent::MouseButtonRelease);
        // A click off the lines would clear; a Ctrl+click on the selected line deselects it.
        if (byMouse && (!index.isValid() || !(command & QItemSelectionModel::Select)))
            return QItemSelectionModel::NoUpdate;
        return command;
    }
};

// Draws every row with room for a sign, marked or not: rows keep one height whatever line comes
// first (the view takes every row's size from the first), and every line's text starts at the
// same place, with its sign, if any, in the column before it.
class SignColumn : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        if (const auto* view = qobject_cast<const QAbstractItemView*>(parent()))
            option->decorationSize = view->iconSize();
    }
};

} // namespace

Form1::Form1(Forms& forms)
    : m_forms(forms)
    , m_source(new model::SourceList(this))
    , CD(forms.toolkit(), {QStringLiteral("Choose FileName for Output"), QStringLiteral("fgd"),
                           QStringLiteral("*.fgd")}) {
    setFont(forms.font());
    setWindowTitle(QStringLiteral("Tarvok's GUI .FGD Program"));
    setWindowIcon(forms.icon());
    toolkit::makeFixedFrame(this, toolkit::twipsSize(ClientWidth, CollapsedHeight));

    // The group boxes are made first so that they lie beneath the controls drawn on them;
    // those controls are children of the window, not of the boxes.
    Frame1 = place(new QGroupBox(Design::Frame1.caption.toString(), this), Design::Frame1);
    Frame2 = place(new QGroupBox(Design::Frame2.caption.toString(), this), Design::Frame2);
    Frame3 = place(new QGroupBox(Design::Frame3.caption.toString(), this), Design::Frame3);

    Combo1 = place(new QComboBox(this), Design::Combo1);
    for (const model::EntityClassKind& kind : model::entityClassKinds())
        Combo1->addItem(kind.name);
    Combo1->setCurrentIndex(-1);

    Combo3 = place(new QComboBox(this), Design::Combo3);
    Combo3->addItems(model::entityPrefixes());
    Combo3->setCurrentIndex(-1);

    Text1 = textBox(this, Design::Text1);
    Text2 = textBox(this, Design::Text2);

    Command1 = button(this, Design::Command1);
    Command2 = button(this, Design::Command2);

    List1 = place(new SourceView(this), Design::List1);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setUniformItemSizes(true);
    // The signs fit the height of a plain text row, with a pixel apart above and below.
    const int sign = std::max(8, List1->fontMetrics().height() - 2);
    List1->setIconSize(QSize(sign, sign));
    List1->setItemDelegate(new SignColumn(List1));
    auto* signs = new MarkSigns(this);
    signs->setSourceModel(m_source);
    List1->setModel(signs);
    m_source->setEditorsHint(QStringLiteral("choose the editors from the list's right-click menu"));
    // A right-click on the list (or the menu key) chooses the editors its marks speak for, and
    // names the game whose class names they check. The menu has the windows' own font.
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.setFont(font());
        menu.addActions(List1->actions());
        menu.exec(List1->viewport()->mapToGlobal(at));
    });
    for (const fgd::Editors editor :
         {fgd::Editors(fgd::Editor::Hammer), fgd::Editors(fgd::Editor::Jack),
          fgd::Editors(fgd::Editor::TrenchBroom)}) {
        auto* action =
            new QAction(QStringLiteral("Check for %1").arg(fgd::editorNames(editor)), List1);
        action->setCheckable(true);
        action->setData(editor);
        connect(action, &QAction::triggered, this, [this, editor](bool checked) {
            const fgd::Editors targets = m_source->targets();
            chooseEditors(checked ? targets | editor : targets & ~editor);
        });
        List1->addAction(action);
        m_editorActions << action;
    }
    auto* separator = new QAction(List1);
    separator->setSeparator(true);
    List1->addAction(separator);
    m_gameEntry = new QAction(List1);
    m_gameEntry->setEnabled(false);
    List1->addAction(m_gameEntry);
    m_composeEntry = new QAction(QStringLiteral("Add the Game's Undeclared Classes..."), List1);
    connect(m_composeEntry, &QAction::triggered, this, &Form1::addUndeclaredClasses);
    List1->addAction(m_composeEntry);
    connect(m_source, &model::SourceList::targetsChanged, this, &Form1::showTargets);
    connect(m_source, &model::SourceList::gameChanged, this, &Form1::showGame);
    showTargets();
    showGame();

    Command4 = button(this, Design::Command4);
    Command3 = button(this, Design::Command3);
    Command5 = button(this, Design::Command5);
    Command6 = button(this, Design::Command6);

    Image1 = place(new QLabel(this), Design::Image1);
    Image1->setPixmap(forms.icon().pixmap(32, 32));

    // The drop-downs and boxes have no caption of their own; screen readers speak the name of
    // the group box that frames each.
    Combo1->setAccessibleName(QStringLiteral("Pointsize"));
    Combo3->setAccessibleName(QStringLiteral("Entity Info: prefix"));
    Text2->setAccessibleName(QStringLiteral("Entity Info: suffix"));
    Text1->setAccessibleName(QStringLiteral("Real Life Name"));
    List1->setAccessibleName(QStringLiteral("Source"));
    Image1->setAccessibleName(QStringLiteral("Application icon"));
    chainTabOrder({Combo1, Combo3, Text1, Text2, Command1, Command2, List1, Command4, Command3,
                   Command5, Command6});

    // .fgd files dropped anywhere on the window are appended, over the text boxes too, which
    // leave dropped files to the window (TextBox).
    setAcceptDrops(true);
    Text2->installEventFilter(this); // Down lists the game's names

    connect(Command1, &QPushButton::clicked, this, &Form1::addClicked);
    connect(Command2, &QPushButton::clicked, this, &Form1::viewSourceClicked);
    connect(Command4, &QPushButton::clicked, this, &Form1::editClicked);
    connect(Command3, &QPushButton::clicked, this, &Form1::extrasClicked);
    connect(Command5, &QPushButton::clicked, this, &Form1::saveClicked);
    connect(Command6, &QPushButton::clicked, this, &Form1::helpClicked);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = List1->selectionModel()->selectedRows();
        m_source->select(selected.isEmpty() ? model::DefinitionList::NoSelection
                                            : selected.first().row());
    });
    connect(m_source, &model::SourceList::selectionMoved, this, &Form1::showSelection);

    // With a game known, the suffix box offers the names it links after the chosen prefix.
    m_suffixes = new QStringListModel(this);
    auto* completer = new QCompleter(m_suffixes, this);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    completer->popup()->setFont(font());
    Text2->setCompleter(completer);
    connect(Combo3, &QComboBox::currentTextChanged, this, &Form1::offerSuffixes);
    connect(m_source, &model::SourceList::gameChanged, this, &Form1::offerSuffixes);

    toolkit::centreOnScreen(this);
}

Form1::~Form1() {
    // A game still being read is waited for: no thread outlives the window it reads for.
    for (QThread* reader : std::as_const(m_readers)) {
        reader->wait();
        delete reader;
    }
}

void Form1::chooseEditors(fgd::Editors editors) {
    m_source->chooseTargets(editors);
    showTargets(); // a choice of none is refused: the entry unchecked goes back
}

void Form1::chooseGame(const QString& path, FilesFrom from) {
    m_choosingGame = true;
    readGame(path, true, from);
}

void Form1::readGame(const QString& path, bool chosen, FilesFrom from) {
    // Read on a thread of its own: a source folder takes a moment, and the window paints and
    // answers meanwhile. Only the last request counts.
    const int request = ++m_gameRequest;
    auto reading = std::make_shared<game::GameReading>();
    // A source folder is read with what composing declarations needs too (the menu's entry).
    QThread* reader = QThread::create(
        [path, reading] { *reading = game::readGame(path, game::SourceDetail::ForComposing); });
    m_readers.append(reader);
    connect(reader, &QThread::finished, this, [this, reader, reading, request, chosen, from, path] {
        m_readers.removeOne(reader);
        reader->wait(); // it has finished: this returns at once
        delete reader;
        if (request != m_gameRequest)
            return;
        if (chosen)
            m_choosingGame = false;
        const bool dropped = chosen && from == FilesFrom::Drop;
        // What was left out of a source folder is said with what came of it.
        const QString notes = reading->notes.isEmpty()
                                  ? QString()
                                  : QStringLiteral("\n\n") + reading->notes.join(u'\n');
        if (reading->game) {
            m_noGame.clear();
            m_source->setGame(reading->game, chosen);
            if (dropped) {
                m_forms.toolkit().messageBox(
                    this,
                    QStringLiteral("The marks now check class names against %1, which links %2 "
                                   "classes. Right-click the source list to see which game the "
                                   "marks use.%3")
                        .arg(QDir::toNativeSeparators(reading->game->source))
                        .arg(reading->game->names.size())
                        .arg(notes),
                    QStringLiteral("Game"), toolkit::MessageIcon::Information);
            }
        } else if (chosen) {
            const QString text = dropped ? QStringLiteral("The dropped game cannot be read: %1.")
                                         : QStringLiteral("The game given with --game cannot be "
                                                          "read: %1.");
            whenOnScreen([this, text = text.arg(reading->error) + notes] { errorBox(text); });
            // The file opened while it was read falls back on its own liblist.gam.
            if (std::exchange(m_liblistWaits, false) && !m_source->gameChosen()) {
                emit gameRead();
                readOwnGame();
                return;
            }
        } else {
            // The opened file's own liblist.gam leads nowhere: its class names go unchecked,
            // and the user is told so now and in the list's menu.
            m_noGame = game::gameNotCheckedNote(path, reading->error);
            showGame();
            whenOnScreen([this, note = sentence(m_noGame)] { errorBox(note + u'.'); });
        }
        emit gameRead();
    });
    reader->start();
}

void Form1::readOwnGame() {
    ++m_gameRequest; // a game still being read for the file before is not this one's
    m_noGame.clear();
    m_source->setGame(std::nullopt, false);
    showGame();
    if (const std::optional<QString>& liblist = m_source->surroundings().liblist)
        readGame(*liblist, false, FilesFrom::CommandLine);
}

void Form1::offerSuffixes() {
    QStringList suffixes;
    if (const std::optional<game::GameClasses>& game = m_source->game()) {
        const QString prefix = Combo3->currentText();
        for (const QString& name : game->names) {
            if (name.startsWith(prefix) && name.size() > prefix.size())
                suffixes << name.mid(prefix.size());
        }
    }
    m_suffixes->setStringList(suffixes);
}

void Form1::showGame() {
    // Declarations are composed from a game's source, not from a library's names.
    m_composeEntry->setVisible(m_source->game() && !m_source->game()->code.links.isEmpty());
    if (const std::optional<game::GameClasses>& game = m_source->game())
        m_gameEntry->setText(QStringLiteral("Class names from %1 (%2 linked)")
                                 .arg(QDir::toNativeSeparators(QDir::cleanPath(game->source)))
                                 .arg(game->names.size()));
    else if (!m_noGame.isEmpty())
        m_gameEntry->setText(sentence(m_noGame));
    else
        m_gameEntry->setText(QStringLiteral("Class names are not checked: drop a mod's "
                                            "liblist.gam, server library or game code folder on "
                                            "the window"));
}

void Form1::addUndeclaredClasses() {
    const std::optional<game::GameClasses>& game = m_source->game();
    if (!game)
        return;
    const model::Surroundings& around = m_source->surroundings();
    const QList<game::ComposedClass> composed =
        game::composeClasses(*game, model::declarationsWithIncludes(m_source->definitions().lines(),
                                                                    around.includeFolder)
                                        .declarations);
    const QString source = QDir::toNativeSeparators(QDir::cleanPath(game->source));
    if (composed.isEmpty()) {
        m_forms.toolkit().messageBox(
            this,
            QStringLiteral("The source list declares every class %1 links that a mapper places.")
                .arg(source),
            QStringLiteral("Undeclared Classes"), toolkit::MessageIcon::Information);
        return;
    }
    QList<toolkit::Choice> choices;
    for (const game::ComposedClass& declaration : composed)
        choices.append({declaration.entity, declaration.lines.join(u'\n')});
    const std::optional<QList<int>> chosen = m_forms.toolkit().chooseItems(
        this,
        QStringLiteral("%1 links these classes, which the source list does not declare. Each "
                       "declaration is composed from the game's code; the checked ones are "
                       "added at the end of the list, where you can correct them as any line.")
            .arg(source),
        QStringLiteral("Undeclared Classes"), choices, QStringLiteral("Add"));
    if (!chosen || chosen->isEmpty())
        return;
    QStringList lines;
    for (const int index : *chosen)
        lines += composed.at(index).lines;
    if (!m_source->appendLines(lines)) {
        errorBox(QStringLiteral("The source list holds %1 lines and the chosen declarations add "
                                "%2: together they pass %3, the most it can hold. Nothing was "
                                "added.")
                     .arg(m_source->count())
                     .arg(lines.size())
                     .arg(model::DefinitionList::maxLinesText()));
        return;
    }
    showSource();
}

void Form1::whenOnScreen(const std::function<void()>& show) {
    if (!isVisible() || !windowHandle() || windowHandle()->isExposed()) {
        show();
        return;
    }
    if (m_onScreen.isEmpty())
        windowHandle()->installEventFilter(this);
    m_onScreen.append(show);
}

void Form1::showTargets() {
    const fgd::Editors targets = m_source->targets();
    for (QAction* action : std::as_const(m_editorActions)) {
        const fgd::Editors editor = action->data().toUInt();
        action->setChecked(targets & editor);
        // The last editor left cannot be taken away: the marks speak for at least one.
        action->setEnabled(targets != editor);
    }
}

const model::DefinitionList& Form1::definitions() const {
    return m_source->definitions();
}

QList<toolkit::CaptionBox> Form1::captionBoxes() {
    // The buttons and the suffix box's first text, the toggle's other captions in its box, and
    // the widest prefix beside the drop-down's arrow.
    QList<toolkit::CaptionBox> boxes = ui::captionBoxes(Design::Table);
    boxes += {Design::Command2.box(Design::HideSource), Design::Command2.box(Design::ShowSource),
              Design::Combo3.box(QStringLiteral("monster_"), DropDownArrow)};
    return boxes;
}

void Form1::addClicked() {
    if (m_source->isFull()) {
        errorBox(QStringLiteral("The source list is full: it already holds %1 lines, the most it "
                                "can hold. Nothing was added.")
                     .arg(model::DefinitionList::maxLinesText()));
        return;
    }
    const QString line = model::ComposeEntityLine(
        Combo1->currentText(), Combo3->currentText(), Text2->text(), Text1->text(), [this] {
            return m_forms.toolkit().inputBox(this, QString::fromLatin1(model::CustomSizePrompt),
                                              QString::fromLatin1(model::CustomSizeTitle));
        });
    m_source->append(line);
}

void Form1::viewSourceClicked() {
    if (!m_expanded) {
        Command2->setText(Design::HideSource);
        toolkit::setFixedClientHeight(this, px(ExpandedHeight));
    } else {
        Command2->setText(Design::ShowSource);
        toolkit::setFixedClientHeight(this, px(CollapsedHeight));
    }
    m_expanded = !m_expanded;
}

void Form1::editClicked() {
    const model::DefinitionList& list = m_source->definitions();
    if (list.count() == 0)
        return;
    const int selected = list.selectedPosition();
    const QString line = list.lineAt(selected);
    if (line.isEmpty()) {
        errorBox(QStringLiteral("Nothing Selected - Please select something and try again"));
        return;
    }
    // Update replaces this line, wherever the selection has moved to by then. An editor still
    // open for another line now edits this one.
    Form2* editor = m_forms.form2();
    disconnect(m_editorUpdate);
    m_editorUpdate =
        connect(editor, &Form2::lineUpdated, this, [this, selected](const QString& text) {
            disconnect(m_editorUpdate);
            m_source->update(selected, text);
        });
    editor->setLine(line);
    showWindow(editor);
}

void Form1::extrasClicked() {
    showWindow(m_forms.form3());
}

void Form1::saveClicked() {
    WriteFgdFile();
}

void Form1::helpClicked() {
    showWindow(m_forms.form4());
}

void Form1::showWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void Form1::WriteFgdFile() {
    const QString errorTitle = QStringLiteral("An Error has Occurred");
    const std::optional<QString> path = CD.showSave(this);
    if (!path || path->isEmpty()) {
        m_forms.toolkit().messageBox(this, QStringLiteral("No File Selected"), errorTitle,
                                     toolkit::MessageIcon::None);
        return;
    }
    const model::SaveResult result =
        model::SaveDefinitions(*path, m_source->definitions(), m_forms.module1().modInfo);
    if (!result.ok)
        m_forms.toolkit().messageBox(this, result.error, errorTitle, toolkit::MessageIcon::None);
}

void Form1::openFile(const QString& path) {
    model::ReadResult read = model::readFgdFile(path);
    if (!read.ok) {
        errorBox(read.error);
        return;
    }
    m_source->reset(std::move(read.contents.lines), model::Surroundings::ofFile(path));
    showSource();
    // Unless the user named the game, the file's own liblist.gam tells which it is for.
    m_liblistWaits = m_choosingGame;
    if (!m_source->gameChosen() && !m_choosingGame)
        readOwnGame();
    // The line an open editor was opened for is gone with the list it was in.
    disconnect(m_editorUpdate);
    if (read.contents.modInfo) {
        m_forms.module1().modInfo = *read.contents.modInfo;
        m_forms.module1().modInfoFromFile = true;
        CD.setFileName(QFileInfo(path).absoluteFilePath());
    }
}

void Form1::openFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    openFile(paths.first());
    if (paths.size() > 1)
        appendFiles(paths.mid(1), FilesFrom::CommandLine);
}

void Form1::appendFiles(const QStringList& paths, FilesFrom from) {
    QStringList lines;
    QStringList failures;
    for (const QString& path : paths) {
        const model::ReadResult read = model::readFgdFile(path);
        if (read.ok)
            lines += read.contents.lines;
        else
            failures << read.error;
    }
    if (!m_source->appendLines(lines)) {
        errorBox(QStringLiteral("The source list holds %1 lines and %2 add %3: together they "
                                "pass %4, the most it can hold. Nothing was added.")
                     .arg(m_source->count())
                     .arg(from == FilesFrom::Drop ? QStringLiteral("the dropped files")
                                                  : QStringLiteral("the files given on the "
                                                                   "command line"))
                     .arg(lines.size())
                     .arg(model::DefinitionList::maxLinesText()));
        return;
    }
    if (!lines.isEmpty())
        showSource();
    if (!failures.isEmpty())
        errorBox(failures.join(u'\n'));
}

void Form1::showSource() {
    // The user sees what came in.
    if (!m_expanded)
        viewSourceClicked();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!fgdFiles(event->mimeData()).isEmpty() || !gamePath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    if (const QString game = gamePath(event->mimeData()); !game.isEmpty()) {
        event->acceptProposedAction();
        chooseGame(game);
        return;
    }
    const QStringList paths = fgdFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // A message box must not open while the file manager still waits for the drop to end.
    QTimer::singleShot(0, this, [this, paths] { appendFiles(paths, FilesFrom::Drop); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed() &&
        !m_onScreen.isEmpty()) {
        windowHandle()->removeEventFilter(this);
        // After the expose is handled: a box is not opened from inside a paint.
        QTimer::singleShot(0, this, [this, waiting = std::exchange(m_onScreen, {})] {
            for (const std::function<void()>& show : waiting)
                show();
        });
    }
    if (type == QEvent::KeyPress && watched == Text2 &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
        !Text2->completer()->popup()->isVisible()) {
        // Down lists the names the game links after the chosen prefix: those that begin with
        // the box's text, or all of them when none does (an empty box, its first text).
        QCompleter* completer = Text2->completer();
        completer->setCompletionPrefix(Text2->text());
        if (completer->completionCount() == 0)
            completer->setCompletionPrefix(QString());
        if (completer->completionCount() > 0) {
            completer->complete();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::errorBox(const QString& text) {
    m_forms.toolkit().messageBox(this, text, QStringLiteral("Error"), toolkit::MessageIcon::None);
}

void Form1::showSelection(int position) {
    if (position == model::DefinitionList::NoSelection) {
        List1->selectionModel()->clear();
    } else {
        List1->setCurrentIndex(List1->model()->index(position, 0));
    }
}

} // namespace ui
