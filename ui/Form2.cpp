#include "Form2.h"

#include "Controls.h"
#include "Forms.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QLabel>
#include <QLineEdit>

#include <array>

namespace ui {

namespace {

// The window's design: every control with its caption and place in twips.
namespace Design {
constexpr Control Text1{"Text1", u"Text1", 120, 120, 3495, 495};
constexpr Control Command1{"Command1", u"Update", 1320, 720, 1095, 495, Fit::Framed};
constexpr Control Image1{"Image1", u"", 120, 720, 480, 480};
constexpr Control Image2{"Image2", u"", 3120, 720, 480, 480};
constexpr std::array Table{Text1, Command1, Image1, Image2};
} // namespace Design

} // namespace

Form2::Form2(Forms& forms) {
    setFont(forms.font());
    setWindowTitle(QStringLiteral("Edit Pointsize To Suit"));
    setWindowIcon(forms.icon());
    toolkit::makeFixedFrame(this, toolkit::twipsSize(3645, 1290));

    Text1 = textBox(this, Design::Text1);
    Command1 = button(this, Design::Command1);
    Image1 = place(new QLabel(this), Design::Image1);
    Image2 = place(new QLabel(this), Design::Image2);
    Image1->setPixmap(forms.icon().pixmap(32, 32));
    Image2->setPixmap(forms.icon().pixmap(32, 32));
    Text1->setAccessibleName(QStringLiteral("Source line"));
    Image1->setAccessibleName(QStringLiteral("Application icon"));
    Image2->setAccessibleName(QStringLiteral("Application icon"));
    chainTabOrder({Text1, Command1});

    connect(Command1, &QPushButton::clicked, this, &Form2::updateClicked);
    toolkit::centreOnScreen(this);
}

void Form2::setLine(const QString& line) {
    Text1->setText(line);
}

QString Form2::line() const {
    return Text1->text();
}

QList<toolkit::CaptionBox> Form2::captionBoxes() {
    return ui::captionBoxes(Design::Table);
}

void Form2::updateClicked() {
    // Whoever opened the editor takes the text; if that window has closed meanwhile, nobody
    // listens, and the editor just closes.
    emit lineUpdated(Text1->text());
    close();
}

} // namespace ui
