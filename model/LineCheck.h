#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace model {

// The rule of the check: a line without a mark loads in the common Half-Life level editors
// (Hammer, J.A.C.K., TrenchBroom); a mark says what to change. A line that loads but cannot do
// what it was meant to (a class name game code can never link, a helper the editors skip) is
// marked too, and where the editors disagree the reason says so.

// Checks one line on its own. Returns the empty text for a line the editors accept, otherwise
// a short reason in plain words. Accepted: an empty line, a // comment, and a declaration such as
//   @PointClass base(Weapon) size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" []
QString checkSourceLine(QStringView line);

// Checks a list of lines as one text, as the editors read a file: a declaration may run over
// many lines, and its problem is reported on the line where it is.
class SourceCheck {
public:
    // The reason for each line, empty for a line without a problem.
    const QStringList& reasons() const { return m_reasons; }

    // Checks every line afresh.
    void checkAll(const QStringList& lines);

    // Checks lines after a change at line changed and below (lines appended, or one removed),
    // re-reading from the start of the first declaration whose reading the change can reach.
    // Returns the first line whose reason may have changed.
    int checkChanged(const QStringList& lines, int changed);

    // Checks lines that were appended since the last check.
    int checkAppended(const QStringList& lines) {
        return checkChanged(lines, static_cast<int>(m_reasons.size()));
    }

private:
    // How a change is checked without reading the whole list again: the parser reads the list
    // one item (a declaration, an @include) at a time, and for each item it notes the first
    // line and the furthest line it looked at, a peek at the next line included. An item whose
    // furthest line lies before a change read exactly the same lines as before, so its reasons
    // still hold. Only the items that reached the change are read again, from the first line of
    // the earliest of them. Add changes only the end, so usually only an item left open there
    // is read again; Update moves one line to the end, so reading starts at the item that held it.
    struct Item {
        int firstLine;
        int lastLine; // the furthest line its reading looked at
    };
    void checkFrom(const QStringList& lines, int from);

    QStringList m_reasons;
    QList<Item> m_items;
};

} // namespace model
