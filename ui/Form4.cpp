#include "Form4.h"

#include "Controls.h"
#include "resources/HelpTexts.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QPlainTextEdit>
#include <QTabWidget>

namespace ui {

using toolkit::px;
using toolkit::twipsRect;

namespace {

QPlainTextEdit* helpBox(QWidget* page, const char* name, const QString& text,
                        Qt::ScrollBarPolicy verticalBar) {
    auto* box = new QPlainTextEdit(text, page);
    box->setObjectName(QString::fromLatin1(name));
    box->setVerticalScrollBarPolicy(verticalBar);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return box;
}

// Where each text box lies, in twips from the tab control's top left corner.
const QRect Text1Place = twipsRect(120, 360, 4215, 2535);
const QRect Text2Place = twipsRect(120, 360, 4335, 2535);
const QRect Text3Place = twipsRect(120, 360, 4335, 2535);

} // namespace

Form4::Form4(const QIcon& icon, const QFont& font, QWidget* parent)
    : QWidget(parent) {
    setFont(font);
    setWindowTitle(QStringLiteral("Help"));
    setWindowIcon(icon);
    toolkit::makeResizableFrame(this, toolkit::twipsSize(4575, 3570));

    SSTab1 = place(new QTabWidget(this), "SSTab1", twipsRect(0, 120, 4575, 3015));
    auto* general = new QWidget(SSTab1);
    auto* howToUse = new QWidget(SSTab1);
    auto* troubleShooting = new QWidget(SSTab1);
    SSTab1->addTab(general, QStringLiteral("General"));
    SSTab1->addTab(howToUse, QStringLiteral("How To Use"));
    SSTab1->addTab(troubleShooting, QStringLiteral("TroubleShooting"));
    SSTab1->setCurrentIndex(0);

    // Boxes without a scroll bar of their own still get one if a larger font overflows them.
    Text1 = helpBox(general, "Text1", resources::generalHelp(), Qt::ScrollBarAsNeeded);
    Text2 = helpBox(howToUse, "Text2", resources::howToUseHelp(), Qt::ScrollBarAlwaysOn);
    Text3 =
        helpBox(troubleShooting, "Text3", resources::troubleShootingHelp(), Qt::ScrollBarAsNeeded);
    SSTab1->setAccessibleName(QStringLiteral("Help topics"));
    Text1->setAccessibleName(QStringLiteral("General"));
    Text2->setAccessibleName(QStringLiteral("How To Use"));
    Text3->setAccessibleName(QStringLiteral("TroubleShooting"));
    placeTextBoxes();

    Command1 = button(this, "Command1", QStringLiteral("Close"), twipsRect(0, 3120, 4575, 495));
    // Tab follows the order of creation: the tabs, the three texts, Close. Re-linking the
    // chain by hand through the tab widget's own children would cut Close out of it.

    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

QList<toolkit::CaptionBox> Form4::captionBoxes() {
    return {{QStringLiteral("Close"), px(4575), px(495)}};
}

void Form4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_placed) {
        placeTextBoxes();
        m_placed = true;
    }
}

void Form4::placeTextBoxes() {
    // The boxes are placed relative to the tab control, but live on its pages, which begin
    // below the row of tabs. The pages have their final place once the window is first shown.
    const std::pair<QPlainTextEdit*, QRect> boxes[] = {
        {Text1, Text1Place}, {Text2, Text2Place}, {Text3, Text3Place}};
    for (const auto& [box, place] : boxes) {
        const QPoint pageOrigin = box->parentWidget()->mapTo(SSTab1, QPoint(0, 0));
        QRect geometry = place.translated(-pageOrigin);
        geometry.moveTop(std::max(0, geometry.top()));
        box->setGeometry(geometry);
    }
}

} // namespace ui
