#include "ScriptedToolkit.h"

void ScriptedToolkit::messageBox(QWidget*, const QString& text, const QString& title,
                                 toolkit::MessageIcon icon) {
    messages.append({text, title, icon});
}

QString ScriptedToolkit::inputBox(QWidget*, const QString& prompt, const QString& title) {
    inputs.append({prompt, title});
    return inputAnswers.isEmpty() ? QString() : inputAnswers.dequeue();
}

std::optional<QString> ScriptedToolkit::saveFileName(QWidget*,
                                                     const toolkit::SaveDialogSettings& settings,
                                                     const QString& initialName) {
    saves.append({settings, initialName});
    if (whileSaveDialogOpen)
        whileSaveDialogOpen();
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.dequeue();
}
