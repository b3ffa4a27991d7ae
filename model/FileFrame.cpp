#include "FileFrame.h"

namespace model {

namespace {

const QString CommentStart = QStringLiteral("// ");
const QString VersionMarker = QStringLiteral("  Version: ");

// The footer's comment lines. The maker's web address and messenger number would follow the
// last two; this program has neither, so the lines stay bare.
QStringList footerComments() {
    return {QStringLiteral("// Made with Tarvok's FGD maker"), QStringLiteral("// "),
            QStringLiteral("//ICQ : ")};
}

// The mod information in the two header lines, when they hold it.
std::optional<ModInfo> headerInfo(const QString& first, const QString& second) {
    if (!first.startsWith(CommentStart) || !second.startsWith(CommentStart) ||
        first.size() == CommentStart.size())
        return std::nullopt;
    // The mod name and version may hold the marker themselves; the program never saves either
    // empty, so the first split that leaves both filled gives back the line as it was.
    const QString rest = second.mid(CommentStart.size());
    for (qsizetype at = rest.indexOf(VersionMarker); at >= 0;
         at = rest.indexOf(VersionMarker, at + 1)) {
        const QString name = rest.left(at);
        const QString version = rest.mid(at + VersionMarker.size());
        if (!name.isEmpty() && !version.isEmpty())
            return ModInfo{first.mid(CommentStart.size()), name, version};
    }
    return std::nullopt;
}

// The footer's comments, or the same with something filled in after the prefixes of all but
// the first.
bool isFooter(const QStringList& lines, const QStringList& footer) {
    for (qsizetype i = 0; i < footer.size(); ++i) {
        if (i == 0 ? lines.at(i) != footer.at(i) : !lines.at(i).startsWith(footer.at(i)))
            return false;
    }
    return true;
}

} // namespace

QStringList frameHeader(const ModInfo& info) {
    return {CommentStart + info.Author,
            CommentStart + info.ModName + VersionMarker + info.ModVersion, QString()};
}

QStringList frameFooter() {
    return QStringList{QString()} + footerComments();
}

FgdContents unframe(QStringList lines) {
    const QStringList footer = footerComments();
    const qsizetype frame = 3 + 1 + footer.size();
    if (lines.size() >= frame && lines.at(2).isEmpty() &&
        lines.at(lines.size() - footer.size() - 1).isEmpty() &&
        isFooter(lines.sliced(lines.size() - footer.size()), footer)) {
        if (std::optional<ModInfo> info = headerInfo(lines.at(0), lines.at(1))) {
            return {lines.sliced(3, lines.size() - frame), info};
        }
    }
    return {std::move(lines), std::nullopt};
}

} // namespace model
