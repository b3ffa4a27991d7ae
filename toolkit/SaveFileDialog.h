#pragma once

#include "WindowToolkit.h"

namespace toolkit {

// A save-file dialog with fixed settings that opens with the name chosen last time.
class SaveFileDialog {
public:
    SaveFileDialog(WindowToolkit& toolkit, SaveDialogSettings settings);

    // Shows the dialog modally; returns the chosen path, or nothing when cancelled.
    std::optional<QString> showSave(QWidget* parent);

    // The name the dialog opens with next time, as if it had been chosen.
    void setFileName(const QString& fileName) { m_fileName = fileName; }

private:
    WindowToolkit& m_toolkit;
    SaveDialogSettings m_settings;
    QString m_fileName;
};

} // namespace toolkit
