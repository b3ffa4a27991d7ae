#include "Forms.h"

#include "Form1.h"
#include "toolkit/InterfaceFont.h"

namespace ui {

Forms::Forms(toolkit::WindowToolkit& toolkit, model::Module1& module1)
    : m_toolkit(toolkit)
    , m_module1(module1) {}

Forms::~Forms() = default;

Form1* Forms::form1() {
    return m_form1.get([this] { return new Form1(*this); });
}

QList<toolkit::CaptionBox> Forms::captionBoxes() {
    QList<toolkit::CaptionBox> boxes;
    boxes += Form1::captionBoxes();
    return boxes;
}

} // namespace ui
