#pragma once

#include "toolkit/WindowToolkit.h"

#include <QList>
#include <QQueue>
#include <QString>

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
    QQueue<QString> inputAnswers;
    QQueue<std::optional<QString>> saveAnswers;

    QList<Message> messages;
    QList<QStringList> inputs;                // prompt, title
    QList<toolkit::SaveDialogSettings> saves; // as the dialog was asked to open
    QStringList saveInitialNames;

    void messageBox(QWidget*, const QString& text, const QString& title,
                    toolkit::MessageIcon icon) override {
        messages.append({text, title, icon});
    }
    QString inputBox(QWidget*, const QString& prompt, const QString& title) override {
        inputs.append({prompt, title});
        return inputAnswers.isEmpty() ? QString() : inputAnswers.dequeue();
    }
    std::optional<QString> saveFileName(QWidget*, const toolkit::SaveDialogSettings& settings,
                                        const QString& initialName) override {
        saves.append(settings);
        saveInitialNames.append(initialName);
        return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.dequeue();
    }
};
