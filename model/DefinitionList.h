#pragma once

#include <QString>
#include <QStringList>

namespace model {

// The ordered FGD source lines the user collects, with at most one selected line.
// Positions, the count and the selection fit a 16-bit signed number; -1 means no selection.
class DefinitionList {
public:
    static constexpr int MaxLines = 32767;
    // MaxLines as messages write it: "32,767".
    static QString maxLinesText();
    static constexpr int NoSelection = -1;

    // The line every new list starts with.
    static QString startLine();

    // A list holding only the start line, with nothing selected.
    DefinitionList();

    // A list holding lines (at most MaxLines of them, the rest are dropped), nothing selected.
    explicit DefinitionList(QStringList lines);

    int count() const { return static_cast<int>(m_lines.size()); }
    bool isFull() const { return count() >= MaxLines; }

    // The text at position; the empty text for -1 or any position outside the list.
    QString lineAt(int position) const;

    const QStringList& lines() const { return m_lines; }

    int selectedPosition() const { return m_selected; }

    // Records the user's choice of line; a position outside the list selects nothing.
    void select(int position);

    // Adds text as the last line; the selection stays. Returns false, changing nothing, when full.
    bool append(const QString& text);

    // Puts text in place of the line at position; the selection stays. Positions outside the
    // list do nothing.
    void replaceAt(int position, const QString& text);

    // Where the selection will be once the line at position is removed.
    int selectionAfterRemoving(int position) const;

    // Removes the line at position; later lines move up and the selection follows its line.
    // Removing the selected line leaves nothing selected. Positions outside the list do nothing.
    void removeAt(int position);

private:
    QStringList m_lines;
    int m_selected = NoSelection;
};

} // namespace model
