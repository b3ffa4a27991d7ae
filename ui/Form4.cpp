#include "Form4.h"

#include "Controls.h"
#include "resources/HelpTexts.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QPlainTextEdit>
#include <QTabWidget>

#include <array>

namespace ui {

namespace {

QPlainTextEdit* helpBox(QWidget* page, const Control& control, const QString& text,
                        Qt::ScrollBarPolicy verticalBar) {
    auto* box = new QPlainTextEdit(text, page);
    box->setObjectName(QString::fromLatin1(control.name));
    box->setVerticalScrollBarPolicy(verticalBar);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return box;
}

// The window's design: every control with its caption and place in twips; the text boxes'
// places are measured from the tab control's top left corner.
namespace Design {
constexpr Control SSTab1{"SSTab1", u"", 0, 120, 4575, 3015};
constexpr Control Text1{"Text1", u"", 120, 360, 4215, 2535};
constexpr Control Text2{"Text2", u"", 120, 360, 4335, 2535};
constexpr Control Text3{"Text3", u"", 120, 360, 4335, 2535};
constexpr Control Command1{"Command1", u"Close", 0, 3120, 4575, 495, Fit::Framed};
constexpr std::array Table{SSTab1, Text1, Text2, Text3, Command1};
} // namespace Design

} // namespace

Form4::Form4(const QIcon& icon, const QFont& font, QWidget* parent)
    : QWidget(parent) {
    setFont(font);
    setWindowTitle(QStringLiteral("Help"));
    setWindowIcon(icon);
    toolkit::makeResizableFrame(this, toolkit::twipsSize(4575, 3570));

    SSTab1 = place(new QTabWidget(this), Design::SSTab1);
    auto* general = new QWidget(SSTab1);
    auto* howToUse = new QWidget(SSTab1);
    auto* troubleShooting = new QWidget(SSTab1);
    SSTab1->addTab(general, QStringLiteral("General"));
    SSTab1->addTab(howToUse, QStringLiteral("How To Use"));
    SSTab1->addTab(troubleShooting, QStringLiteral("TroubleShooting"));
    SSTab1->setCurrentIndex(0);

    // Boxes without a scroll bar of their own still get one if a larger font overflows them.
    Text1 = helpBox(general, Design::Text1, resources::generalHelp(), Qt::ScrollBarAsNeeded);
    Text2 = helpBox(howToUse, Design::Text2, resources::howToUseHelp(), Qt::ScrollBarAlwaysOn);
    Text3 = helpBox(troubleShooting, Design::Text3, resources::troubleShootingHelp(),
                    Qt::ScrollBarAsNeeded);
    SSTab1->setAccessibleName(QStringLiteral("Help topics"));
    Text1->setAccessibleName(QStringLiteral("General"));
    Text2->setAccessibleName(QStringLiteral("How To Use"));
    Text3->setAccessibleName(QStringLiteral("TroubleShooting"));
    placeTextBoxes();

    Command1 = button(this, Design::Command1);
    // Tab follows the order of creation: the tabs, the three texts, Close. Re-linking the
    // chain by hand through the tab widget's own children would cut Close out of it.

    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

QList<toolkit::CaptionBox> Form4::captionBoxes() {
    return ui::captionBoxes(Design::Table);
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
    const std::pair<QPlainTextEdit*, QRect> boxes[] = {{Text1, Design::Text1.rect()},
                                                       {Text2, Design::Text2.rect()},
                                                       {Text3, Design::Text3.rect()}};
    for (const auto& [box, place] : boxes) {
        const QPoint pageOrigin = box->parentWidget()->mapTo(SSTab1, QPoint(0, 0));
        QRect geometry = place.translated(-pageOrigin);
        geometry.moveTop(std::max(0, geometry.top()));
        box->setGeometry(geometry);
    }
}

} // namespace ui
