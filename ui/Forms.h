#pragma once

#include "toolkit/SingleInstance.h"

#include <QList>

namespace model {
struct Module1;
}
namespace toolkit {
class WindowToolkit;
struct CaptionBox;
} // namespace toolkit

namespace ui {

class Form1;

// The program's windows, at most one of each. Asking for a window that is not loaded builds it;
// closing a window destroys it. Every window is top-level, so closing one leaves the others open.
class Forms {
public:
    Forms(toolkit::WindowToolkit& toolkit, model::Module1& module1);
    ~Forms();

    Form1* form1();
    Form1* loadedForm1() const { return m_form1.loaded(); }

    toolkit::WindowToolkit& toolkit() const { return m_toolkit; }
    model::Module1& module1() const { return m_module1; }

    // Every fixed caption of every window with the room its control gives it, for choosing
    // an interface font size at which all of them can be read.
    static QList<toolkit::CaptionBox> captionBoxes();

private:
    toolkit::WindowToolkit& m_toolkit;
    model::Module1& m_module1;
    toolkit::SingleInstance<Form1> m_form1;
};

} // namespace ui
