#include "Forms.h"

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "Form4.h"
#include "resources/ApplicationIcon.h"
#include "toolkit/InterfaceFont.h"

namespace ui {

Forms::Forms(toolkit::WindowToolkit& toolkit, model::Module1& module1)
    : m_toolkit(toolkit)
    , m_module1(module1) {}

Forms::~Forms() = default;

const QIcon& Forms::icon() {
    if (m_icon.isNull())
        m_icon = resources::applicationIcon();
    return m_icon;
}

const QFont& Forms::font() {
    if (!m_font)
        m_font = toolkit::fittedFont(captionBoxes());
    return *m_font;
}

Form1* Forms::loadedForm1() const {
    return m_form1.loaded();
}

Form2* Forms::loadedForm2() const {
    return m_form2.loaded();
}

Form3* Forms::loadedForm3() const {
    return m_form3.loaded();
}

Form4* Forms::loadedForm4() const {
    return m_form4.loaded();
}

Form1* Forms::form1() {
    return m_form1.get([this] { return new Form1(*this); });
}

Form2* Forms::form2() {
    return m_form2.get([this] { return new Form2(*this); });
}

Form3* Forms::form3() {
    return m_form3.get([this] { return new Form3(*this); });
}

Form4* Forms::form4() {
    return m_form4.get([this] { return new Form4(icon(), font()); });
}

QList<toolkit::CaptionBox> Forms::captionBoxes() {
    QList<toolkit::CaptionBox> boxes;
    boxes += Form1::captionBoxes();
    boxes += Form2::captionBoxes();
    boxes += Form3::captionBoxes();
    boxes += Form4::captionBoxes();
    return boxes;
}

} // namespace ui
