#pragma once

#include "model/Module1.h"
#include "support/Files.h"
#include "support/ScriptedToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

// The program's windows with scripted modal boxes, shown as at start-up; what window tests use.
struct Session {
    model::Module1 module1;
    ScriptedToolkit toolkit;
    ui::Forms forms{toolkit, module1};

    Session() { forms.form1()->show(); }

    ui::Form1* main() const { return forms.loadedForm1(); }
    QListWidget* list() const { return main()->findChild<QListWidget*>("List1"); }

    // Clicks a button and lets a window that closed because of it go.
    static void click(QWidget* window, const char* button) {
        window->findChild<QPushButton*>(button)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void click(const char* button) const { click(main(), button); }

    static void setText(QWidget* window, const char* box, const QString& text) {
        window->findChild<QLineEdit*>(box)->setText(text);
    }

    // Fills the main window's inputs.
    void compose(const QString& kind, const QString& prefix, const QString& suffix,
                 const QString& name) const {
        main()->findChild<QComboBox*>("Combo1")->setCurrentText(kind);
        main()->findChild<QComboBox*>("Combo3")->setCurrentText(prefix);
        setText(main(), "Text2", suffix);
        setText(main(), "Text1", name);
    }

    QStringList shownLines() const {
        QStringList lines;
        for (int row = 0; row < list()->count(); ++row)
            lines << list()->item(row)->text();
        return lines;
    }

    // Saves through the main window, answering the dialog with path; the file's bytes.
    QByteArray save(const QString& path) {
        toolkit.saveAnswers << path;
        click("Command5");
        return readFile(path);
    }
};
