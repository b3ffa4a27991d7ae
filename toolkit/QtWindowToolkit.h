#pragma once

#include "WindowToolkit.h"

namespace toolkit {

// The modal boxes as Qt's own message, input and file dialogs, and a choice box of Qt's
// widgets.
class QtWindowToolkit final : public WindowToolkit {
public:
    void messageBox(QWidget* parent, const QString& text, const QString& title,
                    MessageIcon icon) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title) override;
    std::optional<QString> saveFileName(QWidget* parent, const SaveDialogSettings& settings,
                                        const QString& initialName) override;
    std::optional<QList<int>> chooseItems(QWidget* parent, const QString& prompt,
                                          const QString& title, const QList<Choice>& choices,
                                          const QString& accept) override;
};

} // namespace toolkit
