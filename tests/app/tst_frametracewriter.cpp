#include "app/frametracewriter.h"

#include <QtTest>

#include <thread>

#include "filesizelimit.h"
#include "ptypair.h"

using Dir = QProtocole::FrameDirection;

namespace {
QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

int traceWarnings = 0;
QtMessageHandler previousHandler = nullptr;

void countTraceWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith("Trace des trames "))
        ++traceWarnings;
    else
        previousHandler(type, context, message);
}
} // namespace

class tst_FrameTraceWriter : public QObject
{
    Q_OBJECT

private slots:
    void readableText_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("text");
        QTest::newRow("record") << wire("<BRTyc=128;Usr=5>012") << "<STX>BRTyc=128;Usr=5<ETX>012";
        QTest::newRow("line ends and NUL")
            << wire("<D0a\r\nb") + '\0' + wire(">") << "<STX>D0a<CR><LF>b<NUL><ETX>";
        QTest::newRow("tab and DEL") << QByteArray("a\tb\x7f") << "a<HT>b<DEL>";
        QTest::newRow("UTF-8 name") << QByteArray("Nom=H\xc3\xa9l\xc3\xa8ne") << QString("Nom=Hélène");
        QTest::newRow("Latin-1 name") << QByteArray("Nom=H\xe9l\xe8ne") << QString("Nom=Hélène");
        QTest::newRow("C1 byte") << QByteArray("x\x9by") << "x<0x9B>y";
    }

    void readableText()
    {
        QFETCH(QByteArray, frame);
        QTEST(FrameTraceWriter::ReadableText(frame), "text");
    }

    void lineFormat()
    {
        const QDateTime utc(QDate(2026, 12, 6), QTime(14, 3, 7, 125), Qt::UTC);
        QCOMPARE(FrameTraceWriter::FormatLine(utc, Dir::Sent, wire("<BS>012")),
                 QString("2026-12-06T14:03:07.125Z\tTX\t<STX>BS<ETX>012\t02 42 53 03 30 31 32"));
        const QDateTime paris(QDate(2026, 7, 1), QTime(9, 0, 0, 5), Qt::OffsetFromUTC, 7200);
        QCOMPARE(FrameTraceWriter::FormatLine(paris, Dir::Received, wire("<B0>012")),
                 QString("2026-07-01T09:00:00.005+02:00\tRX\t<STX>B0<ETX>012\t02 42 30 03 30 31 32"));
        // A received frame cut short: still one line, hex of what came.
        QCOMPARE(FrameTraceWriter::FormatLine(utc, Dir::Received, wire("<B")),
                 QString("2026-12-06T14:03:07.125Z\tRX\t<STX>B\t02 42"));
    }

    // The link's worker and another thread write at once: every line whole, nothing lost, appended.
    void twoThreads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("trace.txt");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier run\n");
        }
        constexpr int PerThread = 300;
        auto writer = std::make_shared<FrameTraceWriter>(path);
        QVERIFY(writer->IsOpen());
        const QProtocole::FrameTrace sink = FrameTraceWriter::Sink(writer);
        auto run = [&sink](Dir direction, const QByteArray& frame) {
            for (int i = 0; i < PerThread; ++i)
                sink(direction, frame);
        };
        std::thread sender(run, Dir::Sent, wire("<VGa=1>012"));
        std::thread receiver(run, Dir::Received, wire("<V0b=22>012"));
        sender.join();
        receiver.join();

        const QStringList lines = fileLines(path);
        QCOMPARE(lines.size(), 1 + 2 * PerThread);
        QCOMPARE(lines.first(), QString("earlier run"));
        const QRegularExpression shape(
            "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)\t("
            "TX\t<STX>VGa=1<ETX>012\t02 56 47 61 3D 31 03 30 31 32|"
            "RX\t<STX>V0b=22<ETX>012\t02 56 30 62 3D 32 32 03 30 31 32)$");
        int tx = 0;
        for (int i = 1; i < lines.size(); ++i) {
            QVERIFY2(shape.match(lines[i]).hasMatch(), qPrintable(lines[i]));
            tx += lines[i].contains("\tTX\t");
        }
        QCOMPARE(tx, PerThread);
    }

    void failures()
    {
        previousHandler = qInstallMessageHandler(countTraceWarnings);
        traceWarnings = 0;
        // A file that cannot be opened: reported, and writing is harmless.
        FrameTraceWriter missing("/nonexistent-korvel/absent/trace.txt");
        QVERIFY(!missing.IsOpen());
        QVERIFY(missing.ErrorString().contains("/nonexistent-korvel/absent/trace.txt"));
        missing.Write(Dir::Sent, wire("<BS>012"));
        QCOMPARE(traceWarnings, 1);

        // A full disk half-way: reported once, the trace stops, the program goes on.
        QTemporaryDir dir;
        const QString path = dir.filePath("full.txt");
        FrameTraceWriter writer(path);
        QVERIFY(writer.IsOpen());
        {
            FileSizeLimit limit(400);
            QVERIFY(limit.isActive());
            for (int i = 0; i < 50; ++i)
                writer.Write(Dir::Received, wire("<B0Tyc=128;Usr=5;Vda=991231>012"));
        }
        QCOMPARE(traceWarnings, 2);
        QVERIFY(!writer.IsOpen());
        QVERIFY(writer.ErrorString().contains("full.txt"));
        const qint64 size = QFileInfo(path).size();
        QVERIFY(size <= 400);
        writer.Write(Dir::Sent, wire("<BS>012"));
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(traceWarnings, 2);
        qInstallMessageHandler(previousHandler);
    }
};

QTEST_GUILESS_MAIN(tst_FrameTraceWriter)
#include "tst_frametracewriter.moc"
