#include <QtTest>

#include "commun/atomicsave.h"
#include "filesizelimit.h"
#include "testfiles.h"

class TstAtomicSave : public QObject
{
    Q_OBJECT

private slots:
    void savesReplacesAndRefuses()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("a/b/listenoire.txt"));
        // The missing folder is created; a shorter content leaves no tail of the old one.
        for (const QByteArray& content : {QByteArray(5000, 'x'), QByteArray(), QByteArray("kept\n")}) {
            QVERIFY(SaveFileAtomic(path, content));
            QCOMPARE(FileBytes(path), content);
        }
        QCOMPARE(QDir(dir.filePath(QStringLiteral("a/b"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("listenoire.txt")});

        QVERIFY(!SaveFileAtomic(path + QStringLiteral("/inside.txt"), "x"));
        QVERIFY(!SaveFileAtomic(dir.path(), "x"));
        QVERIFY(!SaveFileAtomic(QString(), "x"));
        QCOMPARE(FileBytes(path), QByteArray("kept\n"));
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("size");
        // Larger than the device's write buffer: write() itself fails.
        QTest::newRow("write fails") << 64 * 1024 << 256 * 1024;
        // Fits the write buffer: only the final flush fails, which commit() alone would miss.
        QTest::newRow("flush fails") << 4 * 1024 << 6 * 1024;
    }

    void failedWriteKeepsOldFile()
    {
        QFETCH(int, limit);
        QFETCH(int, size);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        const QByteArray old("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n");
        QVERIFY(SaveFileAtomic(path, old));
        bool saved = true;
        {
            FileSizeLimit fsize{rlim_t(limit)};
            QVERIFY(fsize.isActive());
            saved = SaveFileAtomic(path, QByteArray(size, 'n'));
        }
        QVERIFY(!saved);
        QCOMPARE(FileBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("config.ini")});
    }
};

QTEST_APPLESS_MAIN(TstAtomicSave)
#include "tst_atomicsave.moc"
