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
        QTest::addColumn<bool>("atFileStart");

        QTest::newRow("ascii") << QByteArray("ZONE0=INSTALLED:YES") << QStringLiteral("ZONE0=INSTALLED:YES")
                               << true;
        QTest::newRow("utf-8") << QByteArray("Acc\xc3\xa8s Hall") << QStringLiteral("Accès Hall") << true;
        QTest::newRow("latin-1") << QByteArray("Acc\xe8s Hall") << QStringLiteral("Accès Hall") << true;
        QTest::newRow("latin-1 pair that looks like utf-8 start")
            << QByteArray("\xc3(") << QStringLiteral("Ã(") << true;
        QTest::newRow("cut utf-8 sequence") << QByteArray("caf\xc3") << QStringLiteral("cafÃ") << true;
        QTest::newRow("byte-order mark")
            << QByteArray("\xef\xbb\xbf[ZONES]") << QStringLiteral("[ZONES]") << true;
        QTest::newRow("euro sign") << QByteArray("\xe2\x82\xac 5") << QStringLiteral("€ 5") << true;
        QTest::newRow("byte-order mark inside a file")
            << QByteArray("\xef\xbb\xbfk=v") << (QChar(0xFEFF) + QStringLiteral("k=v")) << false;
        QTest::newRow("empty") << QByteArray() << QString() << true;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, atFileStart);
        QCOMPARE(DecodeText(bytes, atFileStart), text);
    }
};

QTEST_APPLESS_MAIN(TstTextDecode)
#include "tst_textdecode.moc"
