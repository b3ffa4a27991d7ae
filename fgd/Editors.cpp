#include "Editors.h"

#include <QStringList>

namespace fgd {

namespace {

struct Named {
    unsigned editor;
    const char16_t* name;
};
constexpr Named Names[] = {
    {Editor::Hammer, u"Hammer"},
    {Editor::Jack, u"J.A.C.K."},
    {Editor::TrenchBroom, u"TrenchBroom"},
};

// Every spelling a user may type for each editor, once dots, dashes and case are set aside.
std::optional<Editors> readOne(const QString& word) {
    if (word == u"all")
        return AllEditors;
    if (word == u"hammer" || word == u"worldcraft" || word == u"vhe")
        return Editor::Hammer;
    if (word == u"jack" || word == u"jackhammer")
        return Editor::Jack;
    if (word == u"trenchbroom" || word == u"tb")
        return Editor::TrenchBroom;
    return std::nullopt;
}

} // namespace

QString editorNames(Editors editors) {
    QStringList names;
    for (const Named& named : Names) {
        if (editors & named.editor)
            names << QString::fromUtf16(named.name);
    }
    if (names.isEmpty())
        return QStringLiteral("no editor");
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

std::optional<Editors> readEditorNames(QStringView text) {
    Editors editors = 0;
    for (QStringView part : text.tokenize(u',')) {
        for (QStringView word : part.tokenize(u' ', Qt::SkipEmptyParts)) {
            QString plain = word.toString().toLower();
            plain.remove(u'.').remove(u'-').remove(u'_');
            const std::optional<Editors> one = readOne(plain);
            if (!one)
                return std::nullopt;
            editors |= *one;
        }
    }
    if (editors == 0)
        return std::nullopt;
    return editors;
}

} // namespace fgd
