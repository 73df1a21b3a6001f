#include <QtTest>

#include "commun/textdecode.h"

class TstTextDecode : public QObject
{
    Q_OBJECT

private slots:
    void decode()
    {
        const struct
        {
            QByteArray bytes;
            bool atFileStart;
            QString text;
        } cases[] = {
            {"Acc\xc3\xa8s Hall", true, "Accès Hall"},
            {"\xe2\x82\xac 5", true, "€ 5"},
            {"Acc\xe8s Hall", true, "Accès Hall"},
            // Invalid or cut UTF-8: the whole line is Latin-1.
            {"\xc3(", true, "Ã("},
            {"caf\xc3", true, "cafÃ"},
            // Found by fuzzing: only the file's own byte-order mark goes.
            {"\xef\xbb\xbf[ZONES]", true, "[ZONES]"},
            {"\xef\xbb\xbfk=v", false, QChar(0xFEFF) + QStringLiteral("k=v")},
            {QByteArray(), true, QString()},
        };
        for (const auto& c : cases)
            QCOMPARE(DecodeText(c.bytes, c.atFileStart), c.text);
        // Overlong, surrogate, beyond U+10FFFF: not UTF-8 either.
        for (const char* bytes : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"})
            QCOMPARE(DecodeText(bytes), QString::fromLatin1(bytes));
    }
};

QTEST_APPLESS_MAIN(TstTextDecode)
#include "tst_textdecode.moc"
