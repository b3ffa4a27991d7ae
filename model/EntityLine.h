#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <span>

namespace model {

// One class kind of the kind drop-down and the size box its lines receive.
struct EntityClassKind {
    QString name;
    QString sizeBox; // empty for "Custom": the user types the box when asked
};

// The four class kinds in the order the kind drop-down offers them.
std::span<const EntityClassKind> entityClassKinds();

// The twelve entity prefixes in the order the prefix drop-down offers them.
const QStringList& entityPrefixes();

// The question asked when the kind is "Custom".
inline constexpr const char* CustomSizePrompt = "Input a valid @PointClass base";
inline constexpr const char* CustomSizeTitle = "Custom size";

// Asks the user for a custom size box; returns the typed text, or empty when cancelled.
using AskCustomSize = std::function<QString()>;

// Builds one point-class declaration line (no line terminator) from the main window's inputs.
// askCustomSize is called exactly once when kind is "Custom" and never otherwise.
QString ComposeEntityLine(const QString& kind, const QString& prefix, const QString& suffix,
                          const QString& realName, const AskCustomSize& askCustomSize);

} // namespace model
