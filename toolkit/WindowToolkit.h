#pragma once

#include <QList>
#include <QString>

#include <optional>

class QWidget;

namespace toolkit {

enum class MessageIcon { None, Information };

// The fixed settings of a save-file dialog.
struct SaveDialogSettings {
    QString title;
    QString defaultExtension; // added when the user types a name without one
    QString filter;           // a bare pattern such as "*.fgd"
};

// One thing a choice box offers: its name in the list, and the text shown while it is the
// current one.
struct Choice {
    QString name;
    QString text;
};

// The modal boxes the windows rely on. The program uses the Qt binding; tests pass a scripted
// stand-in that answers from a queue, so no test ever waits on a real dialog.
class WindowToolkit {
public:
    virtual ~WindowToolkit() = default;

    // Shows text under title with an OK button only, and waits until it is closed.
    virtual void messageBox(QWidget* parent, const QString& text, const QString& title,
                            MessageIcon icon) = 0;

    // Asks for one line of text; returns the typed text, or the empty text when cancelled.
    virtual QString inputBox(QWidget* parent, const QString& prompt, const QString& title) = 0;

    // Asks for a file to save to, starting from initialName; nothing when cancelled.
    virtual std::optional<QString> saveFileName(QWidget* parent, const SaveDialogSettings& settings,
                                                const QString& initialName) = 0;
    // Asks which of choices to take: a list of them under prompt, each with a check box (all
    // checked at first), the current one's text beside it, and a button named accept that takes
    // those checked. Returns their positions in choices, in order, or nothing when cancelled.
    virtual std::optional<QList<int>> chooseItems(QWidget* parent, const QString& prompt,
                                                  const QString& title,
                                                  const QList<Choice>& choices,
                                                  const QString& accept) = 0;
};

} // namespace toolkit
