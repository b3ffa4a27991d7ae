#pragma once

#include "WindowToolkit.h"

namespace toolkit {

// The modal boxes as Qt's own message, input and file dialogs.
class QtWindowToolkit final : public WindowToolkit {
public:
    void messageBox(QWidget* parent, const QString& text, const QString& title,
                    MessageIcon icon) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title) override;
    std::optional<QString> saveFileName(QWidget* parent, const SaveDialogSettings& settings,
                                        const QString& initialName) override;
};

} // namespace toolkit
