#pragma once

#include "toolkit/SingleInstance.h"

#include <QFont>
#include <QIcon>
#include <QList>

#include <optional>

namespace model {
struct Module1;
}
namespace toolkit {
class WindowToolkit;
struct CaptionBox;
} // namespace toolkit

namespace ui {

class Form1;
class Form2;
class Form3;
class Form4;

// The program's windows, at most one of each. Asking for a window that is not loaded builds it;
// closing a window destroys it. Every window is top-level, so closing one leaves the others open.
class Forms {
public:
    Forms(toolkit::WindowToolkit& toolkit, model::Module1& module1);
    ~Forms();

    Form1* form1();
    Form1* loadedForm1() const;
    Form2* form2();
    Form2* loadedForm2() const;
    Form3* form3();
    Form3* loadedForm3() const;
    Form4* form4();
    Form4* loadedForm4() const;

    toolkit::WindowToolkit& toolkit() const { return m_toolkit; }

    // The icon of every window, read once.
    const QIcon& icon();
    // The font of every window, fitted once to their captions.
    const QFont& font();
    model::Module1& module1() const { return m_module1; }

    // Every fixed caption of every window with the room its control gives it, for choosing
    // an interface font size at which all of them can be read.
    static QList<toolkit::CaptionBox> captionBoxes();

private:
    toolkit::WindowToolkit& m_toolkit;
    model::Module1& m_module1;
    QIcon m_icon;
    std::optional<QFont> m_font;
    // Members are destroyed last to first, so the other windows go before the main window.
    toolkit::SingleInstance<Form1> m_form1;
    toolkit::SingleInstance<Form2> m_form2;
    toolkit::SingleInstance<Form3> m_form3;
    toolkit::SingleInstance<Form4> m_form4;
};

} // namespace ui
