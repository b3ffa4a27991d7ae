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

#include <array>

namespace ui {

namespace {

// The window's design: every control with its caption and place in twips.
namespace Design {
constexpr Control Text1{"Text1", u"", 1680, 120, 2895, 405};
constexpr Control Text2{"Text2", u"", 1680, 720, 2895, 405};
constexpr Control Text3{"Text3", u"", 1680, 1320, 2895, 405};
constexpr Control Label1{"Label1", u"Author:", 0, 240, 615, 255, Fit::Bare};
constexpr Control Label2{"Label2", u"Mod Version:", 0, 1440, 1575, 255, Fit::Bare};
constexpr Control Label3{"Label3", u"Mod Name:", 0, 840, 1335, 255, Fit::Bare};
constexpr Control Command1{"Command1", u"Cancel", 480, 2040, 1575, 495, Fit::Framed};
constexpr Control Command2{"Command2", u"Done", 2520, 2040, 1575, 495, Fit::Framed};
constexpr Control Image1{"Image1", u"", 2040, 2040, 480, 480};
constexpr std::array Table{Text1, Text2, Text3, Label1, Label2, Label3, Command1, Command2, Image1};
} // namespace Design

QLabel* label(QWidget* parent, const Control& control) {
    return place(new QLabel(control.caption.toString(), parent), control);
}

} // namespace

Form3::Form3(Forms& forms)
    : m_forms(forms) {
    setFont(forms.font());
    setWindowTitle(QStringLiteral("Input Additional Extras !"));
    setWindowIcon(forms.icon());
    toolkit::makeFixedFrame(this, toolkit::twipsSize(4680, 2625));

    Text1 = textBox(this, Design::Text1);
    Text2 = textBox(this, Design::Text2);
    Text3 = textBox(this, Design::Text3);
    Label1 = label(this, Design::Label1);
    Label2 = label(this, Design::Label2);
    Label3 = label(this, Design::Label3);
    Label1->setBuddy(Text1);
    Label3->setBuddy(Text2);
    Label2->setBuddy(Text3);
    Command1 = button(this, Design::Command1);
    Command2 = button(this, Design::Command2);
    Image1 = place(new toolkit::Picture(this), Design::Image1);
    Image1->setPixmap(forms.icon().pixmap(32, 32));
    Text1->setAccessibleName(QStringLiteral("Author"));
    Text2->setAccessibleName(QStringLiteral("Mod Name"));
    Text3->setAccessibleName(QStringLiteral("Mod Version"));
    Image1->setAccessibleName(QStringLiteral("Box Of Wonderment"));
    chainTabOrder({Text1, Text2, Text3, Command1, Command2});
    // A run that continues a saved file shows what the file and the dialog have made of its
    // values; otherwise the dialog starts empty, as always.
    if (const model::Module1& module1 = forms.module1(); module1.modInfoFromFile) {
        Text1->setText(module1.modInfo.Author);
        Text2->setText(module1.modInfo.ModName);
        Text3->setText(module1.modInfo.ModVersion);
    }

    connect(Command1, &QPushButton::clicked, this, &Form3::cancelClicked);
    connect(Command2, &QPushButton::clicked, this, &Form3::doneClicked);
    connect(Image1, &toolkit::Picture::clicked, this, &Form3::imageClicked);
    toolkit::centreOnScreen(this);
}

QList<toolkit::CaptionBox> Form3::captionBoxes() {
    return ui::captionBoxes(Design::Table);
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
