#pragma once

#include "CheckTargets.h"
#include "DeclarationIndex.h"
#include "Findings.h"
#include "GameEntities.h"
#include "GameLinks.h"
#include "Parser.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <climits>
#include <functional>
#include <optional>

namespace fgd {

// The rule of the check: a line without a mark loads in the common Half-Life level editors
// (Hammer, J.A.C.K., TrenchBroom); a mark says what to change. An error: an editor refuses the
// line, or reads it otherwise than it is written. A warning: every editor loads the line, but it
// cannot do what it was meant to (a class name game code can never link, a helper the editors
// skip, a base class declared nowhere). Where the editors disagree, the reason says so.

// Checks one line on its own. Returns the empty text for a line the editors accept, otherwise
// a short reason in plain words. Accepted: an empty line, a // comment, and a declaration such as
//   @PointClass base(Weapon) size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" []
// A line on its own declares no base class, so base(...) is not checked against declarations.
// Speaks for targets, the editors the line is written for.
QString checkLine(QStringView line, Editors targets = AllEditors);

// Checks a list of lines as one text, as the editors read a file: a declaration may run over
// many lines, and each problem is reported on the line where it is. A class named in base(...)
// must be declared somewhere in the list, or in a file it @includes.
class ListCheck {
public:
    // Answers for an @include: the class names the file it names declares, or why it cannot be
    // read (the @include line then gets a warning that gives the reason). Whoever knows where
    // the lines came from hands the check this; without one, no included file can be read.
    using Included = DeclarationIndex::Included;
    using IncludeReader = DeclarationIndex::IncludeReader;
    void setIncludeReader(IncludeReader reader) { m_index.setIncludeReader(std::move(reader)); }

    // The editors the marks speak for: a problem is reported when one of them has it. writtenFor
    // names the one editor a file was found to be written for, and why (evidence, when more
    // than its own lines show it): the file's first line that only that editor reads, or else
    // its first line, then says so. 0 when the user chose the targets.
    void setTargets(Editors targets, Editors writtenFor = 0, const QString& evidence = {}) {
        m_targets.set(targets, writtenFor, evidence);
    }
    Editors targets() const { return m_targets.targets(); }
    // The editors that read every construct of the lines that only some editors read: 0 when
    // the lines use none, or constructs of editors that refuse each other's.
    Editors onlyReadBy() const { return m_targets.onlyReadBy(); }

    // The class names the game links (see game/ServerLibrary.h), and the library or source
    // folder they were read from: a @PointClass or @SolidClass whose name the game does not link
    // gets a warning. An empty source means no game is known, and class names are not checked.
    void setGame(const QStringList& linked, const QString& source) { m_game.set(linked, source); }
    // What the game's code says of each entity it could follow (see GameEntities.h): a
    // key-value of such a class that no code reads, or reads only in another case, and a model
    // other than the code's, get a warning; a key its code reads that the class lacks, and a
    // size() that does not hold its hull, a note. The key-values and helpers are read with the
    // lines, so this takes effect at the next checkAll().
    void setGameCode(const QHash<QString, EntityCode>& entities, const QStringList& engineFields,
                     const QStringList& everyEntity) {
        m_entities.set(entities, engineFields, everyEntity);
        m_index.trackKeys(m_entities.known());
    }
    bool judgesKeys() const { return m_entities.known(); }
    const QString& gameSource() const { return m_game.source(); }

    // The classes the files @included declare that the game does not link, where each is
    // declared in its own file, each with the warning for it there (line and column as the
    // class's). The @include line of the list gets one warning that names them all.
    struct IncludedProblem {
        DeclarationIndex::IncludedClass declared;
        Problem problem;
    };
    QList<IncludedProblem> includedUnlinked() const;

    int count() const { return m_count; }
    // The problems of a line, in the order of their columns.
    QList<Problem> problems(int line) const;
    Verdict verdict(int line) const;
    QList<Verdict> verdicts() const;

    // Checks every line afresh.
    void checkAll(const QStringList& lines);

    // Checks lines after a change at line changed and below (lines appended, or one removed),
    // re-reading from the start of the first declaration whose reading the change can reach.
    // Returns the first line whose verdict may have changed.
    int checkChanged(const QStringList& lines, int changed);

    // Checks lines that were appended since the last check.
    int checkAppended(const QStringList& lines) { return checkChanged(lines, count()); }

    // Whether line is one of the lines of a declaration written over more than one line (its
    // first, its last or any between, comments in its body too), as the last check read them.
    bool inSpanningDeclaration(int line) const;

private:
    // How a change is checked without reading the whole list again: the parser reads the list
    // one item (a declaration, an @include) at a time, and for each item it notes the first
    // line and the furthest line it looked at, a peek at the next line included. An item whose
    // furthest line lies before a change read exactly the same lines as before, so its findings
    // still hold. Only the items that reached the change are read again, from the first line of
    // the earliest of them. Add changes only the end, so usually only an item left open there
    // is read again; Update moves one line to the end, so reading starts at the item that held it.
    //
    // Whether a base class is declared depends on every item, so it is not stored with the
    // lines: the declaration index counts the declarations of each name, and a line that names a
    // base is judged when it is asked for. A change that declares a name for the first time, or
    // takes its last declaration away, reports the lines that name it as changed.
    struct Item {
        int firstLine;
        // The furthest line its reading, or that of an item above it, looked at: a reading can
        // look past the items after it, so the items to read again after a change are found
        // from the last one back while this reaches the change.
        int reach;
        int endLine; // the line of its last token
        bool declaration;
        QString declared;
        QString include;
    };
    void checkFrom(const QStringList& lines, int from, int& changed);
    void removeItemsFrom(int from, DeclarationIndex::Changes& touched);
    void addItem(const ParsedItem& item, DeclarationIndex::Changes& touched);
    void listProblems(int line, QList<Problem>& problems) const;
    void includeProblems(int line, QList<Problem>& problems) const;
    void gameProblems(const DeclarationIndex::Declared& declared, QList<Problem>& problems) const;
    void inheritedKeyProblems(const DeclarationIndex::Declared& declared,
                              QList<Problem>& problems) const;
    QList<IncludedProblem> unlinkedIn(const QString& include) const;

    int m_count = 0; // lines checked
    enum : quint8 { NamesBase = 1, DeclaresClass = 2, IncludesFile = 4, DeclaresKey = 8 };
    QList<quint8> m_lineHas;              // for each line checked, what of the above it holds
    QMap<int, QList<Problem>> m_findings; // the problems found, by line
    QList<Item> m_items;
    DeclarationIndex m_index;
    CheckTargets m_targets;
    GameLinks m_game;
    GameEntities m_entities; // what the game's code says of each entity
};

} // namespace fgd
