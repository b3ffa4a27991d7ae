#include "ComposeCommand.h"

#include "CheckCommand.h"
#include "fgd/Windows1252.h"
#include "game/Compose.h"
#include "model/DefinitionList.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"
#include "model/IncludedClasses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void say(QIODevice& err, const QString& text) {
    err.write(QStringLiteral("fgd-composer: %1\n").arg(text).toUtf8());
}

} // namespace

int runCompose(const ComposeOptions& options, QIODevice& out, QIODevice& err) {
    QList<fgd::Declaration> declared;
    for (const QString& file : options.files) {
        // - is standard input, whose @includes come from the working folder, as with --check.
        const bool standardInput = file == u"-";
        model::ReadResult read;
        QFile input;
        if (standardInput && !input.open(stdin, QIODevice::ReadOnly))
            read.error =
                QStringLiteral("Standard input could not be read: %1.").arg(input.errorString());
        else if (standardInput)
            read = model::readFgdStream(input, QStringLiteral("<stdin>"), model::LineLimit::None);
        else
            read = model::readFgdFile(file, model::LineLimit::None);
        if (!read.ok) {
            say(err, read.error);
            return CheckStatus::Unreadable;
        }
        model::DeclarationsRead declarations = model::declarationsWithIncludes(
            read.contents.lines,
            standardInput ? QDir::currentPath() : QFileInfo(file).absolutePath());
        for (const QString& unread : std::as_const(declarations.unread))
            say(err, QStringLiteral("note: %1: the classes it declares count as undeclared")
                         .arg(unread));
        declared += declarations.declarations;
    }
    const game::GameReading reading =
        game::readGame(options.game, game::SourceDetail::ForComposing);
    if (!reading.game) {
        say(err, reading.error);
        return CheckStatus::Unreadable;
    }
    for (const QString& note : reading.notes)
        say(err, QStringLiteral("note: %1").arg(note));
    if (reading.game->code.links.isEmpty()) {
        say(err, QStringLiteral("%1 is a library: declarations are composed from the game's "
                                "source folder, which tells what each class reads and sets")
                     .arg(QDir::toNativeSeparators(reading.game->source)));
        return CheckStatus::Unreadable;
    }
    const QList<game::ComposedClass> composed = game::composeClasses(*reading.game, declared);
    QStringList lines;
    for (const game::ComposedClass& declaration : composed)
        lines += declaration.lines;
    say(err, QStringLiteral("%1 declarations composed for the classes %2 links that no file "
                            "declares")
                 .arg(composed.size())
                 .arg(QDir::toNativeSeparators(reading.game->source)));
    if (options.output.isEmpty()) {
        QByteArray bytes;
        for (const QString& line : std::as_const(lines))
            bytes += fgd::toWindows1252(line) + "\r\n";
        out.write(bytes);
        return CheckStatus::Clean;
    }
    if (lines.size() > model::DefinitionList::MaxLines) {
        say(err, QStringLiteral("%1 lines are more than a list holds (%2): compose into standard "
                                "output instead")
                     .arg(lines.size())
                     .arg(model::DefinitionList::maxLinesText()));
        return CheckStatus::Unreadable;
    }
    model::ModInfo info;
    const model::SaveResult saved =
        model::SaveDefinitions(options.output, model::DefinitionList(lines), info);
    if (!saved.ok) {
        say(err, saved.error);
        return CheckStatus::Unreadable;
    }
    return CheckStatus::Clean;
}
