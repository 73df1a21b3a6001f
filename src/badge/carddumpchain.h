#ifndef CARDDUMPCHAIN_H
#define CARDDUMPCHAIN_H

#include <QByteArray>
#include <QList>

#include "badge/carddump.h"
#include "transfer/commandchain.h"

// Reads, restores or compares a whole Mifare Classic 1K card, one block request at a
// time. Each sector is opened by reading its trailer with the candidate keys in turn
// (a refused key costs that one exchange), as the chosen key type, then as the other;
// the other key type is then looked for the same way, unless the trailer shows key B.
// The access conditions read decide which key reads or writes each block. A restore
// writes each sector's data blocks, then its trailer, then reads the card back and compares.
class CardDumpChain : public CommandChain
{
    Q_OBJECT

public:
    enum class Mode
    {
        Read,
        Restore,
        Compare
    };
    enum class Outcome
    {
        None,
        Ok,
        Partial,
        Failed,
        Cancelled
    };
    struct Options
    {
        // Tried in this order on each sector, after the keys the source dump knows for it.
        QList<QByteArray> keys;
        // The type of the first key tried: key B when true.
        bool keyB = false;
        bool writeBlock0 = false;
    };

    CardDumpChain(ReaderLink& link, ChainGuard& guard, QObject* parent = nullptr);

    bool Read(const Options& options);
    bool Compare(const Options& options, const CardDump& expected);
    // The caller has checked the source's trailers (CardRestoreCheck).
    bool Restore(const Options& options, const CardDump& source);
    // Stops once the request in flight has answered.
    void Cancel() { m_cancel = IsRunning(); }
    void OnResult();

    Mode LastMode() const { return m_mode; }
    Outcome LastOutcome() const { return m_outcome; }
    // The card as the last read, compare or read-back found it.
    const CardDump& Card() const { return m_card; }
    // Blocks that differ from the expected dump after a compare or restore.
    const QList<int>& Differences() const { return m_differences; }

private:
    enum class Phase
    {
        Probe,
        ProbeOther,
        ReadData,
        WriteData,
        WriteTrailer
    };

    bool start(Mode mode, const Options& options, const CardDump& source);
    bool reading() const { return m_mode != Mode::Restore || m_verifying; }
    int firstType() const { return m_options.keyB ? 1 : 0; }
    QList<QByteArray> candidates() const;
    void sectorStart();
    void sectorEnd();
    void probeSend();
    void probeResult(bool accepted, const QString& text);
    void keysKnown();
    void readNext();
    void writeNext();
    bool trailerWrite();
    // The type (0 = A, 1 = B) of a known, usable key among allowed; -1 when none.
    int keyFor(int allowed) const;
    void blockSend(char subLetter, int block, int type, const QByteArray& key,
                   const QByteArray& data = QByteArray());
    void sweepEnd();
    void end(Outcome outcome, const QString& text);
    QString text(const char* what) const;

    Mode m_mode = Mode::Read;
    Options m_options;
    CardDump m_source;
    CardDump m_card;
    QList<int> m_differences;
    Outcome m_outcome = Outcome::None;
    bool m_cancel = false;
    bool m_verifying = false;
    Phase m_phase = Phase::Probe;
    int m_sector = 0;
    // The key type being tried to open the sector; the other one is looked for once it opens.
    int m_probeType = 0;
    int m_candidate = 0;
    int m_block = 0;
    // The current sector on the card: its keys (empty while unknown) and trailer as read.
    QByteArray m_keys[2];
    QByteArray m_trailer;
};

#endif // CARDDUMPCHAIN_H
