#include "Form1.h"

#include "Forms.h"
#include "model/EntityLine.h"
#include "model/FgdWriter.h"
#include "model/Module1.h"
#include "resources/ApplicationIcon.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"
#include "toolkit/WindowToolkit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace ui {

using toolkit::px;
using toolkit::twipsRect;

namespace {

constexpr int ClientWidth = 7215;
constexpr int CollapsedHeight = 1770;
constexpr int ExpandedHeight = 4070;

const char* const ListFullMessage =
    "The source list is full: it already holds 32,767 lines, the most it can hold. "
    "Nothing was added.";

template <typename Widget> Widget* place(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    return place(new QPushButton(QString::fromLatin1(caption), parent), name, geometry);
}

} // namespace

Form1::Form1(Forms& forms)
    : m_forms(forms)
    , CD(forms.toolkit(), {QStringLiteral("Choose FileName for Output"), QStringLiteral("fgd"),
                           QStringLiteral("*.fgd")}) {
    setWindowTitle(QStringLiteral("Tarvok's GUI .FGD Program"));
    setWindowIcon(resources::applicationIcon());
    toolkit::makeFixedFrame(this, toolkit::twipsSize(ClientWidth, CollapsedHeight));

    // The group boxes are made first so that they lie beneath the controls drawn on them;
    // those controls are children of the window, not of the boxes.
    Frame1 = place(new QGroupBox(QStringLiteral("Pointsize"), this), "Frame1",
                   twipsRect(0, 0, 2295, 1215));
    Frame2 = place(new QGroupBox(QStringLiteral("Entity Info"), this), "Frame2",
                   twipsRect(2280, 0, 2295, 1215));
    Frame3 = place(new QGroupBox(QStringLiteral("\"Real Life\" Name"), this), "Frame3",
                   twipsRect(4560, 0, 2655, 1215));

    Combo1 = place(new QComboBox(this), "Combo1", twipsRect(120, 240, 2055, 315));
    for (const model::EntityClassKind& kind : model::EntityClassKinds())
        Combo1->addItem(kind.name);
    Combo1->setCurrentIndex(-1);

    Combo3 = place(new QComboBox(this), "Combo3", twipsRect(2400, 240, 2055, 315));
    Combo3->addItems(model::EntityPrefixes());
    Combo3->setCurrentIndex(-1);

    Text1 = place(new QLineEdit(QStringLiteral("Real Name"), this), "Text1",
                  twipsRect(4680, 240, 2415, 315));
    Text2 = place(new QLineEdit(QStringLiteral("Entity Suffix"), this), "Text2",
                  twipsRect(2400, 720, 2055, 315));

    Command1 = button(this, "Command1", "Add", twipsRect(120, 1200, 1455, 495));
    Command2 = button(this, "Command2", "View Souce", twipsRect(3120, 1200, 855, 495));

    List1 = place(new QListWidget(this), "List1", twipsRect(120, 1800, 6255, 2205));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setSortingEnabled(false);
    List1->setUniformItemSizes(true);
    List1->addItems(m_list.lines());

    Command4 = button(this, "Command4", "Edit", twipsRect(6480, 1800, 615, 615));
    Command3 = button(this, "Command3", "Extras", twipsRect(4080, 1200, 1575, 495));
    Command5 = button(this, "Command5", "Save", twipsRect(1560, 1200, 1455, 495));
    Command6 = button(this, "Command6", "Help!", twipsRect(5760, 1200, 1335, 495));

    Image1 = place(new QLabel(this), "Image1", twipsRect(6600, 2520, 480, 480));
    Image1->setPixmap(resources::applicationPicture());

    const QList<QWidget*> tabOrder{Combo1, Combo3,   Text1,    Text2,    Command1, Command2,
                                   List1,  Command4, Command3, Command5, Command6};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(Command1, &QPushButton::clicked, this, &Form1::addClicked);
    connect(Command2, &QPushButton::clicked, this, &Form1::viewSourceClicked);
    connect(Command4, &QPushButton::clicked, this, &Form1::editClicked);
    connect(Command3, &QPushButton::clicked, this, &Form1::extrasClicked);
    connect(Command5, &QPushButton::clicked, this, &Form1::saveClicked);
    connect(Command6, &QPushButton::clicked, this, &Form1::helpClicked);
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = List1->selectedItems();
        m_list.select(selected.isEmpty() ? model::DefinitionList::NoSelection
                                         : List1->row(selected.first()));
    });

    toolkit::centreOnScreen(this);
}

Form1::~Form1() = default;

QList<toolkit::CaptionBox> Form1::captionBoxes() {
    // Buttons and group box titles; the toggle's three captions share one button.
    return {
        {QStringLiteral("Add"), px(1455), px(495)},
        {QStringLiteral("Save"), px(1455), px(495)},
        {QStringLiteral("View Souce"), px(855), px(495)},
        {QStringLiteral("Hide Source"), px(855), px(495)},
        {QStringLiteral("Show Source"), px(855), px(495)},
        {QStringLiteral("Extras"), px(1575), px(495)},
        {QStringLiteral("Help!"), px(1335), px(495)},
        {QStringLiteral("Edit"), px(615), px(615)},
        {QStringLiteral("monster_"), px(2055) - 20, px(315)},
        {QStringLiteral("Entity Suffix"), px(2055), px(315)},
    };
}

void Form1::addClicked() {
    if (m_list.isFull()) {
        m_forms.toolkit().messageBox(this, QString::fromLatin1(ListFullMessage),
                                     QStringLiteral("Error"), toolkit::MessageIcon::None);
        return;
    }
    const QString line = model::ComposeEntityLine(
        Combo1->currentText(), Combo3->currentText(), Text2->text(), Text1->text(), [this] {
            return m_forms.toolkit().inputBox(this, QString::fromLatin1(model::CustomSizePrompt),
                                              QString::fromLatin1(model::CustomSizeTitle));
        });
    appendLine(line);
}

void Form1::viewSourceClicked() {
    if (!m_expanded) {
        Command2->setText(QStringLiteral("Hide Source"));
        toolkit::setFixedClientHeight(this, px(ExpandedHeight));
    } else {
        Command2->setText(QStringLiteral("Show Source"));
        toolkit::setFixedClientHeight(this, px(CollapsedHeight));
    }
    m_expanded = !m_expanded;
}

void Form1::editClicked() {}

void Form1::extrasClicked() {}

void Form1::saveClicked() {
    WriteFgdFile();
}

void Form1::helpClicked() {}

void Form1::WriteFgdFile() {
    const QString errorTitle = QStringLiteral("An Error has Occurred");
    const std::optional<QString> path = CD.showSave(this);
    if (!path || path->isEmpty()) {
        m_forms.toolkit().messageBox(this, QStringLiteral("No File Selected"), errorTitle,
                                     toolkit::MessageIcon::None);
        return;
    }
    const model::SaveResult result =
        model::SaveDefinitions(*path, m_list, m_forms.module1().modInfo);
    if (!result.ok)
        m_forms.toolkit().messageBox(this, result.error, errorTitle, toolkit::MessageIcon::None);
}

void Form1::replaceEditedLine(const QString& text) {
    const int position = m_editedPosition;
    if (!m_list.replaceAt(position, text))
        return;
    m_editedPosition = model::DefinitionList::NoSelection;
    {
        const QSignalBlocker blocker(List1);
        delete List1->takeItem(position);
        List1->addItem(text);
    }
    showSelection();
}

void Form1::appendLine(const QString& line) {
    if (!m_list.append(line))
        return;
    List1->addItem(line);
}

void Form1::showSelection() {
    const QSignalBlocker blocker(List1);
    const int selected = m_list.selectedPosition();
    if (selected == model::DefinitionList::NoSelection) {
        List1->clearSelection();
        List1->setCurrentRow(-1);
    } else {
        List1->setCurrentRow(selected);
    }
}

} // namespace ui
