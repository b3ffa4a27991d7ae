#include "Form2.h"

#include "Controls.h"
#include "Form1.h"
#include "Forms.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QLabel>
#include <QLineEdit>

namespace ui {

using toolkit::px;
using toolkit::twipsRect;

Form2::Form2(Forms& forms)
    : m_forms(forms) {
    setFont(forms.font());
    setWindowTitle(QStringLiteral("Edit Pointsize To Suit"));
    setWindowIcon(forms.icon());
    toolkit::makeFixedFrame(this, toolkit::twipsSize(3645, 1290));

    Text1 = textBox(this, "Text1", QStringLiteral("Text1"), twipsRect(120, 120, 3495, 495));
    Command1 = button(this, "Command1", QStringLiteral("Update"), twipsRect(1320, 720, 1095, 495));
    Image1 = place(new QLabel(this), "Image1", twipsRect(120, 720, 480, 480));
    Image2 = place(new QLabel(this), "Image2", twipsRect(3120, 720, 480, 480));
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
    return {{QStringLiteral("Update"), px(1095), px(495)}};
}

void Form2::updateClicked() {
    // The main window may have been closed while the editor stayed open; then there is no
    // list to change, and the editor just closes.
    if (Form1* main = m_forms.loadedForm1())
        main->replaceEditedLine(Text1->text());
    close();
}

} // namespace ui
