#include "Form3.h"

#include "Controls.h"
#include "Forms.h"
#include "model/Module1.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/Picture.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"
#include "toolkit/WindowToolkit.h"

#include <QLabel>
#include <QLineEdit>

namespace ui {

using toolkit::px;
using toolkit::twipsRect;

Form3::Form3(Forms& forms)
    : m_forms(forms) {
    setFont(forms.font());
    setWindowTitle(QStringLiteral("Input Additional Extras !"));
    setWindowIcon(forms.icon());
    toolkit::makeFixedFrame(this, toolkit::twipsSize(4680, 2625));

    Text1 = textBox(this, "Text1", QString(), twipsRect(1680, 120, 2895, 405));
    Text2 = textBox(this, "Text2", QString(), twipsRect(1680, 720, 2895, 405));
    Text3 = textBox(this, "Text3", QString(), twipsRect(1680, 1320, 2895, 405));
    Label1 =
        place(new QLabel(QStringLiteral("Author:"), this), "Label1", twipsRect(0, 240, 615, 255));
    Label2 = place(new QLabel(QStringLiteral("Mod Version:"), this), "Label2",
                   twipsRect(0, 1440, 1575, 255));
    Label3 = place(new QLabel(QStringLiteral("Mod Name:"), this), "Label3",
                   twipsRect(0, 840, 1335, 255));
    Label1->setBuddy(Text1);
    Label3->setBuddy(Text2);
    Label2->setBuddy(Text3);
    Command1 = button(this, "Command1", QStringLiteral("Cancel"), twipsRect(480, 2040, 1575, 495));
    Command2 = button(this, "Command2", QStringLiteral("Done"), twipsRect(2520, 2040, 1575, 495));
    Image1 = place(new toolkit::Picture(this), "Image1", twipsRect(2040, 2040, 480, 480));
    Image1->setPixmap(forms.icon().pixmap(32, 32));
    Text1->setAccessibleName(QStringLiteral("Author"));
    Text2->setAccessibleName(QStringLiteral("Mod Name"));
    Text3->setAccessibleName(QStringLiteral("Mod Version"));
    Image1->setAccessibleName(QStringLiteral("Box Of Wonderment"));
    chainTabOrder({Text1, Text2, Text3, Command1, Command2});

    connect(Command1, &QPushButton::clicked, this, &Form3::cancelClicked);
    connect(Command2, &QPushButton::clicked, this, &Form3::doneClicked);
    connect(Image1, &toolkit::Picture::clicked, this, &Form3::imageClicked);
    toolkit::centreOnScreen(this);
}

QList<toolkit::CaptionBox> Form3::captionBoxes() {
    return {
        {QStringLiteral("Author:"), px(615), px(255), 0},
        {QStringLiteral("Mod Version:"), px(1575), px(255), 0},
        {QStringLiteral("Mod Name:"), px(1335), px(255), 0},
        {QStringLiteral("Cancel"), px(1575), px(495)},
        {QStringLiteral("Done"), px(1575), px(495)},
    };
}

void Form3::cancelClicked() {
    close();
}

void Form3::doneClicked() {
    model::ModInfo& info = m_forms.module1().modInfo;
    info.Author = Text1->text();
    info.ModName = Text2->text();
    info.ModVersion = Text3->text();
    close();
}

void Form3::imageClicked() {
    m_forms.toolkit().messageBox(
        this,
        QStringLiteral("So You Have Clicked The Little Box Of Wonderment Have You? Well its not "
                       "that wonderfull is it really? NO it isn't!"),
        QStringLiteral("Box Of Wonderment"), toolkit::MessageIcon::Information);
}

} // namespace ui
