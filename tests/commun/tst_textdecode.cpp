#include <QtTest>

#include "commun/textdecode.h"

class TstTextDecode : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");

        QTest::newRow("ascii") << QByteArray("ZONE0=INSTALLED:YES") << QStringLiteral("ZONE0=INSTALLED:YES");
        QTest::newRow("utf-8") << QByteArray("Acc\xc3\xa8s Hall") << QStringLiteral("Accès Hall");
        QTest::newRow("latin-1") << QByteArray("Acc\xe8s Hall") << QStringLiteral("Accès Hall");
        QTest::newRow("latin-1 pair that looks like utf-8 start")
            << QByteArray("\xc3(") << QStringLiteral("Ã(");
        QTest::newRow("cut utf-8 sequence") << QByteArray("caf\xc3") << QStringLiteral("cafÃ");
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[ZONES]") << QStringLiteral("[ZONES]");
        QTest::newRow("euro sign") << QByteArray("\xe2\x82\xac 5") << QStringLiteral("€ 5");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeText(bytes), text);
    }
};

QTEST_APPLESS_MAIN(TstTextDecode)
#include "tst_textdecode.moc"
