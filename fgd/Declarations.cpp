#include "Declarations.h"

#include "Parser.h"

namespace fgd {

QList<Declaration> readDeclarations(const QStringList& lines) {
    QList<Declaration> declarations;
    parseItems(
        lines, 0,
        [&](const ParsedItem& item) {
            if (!item.declared.isEmpty())
                declarations.append(item.details);
        },
        true);
    return declarations;
}

QHash<QString, ResolvedClass> resolveClasses(const QList<Declaration>& declarations) {
    QHash<QString, const Declaration*> byName;
    for (const Declaration& declaration : declarations)
        byName.insert(declaration.name, &declaration);
    const auto basesOf = [&](const QString& name) {
        const Declaration* declaration = byName.value(name);
        return declaration ? declaration->bases : QStringList();
    };
    QHash<QString, ResolvedClass> resolved;
    for (const Declaration* declaration : std::as_const(byName)) {
        ResolvedClass& result = resolved[declaration->name];
        result.declaration = declaration;
        QSet<QString> keyNames;
        QSet<qint64> bits;
        const auto take = [&](const Declaration& from) {
            for (const KeyValue& key : from.keys) {
                if (!keyNames.contains(key.name)) {
                    keyNames.insert(key.name);
                    result.keys.append(key);
                }
            }
            for (const Flag& flag : from.flags) {
                if (!bits.contains(flag.bit)) {
                    bits.insert(flag.bit);
                    result.flags.append(flag);
                }
            }
        };
        take(*declaration);
        result.inCycle = walkBases(declaration->name, basesOf, [&](const QString& name) {
            if (const Declaration* base = byName.value(name))
                take(*base);
            else
                result.undeclaredBases.append(name);
        });
    }
    return resolved;
}

} // namespace fgd
