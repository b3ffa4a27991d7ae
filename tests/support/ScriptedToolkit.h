#pragma once

#include "toolkit/WindowToolkit.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <optional>

// Answers the modal boxes from queues and records every call, so window tests never block.
// An input box with no scripted answer returns the empty text, like a cancelled one; a save
// dialog or a choice box with no scripted answer is cancelled.
class ScriptedToolkit final : public toolkit::WindowToolkit {
public:
    struct Message {
        QString text;
        QString title;
        toolkit::MessageIcon icon;
    };
    QQueue<QString> inputAnswers;
    QQueue<std::optional<QString>> saveAnswers;
    QQueue<std::optional<QList<int>>> choiceAnswers;

    QList<Message> messages;
    QList<QStringList> inputs;                // prompt, title
    QList<toolkit::SaveDialogSettings> saves; // as the dialog was asked to open
    QStringList saveInitialNames;
    QList<QList<toolkit::Choice>> choices; // what each choice box offered

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
    std::optional<QList<int>> chooseItems(QWidget*, const QString&, const QString&,
                                          const QList<toolkit::Choice>& offered,
                                          const QString&) override {
        choices.append(offered);
        return choiceAnswers.isEmpty() ? std::nullopt : choiceAnswers.dequeue();
    }
};
