#pragma once

#include "model/Module1.h"
#include "support/Files.h"
#include "support/ScriptedToolkit.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>

// The program's windows with scripted modal boxes, shown as at start-up; what window tests use.
// Its helpers are named after what the user does, so a test reads as the user's steps.
struct Session {
    model::Module1 module1;
    ScriptedToolkit toolkit;
    ui::Forms forms{toolkit, module1};

    Session() { forms.form1()->show(); }

    ui::Form1* main() const { return forms.loadedForm1(); }
    ui::Form2* editor() const { return forms.loadedForm2(); }
    ui::Form3* extras() const { return forms.loadedForm3(); }
    ui::Form4* help() const { return forms.loadedForm4(); }
    QListView* list() const { return main()->findChild<QListView*>("List1"); }

    // Clicks a button and lets a window that closed because of it go.
    static void click(QWidget* window, const char* button) {
        window->findChild<QPushButton*>(button)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void setText(QWidget* window, const char* box, const QString& text) {
        window->findChild<QLineEdit*>(box)->setText(text);
    }

    // The main window's buttons.
    void add() const { click(main(), "Command1"); }
    void toggleSource() const { click(main(), "Command2"); }
    void openExtras() const { click(main(), "Command3"); }
    void edit() const { click(main(), "Command4"); }
    void openHelp() const { click(main(), "Command6"); }
    // Saves through the main window, answering the dialog with path (nothing: cancelled);
    // the file's bytes.
    QByteArray save(const std::optional<QString>& path) {
        toolkit.saveAnswers << path;
        click(main(), "Command5");
        return path ? readFile(*path) : QByteArray();
    }

    // The line editor: types text (unless nothing is given) and presses Update.
    void update(const std::optional<QString>& text = std::nullopt) const {
        if (text)
            setText(editor(), "Text1", *text);
        click(editor(), "Command1");
    }
    // The extras dialog: types author, mod name and version.
    void typeExtras(const QStringList& values) const {
        for (int i = 0; i < 3; ++i)
            setText(extras(), qPrintable(QString("Text%1").arg(i + 1)), values[i]);
    }
    void done() const { click(extras(), "Command2"); }
    void cancel() const { click(extras(), "Command1"); }

    // Fills the main window's inputs.
    void compose(const QString& kind, const QString& prefix, const QString& suffix,
                 const QString& name) const {
        main()->findChild<QComboBox*>("Combo1")->setCurrentText(kind);
        main()->findChild<QComboBox*>("Combo3")->setCurrentText(prefix);
        setText(main(), "Text2", suffix);
        setText(main(), "Text1", name);
    }

    // Selects a line of the source list as a click does; -1 selects none.
    void select(int row) const {
        if (row < 0)
            list()->selectionModel()->clear();
        else
            list()->setCurrentIndex(list()->model()->index(row, 0));
    }
    int currentRow() const {
        return list()->currentIndex().isValid() ? list()->currentIndex().row() : -1;
    }

    int shownCount() const { return list()->model()->rowCount(); }
    QVariant shown(int row, int role) const { return list()->model()->index(row, 0).data(role); }
    QStringList shownLines() const {
        QStringList lines;
        for (int row = 0; row < shownCount(); ++row)
            lines << shown(row, Qt::DisplayRole).toString();
        return lines;
    }
    // The reasons a line is marked with, and the sign it carries: "error", "warning" or "note"
    // (the information sign) when it is the platform's sign of that kind, "" for none.
    QString tip(int row) const { return shown(row, Qt::ToolTipRole).toString(); }
    QString sign(int row) const {
        const QImage shownSign =
            qvariant_cast<QIcon>(shown(row, Qt::DecorationRole)).pixmap(16).toImage();
        const auto is = [&](QStyle::StandardPixmap kind) {
            return shownSign == QApplication::style()->standardIcon(kind).pixmap(16).toImage();
        };
        return shownSign.isNull()                     ? QString()
               : is(QStyle::SP_MessageBoxCritical)    ? QStringLiteral("error")
               : is(QStyle::SP_MessageBoxWarning)     ? QStringLiteral("warning")
               : is(QStyle::SP_MessageBoxInformation) ? QStringLiteral("note")
                                                      : QStringLiteral("other");
    }
};
