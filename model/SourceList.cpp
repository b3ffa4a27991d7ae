#include "SourceList.h"

#include <QDir>

#include <algorithm>

namespace model {

QString SourceList::shownText(const QString& line) {
    // Laying out text costs time by its length: a line of megabytes, which no one reads on a
    // screen, would hold the window for seconds at each paint. Tabs are shown four spaces wide,
    // as text editors show them, not as the toolkit's 80-pixel stops.
    QString shown = line.size() > MaxShownLength
                        ? line.left(MaxShownLength) +
                              QStringLiteral(" \u2026 (%1 characters in all)").arg(line.size())
                        : line;
    return shown.replace(u'\t', QStringLiteral("    "));
}

SourceList::SourceList(QObject* parent)
    : QAbstractListModel(parent) {
    m_check.checkAll(m_list.lines());
}

int SourceList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.count();
}

QVariant SourceList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_list.count())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return shownText(m_list.lineAt(row));
    case Qt::EditRole:
        return m_list.lineAt(row);
    case Qt::ToolTipRole:
        if (const QList<fgd::Problem> problems = m_check.problems(row); !problems.isEmpty()) {
            const QString reason = fgd::compose(problems).reason;
            QString about = m_game ? QStringLiteral("; class names from %1")
                                         .arg(QDir::toNativeSeparators(m_game->source))
                                   : QString();
            if (!m_editorsHint.isEmpty() &&
                std::any_of(problems.cbegin(), problems.cend(), [](const fgd::Problem& problem) {
                    return problem.rule == &fgd::Rules::WrittenFor;
                }))
                about += QStringLiteral("; %1").arg(m_editorsHint);
            return QStringLiteral("%1\n(checked for %2%3)")
                .arg(reason, fgd::editorNames(m_check.targets()), about);
        }
        return QString();
    case MarkRole:
        return static_cast<int>(m_check.verdict(row).severity);
    case Qt::AccessibleDescriptionRole:
        if (const QString text = fgd::describe(m_check.verdict(row)); !text.isEmpty())
            return text;
        return {};
    default:
        return {};
    }
}

void SourceList::select(int position) {
    m_list.select(position);
}

bool SourceList::append(const QString& line) {
    return appendLines({line});
}

bool SourceList::appendLines(const QStringList& lines) {
    if (m_list.count() + lines.size() > DefinitionList::MaxLines)
        return false;
    if (lines.isEmpty())
        return true;
    const int first = m_list.count();
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    for (const QString& line : lines)
        m_list.append(line);
    endInsertRows();
    checkFrom(first);
    return true;
}

bool SourceList::removeAndAppend(int position, const QString& text) {
    if (position < 0 || position >= m_list.count())
        return false;
    // The selection follows its line up, or goes with it; a view may move its own selection to
    // a neighbour while the row goes, so the list's is worked out first and given back after.
    const int kept = m_list.selectionAfterRemoving(position);
    beginRemoveRows({}, position, position);
    m_list.removeAt(position);
    endRemoveRows();
    const int last = m_list.count();
    beginInsertRows({}, last, last);
    m_list.append(text);
    endInsertRows();
    m_list.select(kept);
    // Moving a line may take it out of a declaration spread over several lines.
    checkFrom(position);
    emit selectionMoved(kept);
    return true;
}

bool SourceList::update(int position, const QString& text) {
    if (position < 0 || position >= m_list.count())
        return false;
    if (!m_check.inSpanningDeclaration(position))
        return removeAndAppend(position, text);
    m_list.replaceAt(position, text);
    emit dataChanged(index(position), index(position));
    checkFrom(position);
    return true;
}

void SourceList::reset(QStringList lines, const Surroundings& around) {
    const fgd::Editors before = m_check.targets();
    beginResetModel();
    m_list = DefinitionList(std::move(lines));
    m_surroundings = around;
    checkInSurroundings(m_check, m_list.lines(), around, m_chosen);
    endResetModel();
    if (m_check.targets() != before)
        emit targetsChanged();
}

void SourceList::chooseTargets(fgd::Editors editors) {
    if (editors == 0 || (editors == m_chosen && editors == m_check.targets()))
        return;
    m_chosen = editors;
    m_check.setTargets(editors);
    if (m_list.count() > 0)
        emit dataChanged(index(0), index(m_list.count() - 1));
    emit targetsChanged();
}

void SourceList::setGame(const std::optional<game::GameClasses>& game, bool chosen) {
    m_gameChosen = chosen;
    if (!game && !m_game)
        return;
    m_game = game;
    const bool keysBefore = m_check.judgesKeys();
    checkAgainstGame(m_check, game ? &*game : nullptr);
    if (keysBefore || m_check.judgesKeys())
        m_check.checkAll(m_list.lines());
    if (m_list.count() > 0)
        emit dataChanged(index(0), index(m_list.count() - 1));
    emit gameChanged();
}

void SourceList::checkFrom(int changed) {
    const int from = m_check.checkChanged(m_list.lines(), changed);
    if (from < m_list.count())
        emit dataChanged(index(from), index(m_list.count() - 1));
}

} // namespace model
