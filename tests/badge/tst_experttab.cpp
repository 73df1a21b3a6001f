#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>

#include "badge/experttab.h"
#include "badge/trailerbits.h"
#include "link/argids.h"
#include "link/resultrouter.h"
#include "tabbench.h"

class TstExpertTab : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        Fixture()
            : tab(&form.window, link, [this]() {
                  ++confirmations;
                  return confirmAnswer;
              })
        {
            tab.RegisterResults(router);
        }
        QLineEdit* edit(const char* name) const { return form.widget(name); }
        // The link holds answer when the result id comes in.
        void reply(unsigned int id, const FakeLink::Answer& answer)
        {
            link.answer = answer;
            router.Dispatch(id, QString());
        }
        QCheckBox* box(int n, int m) const
        {
            return form.widget<QCheckBox>(QStringLiteral("CKB_C%1B%2").arg(n).arg(m));
        }

        TestForm form;
        FakeLink link;
        ResultRouter router;
        int confirmations = 0;
        bool confirmAnswer = false;
        ExpertTab tab;
    };

private slots:
    void accessBytes_data()
    {
        QTest::addColumn<QList<int>>("boxes"); // n * 10 + m
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("freezes");
        QTest::newRow("none") << QList<int>{} << "0xFF 0x0F 0x00 0x00" << true;
        QTest::newRow("C3B3 transport") << QList<int>{33} << "0xFF 0x07 0x80 0x00" << false;
        QTest::newRow("C1B0") << QList<int>{10} << "0xFE 0x1F 0x00 0x00" << true;
        QTest::newRow("C2B3") << QList<int>{23} << "0x7F 0x0F 0x08 0x00" << true;
        QTest::newRow("C2B3 C3B3") << QList<int>{23, 33} << "0x7F 0x07 0x88 0x00" << false;
        QTest::newRow("C1B3 C3B3") << QList<int>{13, 33} << "0xF7 0x87 0x80 0x00" << false;
        QTest::newRow("C1B3") << QList<int>{13} << "0xF7 0x8F 0x00 0x00" << true;
        QTest::newRow("C1B3 C2B3") << QList<int>{13, 23} << "0x77 0x8F 0x08 0x00" << true;
        QTest::newRow("all") << QList<int>{10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33}
                             << "0x00 0xF0 0xFF 0x00" << true;
    }

    void accessBytes()
    {
        QFETCH(QList<int>, boxes);
        QFETCH(QString, text);
        QFETCH(bool, freezes);
        TrailerAccess access;
        for (int b : boxes)
            access.Bits[b / 10 - 1][b % 10] = true;
        const std::array<quint8, 4> bytes = TrailerAccessBytes(access);
        QCOMPARE(TrailerBytesText(bytes.data(), 4), text);
        QCOMPARE(TrailerAccessFreezes(access), freezes);

        // Reading the bytes back gives the same boxes.
        quint8 trailer[16] = {};
        std::copy(bytes.begin(), bytes.end(), trailer + 6);
        const TrailerAccess back = TrailerAccessFromTrailer(trailer);
        for (int n = 0; n < 3; ++n) {
            for (int m = 0; m < 4; ++m)
                QCOMPARE(back.Bits[n][m], access.Bits[n][m]);
        }
    }

    void blockOperations()
    {
        Fixture f;
        f.form.fill("SAI_KeyToUsed=K;SAI_BlockNumber=8;SAI_ReaderSnd=5;SAI_ReaderRcv=old");
        f.tab.BlockClicked(ExpertTab::BlockOperation::Decrement);
        QCOMPARE(f.link.sent(), QStringLiteral("RD|8;0;K;2;5|21|2000"));
        QCOMPARE(f.edit("SAI_ReaderRcv")->text(), QString());
        f.tab.BlockClicked(ExpertTab::BlockOperation::Increment);
        QCOMPARE(f.link.sent(), QStringLiteral("RI|8;0;K;1;5|21|2000"));
        f.form.ui.CKB_KeyType->setChecked(true);
        f.edit("SAI_BlockNumber")->setText("004");
        f.tab.BlockClicked(ExpertTab::BlockOperation::Read);
        QCOMPARE(f.link.sent(), QStringLiteral("RR|004;1;K|21|2000"));
        f.edit("SAI_ReaderSnd")->setText("0x00 0x01");
        f.tab.BlockClicked(ExpertTab::BlockOperation::Write);
        QCOMPARE(f.link.sent(), QStringLiteral("RW|004;1;K;0x00 0x01|21|2000"));

        f.edit("SAI_BlockNumber")->setText("12a");
        f.tab.BlockClicked(ExpertTab::BlockOperation::Read);
        QCOMPARE(f.link.requests.size(), 4);
        QCOMPARE(f.edit("SAI_ReaderSnd")->text(), QStringLiteral("Erreur->Bloque non défini"));

        f.link.free = false;
        f.form.fill("SAI_BlockNumber=4;SAI_ReaderRcv=old");
        f.tab.BlockClicked(ExpertTab::BlockOperation::Read);
        QCOMPARE(f.link.requests.size(), 4);
        QCOMPARE(f.edit("SAI_ReaderRcv")->text(), QString());

        f.reply(ARG_COUPLEUR_BLOCK_RESULT, {1, true, '1', QStringLiteral("ANSWER")});
        QCOMPARE(f.edit("SAI_ReaderRcv")->text(), QStringLiteral("ANSWER"));
        f.edit("SAI_ReaderRcv")->clear();
        f.reply(ARG_COUPLEUR_BLOCK_RESULT, {1, false, '0', QStringLiteral("LOST")});
        QCOMPARE(f.edit("SAI_ReaderRcv")->text(), QString());
    }

    void trailerOperations()
    {
        Fixture f;
        f.tab.TrailerDefaultClicked();
        const QString key = QStringLiteral("0x5A 0x17 0xC3 0x88 0x2E 0x91");
        QCOMPARE(f.form.texts("SAI_KeyToUsed SAI_KeyA SAI_KeyB"),
                 QStringList({key, key, key}).join(QLatin1Char('|')));
        f.form.fill("SAI_KeyA=A;SAI_KeyB=B");

        const QList<QPair<QString, QString>> sectors = {{"15", "63"}, {"16", "67"}, {"-1", "4294967295"}};
        for (const auto& s : sectors) {
            f.edit("SAI_Sector")->setText(s.first);
            f.tab.TrailerReadClicked();
            QCOMPARE(f.link.sent(), QStringLiteral("RR|%1;0;%2|23|2000").arg(s.second, key));
        }
        f.edit("SAI_Sector")->setText("x");
        f.tab.TrailerReadClicked();
        QCOMPARE(f.link.requests.size(), 3);
        QCOMPARE(f.edit("SAI_TrailerReadResult")->text(), QStringLiteral("Erreur->Sector non défini"));

        // Transport conditions: written without a question.
        f.edit("SAI_Sector")->setText("1");
        f.box(3, 3)->setChecked(true);
        f.tab.TrailerWriteClicked();
        QCOMPARE(f.confirmations, 0);
        QCOMPARE(f.link.sent(), QStringLiteral("RW|7;0;%1;A 0xFF 0x07 0x80 0x00 B|22|2000").arg(key));

        // Conditions that freeze the sector: asked first, "No" sends nothing.
        f.box(3, 3)->setChecked(false);
        f.box(1, 0)->setChecked(true);
        f.tab.TrailerWriteClicked();
        QCOMPARE(f.confirmations, 1);
        QCOMPARE(f.link.requests.size(), 4);
        f.confirmAnswer = true;
        f.tab.TrailerWriteClicked();
        QCOMPARE(f.confirmations, 2);
        QCOMPARE(f.link.sent(), QStringLiteral("RW|7;0;%1;A 0xFE 0x1F 0x00 0x00 B|22|2000").arg(key));

        f.reply(ARG_COUPLEUR_TRAILER_WRITE_RESULT, {1, true, '0', QStringLiteral("written")});
        QCOMPARE(f.edit("SAI_TrailerReadResult")->text(), QStringLiteral("written"));

        // A trailer read back sets the boxes and the keys.
        const QString trailer =
            QStringLiteral("0x01 0x02 0x03 0x04 0x05 0x06 0xFF 0x07 0x80 0x69 0xA1 0xA2 0xA3 0xA4 0xA5 0xA6");
        f.reply(ARG_COUPLEUR_TRAILER_READ_RESULT, {1, true, '0', trailer});
        QCOMPARE(f.edit("SAI_TrailerReadResult")->text(), trailer);
        for (int n = 1; n <= 3; ++n) {
            for (int m = 0; m < 4; ++m)
                QCOMPARE(f.box(n, m)->isChecked(), n == 3 && m == 3);
        }
        QCOMPARE(f.form.texts("SAI_KeyA SAI_KeyB"),
                 QStringLiteral("0x01 0x02 0x03 0x04 0x05 0x06|0xA1 0xA2 0xA3 0xA4 0xA5 0xA6"));

        // Refused: the answer text only.
        f.reply(ARG_COUPLEUR_TRAILER_READ_RESULT,
                {1, true, '2', QStringLiteral("0x00 0x00 0x00 0x00 0x00 0x00 0x00 0xF0 0xFF")});
        QCOMPARE(f.edit("SAI_TrailerReadResult")->text(),
                 QStringLiteral("0x00 0x00 0x00 0x00 0x00 0x00 0x00 0xF0 0xFF"));
        QVERIFY(f.box(3, 3)->isChecked());
        QVERIFY(!f.box(1, 0)->isChecked());
        QCOMPARE(f.edit("SAI_KeyA")->text(), QStringLiteral("0x01 0x02 0x03 0x04 0x05 0x06"));
    }

    void securityStructure()
    {
        Fixture f;
        QLineEdit* result = f.edit("SAI_CeationSecuriteResult");
        f.link.free = false;
        f.tab.BadgeFormatClicked();
        QVERIFY(f.link.requests.isEmpty());
        QCOMPARE(result->text(), QString());
        f.link.free = true;
        f.tab.BadgeFormatClicked();
        QCOMPARE(f.link.sent(), QStringLiteral("BF||32|4000"));
        QCOMPARE(result->text(), QStringLiteral("Formatage ..."));

        const QList<QPair<FakeLink::Answer, QString>> answers{
            {{0, true, '0', ""}, "Formatage ..."},
            {{1, false, '0', ""}, "Formatage->CMD ECHEC"},
            {{1, true, '1', "3"}, "Formatage->ECHEC(Sector=3)"},
            {{1, true, '0', ""}, "Formatage->OK"}};
        for (const auto& a : answers) {
            f.reply(ARG_BADGE_FORMAT_RESULT, a.first);
            QCOMPARE(result->text(), a.second);
        }
    }
};

QTEST_MAIN(TstExpertTab)
#include "tst_experttab.moc"
