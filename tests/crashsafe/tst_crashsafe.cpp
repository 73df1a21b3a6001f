#include <QtTest>

#include "testfiles.h"

namespace {

const QStringList fileNames = {QStringLiteral("config.ini"), QStringLiteral("listenoire.txt"),
                               QStringLiteral("configuration.txt")};

// Reads lines until one equals `wanted`; false when the saver stops talking or ends.
bool lineWait(QProcess* saver, const QByteArray& wanted)
{
    for (;;) {
        while (saver->canReadLine()) {
            if (saver->readLine().trimmed() == wanted)
                return true;
        }
        if (!saver->waitForReadyRead(20000))
            return false;
    }
}

} // namespace

class TstCrashSafe : public QObject
{
    Q_OBJECT

private slots:
    void killedSaverLeavesWholeFiles();
};

void TstCrashSafe::killedSaverLeavesWholeFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString referenceFolder = dir.filePath(QStringLiteral("reference"));
    const QDir live(dir.filePath(QStringLiteral("live")));
    QVERIFY(QDir().mkpath(live.path()));

    QProcess reference;
    reference.start(QStringLiteral(CRASHSAVER_PATH), {QStringLiteral("--reference"), referenceFolder});
    QVERIFY(reference.waitForFinished(60000));
    QVERIFY2(reference.exitStatus() == QProcess::NormalExit && reference.exitCode() == 0,
             reference.readAllStandardError().constData());

    // Every whole content each file may have; they all differ, so a mix of two could not pass for one.
    QHash<QString, QList<QByteArray>> whole;
    for (const QString& name : fileNames) {
        for (int v = 0; QFile::exists(QStringLiteral("%1/%2/%3").arg(referenceFolder).arg(v).arg(name)); ++v)
            whole[name].append(FileBytes(QStringLiteral("%1/%2/%3").arg(referenceFolder).arg(v).arg(name)));
        QVERIFY2(whole[name].size() >= 2, qPrintable(name));
        for (int a = 0; a < whole[name].size(); ++a) {
            QVERIFY2(whole[name].at(a).size() > 8000, qPrintable(name));
            for (int b = a + 1; b < whole[name].size(); ++b)
                QVERIFY(whole[name].at(a) != whole[name].at(b));
        }
    }

    const quint32 seed = qEnvironmentVariableIsSet("KORVEL_CRASH_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KORVEL_CRASH_SEED"))
                             : QRandomGenerator::global()->generate();
    qInfo("KORVEL_CRASH_SEED=%u", seed);
    QRandomGenerator random(seed);
    const int kills = 30 + int(random.bounded(31));

    QHash<QString, QVector<int>> seen;
    for (const QString& name : fileNames)
        seen[name] = QVector<int>(whole[name].size(), 0);
    int mostTemporaries = 0;

    // The last run is killed only after a whole round, so every file must exist by then.
    for (int kill = 0; kill <= kills; ++kill) {
        const bool last = kill == kills;
        QProcess saver;
        saver.start(QStringLiteral(CRASHSAVER_PATH),
                    {QStringLiteral("--first"), QString::number(kill), live.path()});
        QVERIFY(lineWait(&saver, "boucle"));
        // Letting a few saves end first makes the files change hands whatever the machine's speed.
        const int saves = last ? 3 : int(random.bounded(4));
        for (int s = 0; s < saves; ++s)
            QVERIFY2(lineWait(&saver, "enregistre"), saver.readAllStandardError().constData());
        const int delay = last ? 0 : int(random.bounded(51));
        QTest::qWait(delay);
        QVERIFY2(saver.state() == QProcess::Running, saver.readAllStandardError().constData());
        saver.kill();
        QVERIFY(saver.waitForFinished(20000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        const QString when = QStringLiteral("kill %1, %2 ms after %3 saves").arg(kill).arg(delay).arg(saves);
        for (const QString& name : fileNames) {
            const bool saved =
                std::any_of(seen[name].cbegin(), seen[name].cend(), [](int n) { return n > 0; });
            if (!live.exists(name)) {
                QVERIFY2(!saved && !last, qPrintable(name + QStringLiteral(" missing, ") + when));
                continue;
            }
            const QByteArray content = FileBytes(live.filePath(name));
            // Opening the store creates an empty config.ini before its first save.
            if (content.isEmpty() && name == QLatin1String("config.ini") && !saved && !last)
                continue;
            const int index = whole[name].indexOf(content);
            QVERIFY2(
                index >= 0,
                qPrintable(
                    QStringLiteral("%1 not whole (%2 bytes), %3").arg(name).arg(content.size()).arg(when)));
            ++seen[name][index];
        }

        // What a kill may leave besides the files: the saver's temporary copies, which neither the
        // program nor a "*.txt" / "*.ini" file filter would take for one of them.
        QStringList others = live.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : fileNames)
            others.removeOne(name);
        for (const QString& other : qAsConst(others)) {
            const bool temporary =
                std::any_of(fileNames.cbegin(), fileNames.cend(), [&](const QString& name) {
                    return other.startsWith(name + QLatin1Char('.')) && other.size() > name.size() + 1;
                });
            QVERIFY2(temporary, qPrintable(QStringLiteral("unexpected file %1, %2").arg(other, when)));
            QVERIFY2(!other.endsWith(QLatin1String(".txt")) && !other.endsWith(QLatin1String(".ini")),
                     qPrintable(other));
        }
        mostTemporaries = qMax(mostTemporaries, others.size());
    }

    for (const QString& name : fileNames) {
        QStringList counts;
        for (int n : qAsConst(seen[name]))
            counts << QString::number(n);
        qInfo("%s: kills per content %s", qPrintable(name), qPrintable(counts.join(QLatin1Char('/'))));
    }
    qInfo("%d kills, at most %d temporary files left", kills, mostTemporaries);
}

QTEST_GUILESS_MAIN(TstCrashSafe)
#include "tst_crashsafe.moc"
