#include <QTemporaryDir>
#include <QtTest>

#include "blacklist/blacklisttab.h"
#include "blacklist/ttablefile.h"
#include "filesizelimit.h"
#include "tabletexts.h"
#include "testfiles.h"

using Rows = QList<QStringList>;

namespace {

void TableFill(QTableWidget* table, const Rows& rows)
{
    for (const QStringList& cells : rows)
        TableRowAdd(table, cells);
}

} // namespace

class TstTTableFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        BlacklistTableSetup(&m_table);
        m_path = BlacklistFilePath(m_dir.path());
    }

    void saveThenLoad_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Rows>("loaded");

        const Rows example{{"04/12/26", "04A1B2C3", "125", "3", "perdu"}};
        QTest::newRow("example") << example << QByteArray("04/12/26;04A1B2C3;125;3;perdu;\n") << example;
        QTest::newRow("empty table") << Rows{} << QByteArray() << Rows{};
        QTest::newRow("semicolon in cell")
            << Rows{{"01/01/26", "a;b", "7", "2", "vol"}} << QByteArray("01/01/26;a;b;7;2;vol;\n")
            << Rows{{"01/01/26", "a", "b", "7", "2"}};
        const Rows accented{{"02/02/26", "AA", "", "", "clé volée à l'accueil"}};
        QTest::newRow("accents") << accented << QString("02/02/26;AA;;;clé volée à l'accueil;\n").toUtf8()
                                 << accented;
        const QString reason(500, QLatin1Char('x'));
        const Rows longRow{{"03/03/26", "BB", "1", "2", reason}};
        QTest::newRow("long line") << longRow << ("03/03/26;BB;1;2;" + reason + ";\n").toUtf8() << longRow;
        // Found by fuzzing, both used to be lost on loading: the carriage returns of every line but
        // the first, and a leading U+FEFF in any cell starting a line.
        const Rows marks{{QString(QChar(0xFEFF)) + "a", "b\rc", "", "", ""},
                         {QString(QChar(0xFEFF)) + "d", "", "", "", "e\r"}};
        QTest::newRow("carriage returns and byte-order marks") << marks
                                                               << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                             "a;b\rc;;;;\n\xEF\xBB\xBF"
                                                                             "d;;;;e\r;\n")
                                                               << marks;
    }

    void saveThenLoad()
    {
        QFETCH(Rows, rows);
        QFETCH(QByteArray, file);
        QFETCH(Rows, loaded);
        QLineEdit status;
        TableFill(&m_table, rows);
        QVERIFY(BlacklistFileSave(&m_table, &status, m_path));
        QCOMPARE(status.text(), QStringLiteral("Enregistrement liste noire->OK"));
        QCOMPARE(FileBytes(m_path), file);

        TableRowAppend(&m_table); // the load replaces whatever the table held
        QVERIFY(BlacklistFileLoad(&m_table, &status, m_path));
        QCOMPARE(status.text(), QStringLiteral("Chargement liste noire->OK"));
        QCOMPARE(TableTexts(&m_table), loaded);
    }

    void loadForeignFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Rows>("loaded");
        QTest::newRow("two fields") << QByteArray("04/12/26;ABC\n05/12/26;DEF")
                                    << Rows{{"04/12/26", "ABC", "", "", ""}, {"05/12/26", "DEF", "", "", ""}};
        QTest::newRow("latin-1 line among utf-8")
            << QByteArray("01/01/26;A;;;perdu \xe9t\xe9;\n02/01/26;B;;;d\xc3\xa9j\xc3\xa0;\n")
            << Rows{{"01/01/26", "A", "", "", "perdu été"}, {"02/01/26", "B", "", "", "déjà"}};
        QTest::newRow("blank line and CR LF")
            << QByteArray("01/01/26;A;1;2;r;\r\n\r\n02/01/26;B;1;2;s;x;y\r\n")
            << Rows{{"01/01/26", "A", "1", "2", "r"}, {"", "", "", "", ""}, {"02/01/26", "B", "1", "2", "s"}};
    }

    void loadForeignFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(Rows, loaded);
        QVERIFY(FileWrite(m_path, file));
        QVERIFY(TTableFile::TableLoad(&m_table, m_path));
        QCOMPARE(TableTexts(&m_table), loaded);
    }

    void fileFailures()
    {
        QLineEdit status;
        TableRowAppend(&m_table);
        QVERIFY(!BlacklistFileLoad(&m_table, &status, m_dir.filePath("none.txt")));
        QCOMPARE(status.text(), QStringLiteral("Chargement liste noire->ECHEC"));
        QCOMPARE(m_table.rowCount(), 0);

        // The missing folder is created.
        const QString nested = BlacklistFilePath(m_dir.filePath("new/folder"));
        QCOMPARE(nested, m_dir.filePath("new/folder/listenoire.txt"));
        TableFill(&m_table, {{"01/01/26", "A", "1", "2", "r"}});
        QVERIFY(BlacklistFileSave(&m_table, &status, nested));
        QCOMPARE(FileBytes(nested), QByteArray("01/01/26;A;1;2;r;\n"));

        // A write that hits the file size limit must leave the old file whole.
        for (int row = 0; row < 2000; ++row)
            TableRowAdd(&m_table, {"01/01/26", "04A1B2C3", "125", "3", "a reason long enough"});
        {
            FileSizeLimit limit(4096);
            QVERIFY(limit.isActive());
            QVERIFY(!BlacklistFileSave(&m_table, &status, nested));
        }
        QCOMPARE(status.text(), QStringLiteral("Enregistrement liste noire->ECHEC"));
        QCOMPARE(FileBytes(nested), QByteArray("01/01/26;A;1;2;r;\n"));
        QCOMPARE(QDir(m_dir.filePath("new/folder")).entryList(QDir::Files), QStringList{"listenoire.txt"});
    }

    void rowOperations()
    {
        QLineEdit status;
        TableFill(&m_table, {{"a"}, {"b"}, {"c"}});
        m_table.setCurrentCell(0, 1);
        BlacklistRowNew(&m_table, &status, QDate(2026, 2, 5));
        QCOMPARE(status.text(), QStringLiteral("Ligne insérée, saisir le numéro de goupe ou d'utilisateur"));
        QCOMPARE(TableTexts(&m_table).last(), (QStringList{"05/02/26", "", "", "", ""}));

        m_table.clearSelection();
        BlacklistRowDelete(&m_table, &status);
        QCOMPARE(status.text(), QStringLiteral("sélectionnez une ligne auparavant"));
        QCOMPARE(m_table.rowCount(), 4);
        // Of a selection, the first row goes.
        m_table.setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 4), true);
        BlacklistRowDelete(&m_table, &status);
        QCOMPARE(status.text(), QStringLiteral("Ligne supprimée"));
        QCOMPARE(m_table.rowCount(), 3);
        QCOMPARE(TableCellText(&m_table, 1, 0), QStringLiteral("c"));

        QString line = "stale";
        QVERIFY(!TableRowToLine(&m_table, 3, &line));
        QVERIFY(line.isEmpty());
        QVERIFY(TableRowToLine(&m_table, 0, &line));
        QCOMPARE(line, QStringLiteral("a;;;;;"));
    }

private:
    QTemporaryDir m_dir;
    QTableWidget m_table;
    QString m_path;
};

QTEST_MAIN(TstTTableFile)
#include "tst_ttablefile.moc"
