#include "CheckCommand.h"

#include "game/GameClasses.h"
#include "model/DefinitionList.h"
#include "model/FgdReader.h"
#include "model/FileCheck.h"
#include "model/IncludedClasses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

namespace {

const QString StandardInput = QStringLiteral("-");

// What the check found in one file given on the command line.
struct CheckedFile {
    QString name;      // as given, or <stdin>
    QString path;      // absolute, empty for standard input
    QString error;     // why it cannot be read, or empty
    QStringList notes; // what else the user should know of it
    QList<model::Finding> findings;
};

// Findings and messages go out in UTF-8 on every platform, as SARIF must be and as text editors
// and CI logs read them (on Windows, fgd-composer.com switches the console to UTF-8 meanwhile).
void write(QIODevice& stream, const QString& text) {
    stream.write(text.toUtf8());
}

// A file to check as given, what surrounds it (standard input: the working folder) and the game
// it is checked against, or none.
struct FileToCheck {
    QString given;
    model::Surroundings around;
    const game::GameClasses* game = nullptr;
};

// Reads and checks one file as the main window opens it.
CheckedFile checkFile(const FileToCheck& file, fgd::Editors editors) {
    CheckedFile checked;
    const QString& given = file.given;
    const bool standardInput = given == StandardInput;
    checked.name = standardInput ? QStringLiteral("<stdin>") : given;
    model::ReadResult read;
    if (standardInput) {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            read.error =
                QStringLiteral("Standard input could not be read: %1.").arg(input.errorString());
        } else {
            read = model::readFgdStream(input, checked.name, model::LineLimit::None);
        }
    } else {
        const QFileInfo info(given);
        checked.path = info.absoluteFilePath();
        read = model::readFgdFile(given, model::LineLimit::None);
    }
    if (!read.ok) {
        checked.error = read.error;
        return checked;
    }
    // The check reads a file of any length, as the editors do; only the main window's list
    // stops at its limit, so the user learns that too.
    if (const qsizetype lines = read.contents.lines.size();
        lines > model::DefinitionList::MaxLines) {
        checked.notes << QStringLiteral("%1: note: the file holds %2 definition lines; all are "
                                        "checked, but the main window opens at most %3")
                             .arg(checked.name)
                             .arg(lines)
                             .arg(model::DefinitionList::maxLinesText());
    }
    checked.findings = model::checkFileContents(read.contents, file.around, editors, file.game);
    return checked;
}

// Checks the files side by side on the machine's cores: each file is read and checked on its
// own, so nothing is shared but the list of results, each in its own place. The largest files
// go first, so that no core is left with a large one when the others are done.
QList<CheckedFile> checkFiles(const QList<FileToCheck>& files, fgd::Editors editors) {
    QList<qsizetype> order(files.size());
    std::iota(order.begin(), order.end(), 0);
    QList<qint64> sizes;
    for (const FileToCheck& file : files)
        sizes.append(file.given == StandardInput ? 0 : QFileInfo(file.given).size());
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return sizes.at(a) > sizes.at(b); });
    QList<CheckedFile> checked(files.size());
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype i = next++; i < files.size(); i = next++)
            checked[order.at(i)] = checkFile(files.at(order.at(i)), editors);
    };
    const qsizetype helpers =
        std::min<qsizetype>(files.size(), std::max(1u, std::thread::hardware_concurrency())) - 1;
    std::vector<std::thread> threads;
    for (qsizetype i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return checked;
}

// The path of a file from the working folder when it lies under it (a repository's checkout), or
// nothing when it lies elsewhere.
std::optional<QString> fromWorkingFolder(const QString& path) {
    const QString relative = QDir::current().relativeFilePath(path);
    if (relative.startsWith(QStringLiteral("../")) || QDir::isAbsolutePath(relative))
        return std::nullopt;
    return relative;
}

// The name a finding's file goes by in the text report: the checked file's as given, or a file it
// includes by its path from the working folder (absolute when it lies outside it).
QString shownName(const CheckedFile& file, const model::Finding& finding) {
    if (finding.file.isEmpty())
        return file.name;
    return QDir::toNativeSeparators(fromWorkingFolder(finding.file).value_or(finding.file));
}

void writeText(const CheckedFile& file, QIODevice& out) {
    QString text;
    for (const model::Finding& finding : file.findings) {
        text += QStringLiteral("%1:%2:%3: %4: %5\n")
                    .arg(shownName(file, finding))
                    .arg(finding.line)
                    .arg(finding.column)
                    .arg(fgd::severityName(finding.severity), finding.reason);
    }
    write(out, text);
}

// Where a file lies, for a report read on another machine: relative to the working folder when
// it lies under it (a repository's checkout), otherwise its absolute address.
QJsonObject artifactLocation(const QString& path) {
    if (path.isEmpty())
        return {{QStringLiteral("uri"), QStringLiteral("stdin")}};
    const std::optional<QString> relative = fromWorkingFolder(path);
    if (!relative)
        return {{QStringLiteral("uri"), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)}};
    QUrl url;
    url.setPath(*relative, QUrl::DecodedMode);
    return {{QStringLiteral("uri"), url.toString(QUrl::FullyEncoded)},
            {QStringLiteral("uriBaseId"), QStringLiteral("SRCROOT")}};
}

// SARIF's levels have the same names as the check's kinds.
QString sarifLevel(fgd::Severity severity) {
    return fgd::severityName(severity);
}

void writeSarif(const QList<CheckedFile>& files, const QStringList& unreadable, QIODevice& out) {
    // One rule for each kind of problem found, described, with its usual level (a result says
    // when its own differs).
    QMap<QString, const fgd::Rule*> kinds;
    for (const CheckedFile& file : files) {
        for (const model::Finding& finding : file.findings)
            kinds.insert(QString::fromLatin1(finding.rule->id), finding.rule);
    }
    QJsonArray rules;
    for (const fgd::Rule* rule : std::as_const(kinds)) {
        rules.append(
            QJsonObject{{QStringLiteral("id"), QString::fromLatin1(rule->id)},
                        {QStringLiteral("shortDescription"),
                         QJsonObject{{QStringLiteral("text"), QString::fromUtf8(rule->summary)}}},
                        {QStringLiteral("fullDescription"),
                         QJsonObject{{QStringLiteral("text"), QString::fromUtf8(rule->help)}}},
                        {QStringLiteral("help"),
                         QJsonObject{{QStringLiteral("text"), QString::fromUtf8(rule->help)}}},
                        {QStringLiteral("defaultConfiguration"),
                         QJsonObject{{QStringLiteral("level"), sarifLevel(rule->severity)}}}});
    }
    const QStringList ruleIds = kinds.keys();

    QJsonArray results;
    for (const CheckedFile& file : files) {
        const QJsonObject location = artifactLocation(file.path);
        for (const model::Finding& finding : file.findings) {
            const QString rule = QString::fromLatin1(finding.rule->id);
            results.append(QJsonObject{
                {QStringLiteral("ruleId"), rule},
                {QStringLiteral("ruleIndex"), ruleIds.indexOf(rule)},
                {QStringLiteral("level"), sarifLevel(finding.severity)},
                {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), finding.reason}}},
                {QStringLiteral("locations"),
                 QJsonArray{QJsonObject{
                     {QStringLiteral("physicalLocation"),
                      QJsonObject{
                          {QStringLiteral("artifactLocation"),
                           finding.file.isEmpty() ? location : artifactLocation(finding.file)},
                          {QStringLiteral("region"),
                           QJsonObject{
                               {QStringLiteral("startLine"), finding.line},
                               {QStringLiteral("startColumn"), qint64(finding.column)}}}}}}}}});
        }
    }

    QJsonArray notifications;
    for (const QString& message : unreadable) {
        notifications.append(QJsonObject{
            {QStringLiteral("level"), QStringLiteral("error")},
            {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), message}}}});
    }
    QJsonObject invocation{{QStringLiteral("executionSuccessful"), unreadable.isEmpty()}};
    if (!notifications.isEmpty())
        invocation.insert(QStringLiteral("toolExecutionNotifications"), notifications);

    QString root = QUrl::fromLocalFile(QDir::currentPath()).toString(QUrl::FullyEncoded);
    if (!root.endsWith(u'/'))
        root += u'/';
    const QJsonObject run{
        {QStringLiteral("tool"),
         QJsonObject{
             {QStringLiteral("driver"),
              QJsonObject{
                  {QStringLiteral("name"), QCoreApplication::applicationName()},
                  {QStringLiteral("version"), QCoreApplication::applicationVersion()},
                  {QStringLiteral("semanticVersion"), QCoreApplication::applicationVersion()},
                  {QStringLiteral("rules"), rules}}}}},
        {QStringLiteral("invocations"), QJsonArray{invocation}},
        {QStringLiteral("originalUriBaseIds"),
         QJsonObject{{QStringLiteral("SRCROOT"), QJsonObject{{QStringLiteral("uri"), root}}}}},
        {QStringLiteral("columnKind"), QStringLiteral("utf16CodeUnits")},
        {QStringLiteral("results"), results}};
    const QJsonObject log{{QStringLiteral("$schema"),
                           QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
                          {QStringLiteral("version"), QStringLiteral("2.1.0")},
                          {QStringLiteral("runs"), QJsonArray{run}}};
    out.write(QJsonDocument(log).toJson(QJsonDocument::Indented));
}

// The classes the game links that none of the files (nor what they @include) declares, each as
// a note, for a maintainer looking for entities the FGD lacks.
void writeUndeclared(const CheckOptions& options, const game::GameClasses& game, QIODevice& out) {
    QSet<QString> declared;
    for (const QString& file : options.files) {
        if (file == StandardInput)
            continue;
        for (const QString& name : model::classesDeclaredIn(file).names.value_or(QStringList()))
            declared.insert(name);
    }
    QString text;
    for (const QString& name : game.names) {
        if (!declared.contains(name))
            text += QStringLiteral("%1: note: the game links %2, which no file declares\n")
                        .arg(QDir::toNativeSeparators(game.source), name);
    }
    write(out, text);
}

} // namespace

int runCheck(const CheckOptions& options, QIODevice& out, QIODevice& err) {
    // The game each file is checked against: the one given, or each file's own liblist.gam
    // (read once for the files that share it). When a file's liblist.gam leads to no game, its
    // class names are not checked, and a note on the file says why.
    std::optional<game::GameClasses> given;
    if (!options.game.isEmpty()) {
        game::GameReading reading = game::readGame(options.game);
        for (const QString& note : std::as_const(reading.notes))
            write(err, QStringLiteral("fgd-composer: note: %1\n").arg(note));
        if (!reading.game) {
            write(err, QStringLiteral("fgd-composer: %1\n").arg(reading.error));
            return CheckStatus::Unreadable;
        }
        given = std::move(reading.game);
    }
    QHash<QString, game::GameReading> byLiblist;
    QList<FileToCheck> files;
    QHash<QString, QString> gameNotes; // by file, for the files whose liblist.gam gave no game
    for (const QString& file : options.files) {
        FileToCheck& checked = files.emplace_back(
            FileToCheck{file, file == StandardInput ? model::Surroundings::ofWorkingFolder()
                                                    : model::Surroundings::ofFile(file)});
        const std::optional<QString>& liblist = checked.around.liblist;
        if (given || !liblist) {
            checked.game = given ? &*given : nullptr;
            continue;
        }
        if (!byLiblist.contains(*liblist))
            byLiblist.insert(*liblist, game::readGame(*liblist));
        const game::GameReading& reading = byLiblist[*liblist];
        if (!reading.game)
            gameNotes.insert(file, game::gameNotCheckedNote(*liblist, reading.error));
        checked.game = reading.game ? &*reading.game : nullptr;
    }
    QList<CheckedFile> checked = checkFiles(files, options.editors);
    // A file that several of the files include is reported once, with the first.
    QSet<QString> reportedElsewhere;
    for (CheckedFile& file : checked) {
        for (model::Finding& finding : file.findings) {
            if (finding.rule == &fgd::Rules::WrittenFor)
                finding.reason += QStringLiteral(" (choose the editors with --editors)");
        }
        file.findings.removeIf([&](const model::Finding& finding) {
            if (finding.file.isEmpty())
                return false;
            const QString key =
                QStringLiteral("%1:%2:%3").arg(finding.file).arg(finding.line).arg(finding.column);
            if (reportedElsewhere.contains(key))
                return true;
            reportedElsewhere.insert(key);
            return false;
        });
    }
    for (qsizetype i = 0; i < checked.size(); ++i) {
        if (const QString note = gameNotes.value(options.files.at(i)); !note.isEmpty())
            checked[i].notes.prepend(QStringLiteral("%1: note: %2").arg(checked[i].name, note));
    }
    QStringList unreadable;
    bool errors = false;
    for (const CheckedFile& file : checked) {
        if (!file.error.isEmpty()) {
            write(err, QStringLiteral("fgd-composer: %1\n").arg(file.error));
            unreadable.append(file.error);
            continue;
        }
        for (const QString& note : file.notes)
            write(err, QStringLiteral("fgd-composer: %1\n").arg(note));
        for (const model::Finding& finding : file.findings) {
            errors |= finding.severity == fgd::Severity::Error ||
                      (options.warningsAsErrors && finding.severity == fgd::Severity::Warning);
        }
        if (options.format == CheckFormat::Text)
            writeText(file, out);
    }
    if (options.format == CheckFormat::Sarif)
        writeSarif(checked, unreadable, out);
    else if (options.undeclared && given)
        writeUndeclared(options, *given, out);
    if (!unreadable.isEmpty())
        return CheckStatus::Unreadable;
    return errors ? CheckStatus::Errors : CheckStatus::Clean;
}
