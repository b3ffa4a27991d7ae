#pragma once

#include "toolkit/WindowToolkit.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>
#include <optional>

// Answers the modal boxes from queues and records every call, so window tests never block.
// An input box with no scripted answer returns the empty text, like a cancelled one; a save
// dialog with no scripted answer is cancelled.
class ScriptedToolkit final : public toolkit::WindowToolkit {
public:
    struct Message {
        QString text;
        QString title;
        toolkit::MessageIcon icon;
    };
    struct Input {
        QString prompt;
        QString title;
    };
    struct SaveRequest {
        toolkit::SaveDialogSettings settings;
        QString initialName;
    };

    QQueue<QString> inputAnswers;
    QQueue<std::optional<QString>> saveAnswers;
    // Runs while the save dialog is "open", after the user has chosen: a test's chance to
    // change the file system between the dialog and the write.
    std::function<void()> whileSaveDialogOpen;

    QList<Message> messages;
    QList<Input> inputs;
    QList<SaveRequest> saves;

    void messageBox(QWidget* parent, const QString& text, const QString& title,
                    toolkit::MessageIcon icon) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title) override;
    std::optional<QString> saveFileName(QWidget* parent,
                                        const toolkit::SaveDialogSettings& settings,
                                        const QString& initialName) override;
};
