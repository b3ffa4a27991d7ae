#pragma once

#include "DefinitionList.h"
#include "Surroundings.h"
#include "fgd/ListCheck.h"
#include "game/GameClasses.h"

#include <QAbstractListModel>

namespace model {

// The source list as the main window shows it: the definition list the user builds, the
// user's selected line, and the line check over all of it, one row a line. Every change to the
// lines goes through here, so the lines, the selection and the marks never differ.
class SourceList : public QAbstractListModel {
    Q_OBJECT

public:
    // The data role that holds a row's mark: its verdict's fgd::Severity, as an int.
    static constexpr int MarkRole = Qt::UserRole + 1;

    explicit SourceList(QObject* parent = nullptr);

    // A line as the list shows it (the display role; the edit role holds the line as it is):
    // its first MaxShownLength characters and how long it is in all, tabs as four spaces.
    static constexpr qsizetype MaxShownLength = 4096;
    static QString shownText(const QString& line);

    const DefinitionList& definitions() const { return m_list; }
    int count() const { return m_list.count(); }
    bool isFull() const { return m_list.isFull(); }

    // The text (display and edit roles), the reasons of its mark (tool tip), the mark, and the
    // accessible description that names the kind of mark with its reasons.
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Records the user's choice of line; a position outside the list selects nothing.
    void select(int position);

    // Adds line at the end. False, changing nothing, when the list is full.
    bool append(const QString& line);

    // Adds lines at the end, all of them or, when they would not fit, none (false).
    bool appendLines(const QStringList& lines);

    // The line editor's Update: text takes the place of the line at position. A line of a
    // declaration written over several lines is replaced where it stands, so the declaration
    // keeps it; any other line is removed and text added at the end, as removeAndAppend() does.
    // False, changing nothing, for a position outside the list.
    bool update(int position, const QString& text);

    // Takes lines in place of the whole list (at most DefinitionList::MaxLines); nothing selected.
    // When the lines came from a file, around is what surrounds it: the files the lines @include
    // are read from its folder, and unless the user chose the editors, the marks speak for those
    // the file is written for.
    void reset(QStringList lines, const Surroundings& around = {});
    const Surroundings& surroundings() const { return m_surroundings; }

    // The editors the marks speak for: every one for a new list, those an opened file is written
    // for, or the user's choice, which then holds for every file opened after it.
    fgd::Editors targets() const { return m_check.targets(); }
    void chooseTargets(fgd::Editors editors);
    // How the user chooses the editors where the list is shown, which a mark on a file written
    // for one editor adds to its tool tip.
    void setEditorsHint(const QString& hint) { m_editorsHint = hint; }

    // The game whose linked class names the marks check, or none. chosen: the user named it
    // (dropped it on the window, or gave --game), and it holds for the files opened after;
    // otherwise each opened file's own liblist.gam decides.
    const std::optional<game::GameClasses>& game() const { return m_game; }
    bool gameChosen() const { return m_gameChosen; }
    void setGame(const std::optional<game::GameClasses>& game, bool chosen);

signals:
    // The editors the marks speak for changed, by the user's choice or with an opened file.
    void targetsChanged();
    // The game whose class names are checked changed.
    void gameChanged();

    // A line was moved to the end: the selection as it now stands (it moves up with its line,
    // or goes when its line was the one moved), for the view to show.
    void selectionMoved(int position);

private:
    bool removeAndAppend(int position, const QString& text);
    void checkFrom(int changed);

    DefinitionList m_list;
    Surroundings m_surroundings;
    fgd::ListCheck m_check;
    fgd::Editors m_chosen = 0; // the editors the user chose, or 0
    QString m_editorsHint;
    std::optional<game::GameClasses> m_game;
    bool m_gameChosen = false;
};

} // namespace model
