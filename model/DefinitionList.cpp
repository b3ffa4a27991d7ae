#include "DefinitionList.h"

#include <QLocale>

namespace model {

QString DefinitionList::maxLinesText() {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(MaxLines);
}

QString DefinitionList::startLine() {
    return QStringLiteral("//Half Life FGD File Start Code Here:");
}

DefinitionList::DefinitionList()
    : m_lines{startLine()} {}

DefinitionList::DefinitionList(QStringList lines)
    : m_lines(std::move(lines)) {
    if (m_lines.size() > MaxLines)
        m_lines.resize(MaxLines);
}

QString DefinitionList::lineAt(int position) const {
    if (position < 0 || position >= count())
        return QString();
    return m_lines.at(position);
}

void DefinitionList::select(int position) {
    m_selected = (position >= 0 && position < count()) ? position : NoSelection;
}

bool DefinitionList::append(const QString& text) {
    if (isFull())
        return false;
    m_lines.append(text);
    return true;
}

void DefinitionList::removeAt(int position) {
    if (position < 0 || position >= count())
        return;
    m_selected = selectionAfterRemoving(position);
    m_lines.removeAt(position);
}

void DefinitionList::replaceAt(int position, const QString& text) {
    if (position >= 0 && position < count())
        m_lines[position] = text;
}

int DefinitionList::selectionAfterRemoving(int position) const {
    if (m_selected == position)
        return NoSelection;
    return m_selected > position ? m_selected - 1 : m_selected;
}

} // namespace model
