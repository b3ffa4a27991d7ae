// fgd-composer --check run in process: the SARIF log's rules and results, and what goes to
// standard error. Its exit statuses and its text lines, as a script sees them, are in
// check.cmake.

#include "app/CheckCommand.h"
#include "fgd/Rules.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

Run check(CheckOptions options) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(FGD_TEST_DATA "/check");
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run run;
    run.status = runCheck(options, out, err);
    QDir::setCurrent(before);
    run.out = out.data();
    run.err = QString::fromUtf8(err.data());
    return run;
}

} // namespace

class TestCheckCommand : public QObject {
    Q_OBJECT

private slots:
    void sarifNamesAndDescribesItsRules();
    void editorsAreChosenWithTheOption();
    void notesKeepTheirLevel();
};

void TestCheckCommand::sarifNamesAndDescribesItsRules() {
    CheckOptions options;
    options.files = {"slips.fgd", "missing.fgd"};
    options.format = CheckFormat::Sarif;
    const Run run = check(options);
    QCOMPARE(run.status, CheckStatus::Unreadable);
    QCOMPARE(run.err, "fgd-composer: The file \"missing.fgd\" could not be opened: it does not "
                      "exist.\n");
    const QJsonObject log = QJsonDocument::fromJson(run.out).object();
    const QJsonObject sarifRun = log["runs"].toArray().at(0).toObject();
    const QJsonArray rules = sarifRun["tool"]["driver"]["rules"].toArray();
    QStringList results;
    for (const QJsonValue value : sarifRun["results"].toArray()) {
        const QJsonObject result = value.toObject();
        // Each result points to its rule, which says what it finds and what the editors do.
        const QJsonObject rule = rules.at(result["ruleIndex"].toInt()).toObject();
        QCOMPARE(rule["id"], result["ruleId"]);
        const auto table = std::find_if(fgd::Rules::All.cbegin(), fgd::Rules::All.cend(),
                                        [&](const fgd::Rule* r) { return rule["id"] == r->id; });
        QVERIFY(table != fgd::Rules::All.cend());
        QCOMPARE(rule["shortDescription"]["text"].toString(), (*table)->summary);
        QCOMPARE(rule["help"]["text"].toString(), (*table)->help);
        const QJsonObject region = result["locations"][0]["physicalLocation"]["region"].toObject();
        results << QStringLiteral("%1:%2:%3:%4:%5")
                       .arg(result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"]
                                .toString())
                       .arg(region["startLine"].toInt())
                       .arg(region["startColumn"].toInt())
                       .arg(result["level"].toString(), result["ruleId"].toString());
    }
    QCOMPARE(results,
             QStringList(
                 {"slips.fgd:3:51:error:size-arguments", "slips.fgd:4:9:error:unknown-type",
                  "slips.fgd:5:24:warning:flag-bit", "slips.fgd:7:15:warning:unlinkable-class-name",
                  "slips.fgd:7:37:error:key-value-shape", "slips.fgd:9:1:error:body-unclosed"}));
    // The file that could not be read is named in the log too, and the run did not succeed.
    const QJsonObject invocation = sarifRun["invocations"][0].toObject();
    QVERIFY(!invocation["executionSuccessful"].toBool());
    QVERIFY(invocation["toolExecutionNotifications"][0]["message"]["text"].toString().contains(
        "missing.fgd"));
}

void TestCheckCommand::editorsAreChosenWithTheOption() {
    // A file written for one editor is checked for it, and the note says how to choose others.
    CheckOptions options;
    options.files = {"jack.fgd"};
    const Run run = check(options);
    QCOMPARE(run.status, CheckStatus::Errors);
    QVERIFY2(run.out.contains("the marks speak for J.A.C.K. only (choose the editors with "
                              "--editors)\n"),
             run.out.constData());
}

void TestCheckCommand::notesKeepTheirLevel() {
    // What the game's code says below the class name: notes in SARIF too, described, and they
    // fail no check, not even one that fails on warnings.
    CheckOptions options;
    options.files = {"../game/code.fgd"};
    options.game = "../game/source";
    options.format = CheckFormat::Sarif;
    options.warningsAsErrors = true;
    const Run run = check(options);
    QCOMPARE(run.status, CheckStatus::Clean);
    const QJsonObject sarifRun =
        QJsonDocument::fromJson(run.out).object()["runs"].toArray().at(0).toObject();
    QStringList results;
    for (const QJsonValue result : sarifRun["results"].toArray())
        results << result["level"].toString() + ":" + result["ruleId"].toString();
    QCOMPARE(results, QStringList({"note:key-undeclared", "note:size-differs"}));
    for (const QJsonValue rule : sarifRun["tool"]["driver"]["rules"].toArray())
        QCOMPARE(rule["defaultConfiguration"]["level"].toString(), "note");
}

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "test_check_command.moc"
