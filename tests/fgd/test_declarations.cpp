// Declarations as data: what each declaration of a list declares (helpers with their arguments,
// key-values with type, label, default and choices, flags), each where it is written, and what a
// class inherits through its bases, with bases declared nowhere and circles.

#include "fgd/Declarations.h"

#include <QTest>

class TestDeclarations : public QObject {
    Q_OBJECT

private slots:
    void readsWhatIsDeclared();
    void resolvesBases();
};

void TestDeclarations::readsWhatIsDeclared() {
    const QList<fgd::Declaration> read = fgd::readDeclarations({
        R"(@BaseClass = Targetname [ targetname(target_source) : "Name" ])",
        R"(@PointClass base(Targetname, Angles) size(-16 -16 0, 16 16 36) color(0 255 0))",
        R"(  studio("models/can.mdl") iconsprite = monster_can : "A " + "can" [)",
        R"(  health(integer) : "Health" : 20)",
        R"(  skin(choices) : "Skin" : 1 = [ 0 : "Red" 1 : "Blue" ])",
        R"(  spawnflags(flags) = [ 1 : "Start On" : 1 4 : "Silent" ])",
        R"(  message(string) : : "Hello")", "]",
        R"(@SolidClass = func_wall [ rendermode(choices : "Mode" ])", // refused, still read
    });
    QCOMPARE(read.size(), 3);
    const fgd::Declaration& can = read[1];
    QCOMPARE(can.kind, fgd::ClassKind::Point);
    QCOMPARE(can.name, "monster_can");
    QCOMPARE(can.place.line, 2);
    QCOMPARE(can.place.column, 40);
    QCOMPARE(can.description, "A can");
    QCOMPARE(can.bases, QStringList({"Targetname", "Angles"}));
    QStringList helpers;
    for (const fgd::Helper& helper : can.helpers)
        helpers << helper.name + u'(' + helper.arguments.join(u'|') + u')';
    QCOMPARE(helpers, QStringList({"base(Targetname|Angles)", "size(-16 -16 0|16 16 36)",
                                   "color(0 255 0)", "studio(models/can.mdl)", "iconsprite()"}));
    QCOMPARE(can.keys.size(), 4);
    QCOMPARE(can.keys[0].name, "health");
    QCOMPARE(can.keys[0].type, "integer");
    QCOMPARE(can.keys[0].label, "Health");
    QCOMPARE(can.keys[0].defaultValue, "20");
    QCOMPARE(can.keys[0].place.line, 3);
    QCOMPARE(can.keys[1].choices.size(), 2);
    QCOMPARE(can.keys[1].choices[1].value, "1");
    QCOMPARE(can.keys[1].choices[1].label, "Blue");
    QCOMPARE(can.keys[2].type, "flags");
    QCOMPARE(can.flags.size(), 2);
    QCOMPARE(can.flags[0].label, "Start On");
    QVERIFY(can.flags[0].setByDefault);
    QCOMPARE(can.flags[1].bit, 4);
    QVERIFY(!can.flags[1].setByDefault);
    QCOMPARE(can.keys[3].label, QString());
    QCOMPARE(can.keys[3].defaultValue, "Hello");
    QCOMPARE(read[2].kind, fgd::ClassKind::Solid);
    QCOMPARE(read[2].keys.size(), 0);
}

void TestDeclarations::resolvesBases() {
    const QList<fgd::Declaration> read = fgd::readDeclarations({
        R"(@BaseClass = Targetname [ targetname(target_source) : "Name" ])",
        R"(@BaseClass base(Targetname) = Target [ target(target_destination) : "Target" ])",
        R"(@BaseClass = Loud [ target(string) : "Other" spawnflags(flags) = [ 2 : "Loud" : 0 ] ])",
        R"(@PointClass base(Target, Loud, Missing) = trigger_relay)",
        R"([ targetname(string) : "Own" spawnflags(flags) = [ 1 : "Once" : 0 ] ])",
        R"(@BaseClass base(Ring2) = Ring1 [])",
        R"(@BaseClass base(Ring1) = Ring2 [])",
        R"(@PointClass base(Ring1) = info_ring [])",
    });
    const QHash<QString, fgd::ResolvedClass> classes = fgd::resolveClasses(read);
    const fgd::ResolvedClass& relay = classes.value("trigger_relay");
    QStringList keys;
    for (const fgd::KeyValue& key : relay.keys)
        keys << key.name + u':' + key.label;
    // Its own first, then each base in order with what that base inherits; a name once.
    QCOMPARE(keys, QStringList({"targetname:Own", "spawnflags:", "target:Target"}));
    QCOMPARE(relay.flags.size(), 2);
    QCOMPARE(relay.flags[1].label, "Loud");
    QCOMPARE(relay.undeclaredBases, QStringList({"Missing"}));
    QVERIFY(!relay.inCycle);
    QVERIFY(classes.value("Ring1").inCycle);
    QVERIFY(!classes.value("info_ring").inCycle); // it reaches a circle but is not in one
}

QTEST_APPLESS_MAIN(TestDeclarations)
#include "test_declarations.moc"
