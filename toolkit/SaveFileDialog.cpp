#include "SaveFileDialog.h"

#include <utility>

namespace toolkit {

SaveFileDialog::SaveFileDialog(WindowToolkit& toolkit, SaveDialogSettings settings)
    : m_toolkit(toolkit)
    , m_settings(std::move(settings)) {}

std::optional<QString> SaveFileDialog::showSave(QWidget* parent) {
    std::optional<QString> chosen = m_toolkit.saveFileName(parent, m_settings, m_fileName);
    if (chosen && !chosen->isEmpty())
        m_fileName = *chosen;
    return chosen;
}

} // namespace toolkit
