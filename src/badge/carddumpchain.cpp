#include "badge/carddumpchain.h"

#include <QCoreApplication>
#include <QStringList>

#include "badge/accessrights.h"
#include "badge/badgelog.h"
#include "badge/cardkeys.h"
#include "badge/trailerbits.h"
#include "link/argids.h"

namespace {
constexpr int KEY_A = 0;
constexpr int KEY_B = 1;
constexpr int DATA_BLOCKS = CARD_SECTOR_BLOCKS - 1;
constexpr char STATUS_OK = '0';
// The reader's answer when no card is on it: nothing more can be read.
constexpr char STATUS_NO_CARD = '3';

TrailerAccess AccessOf(const QByteArray& trailer)
{
    return TrailerAccessFromTrailer(reinterpret_cast<const quint8*>(trailer.constData()));
}

bool KeyBReadable(const QByteArray& trailer)
{
    return TrailerRightsOf(AccessCondition(AccessOf(trailer), CARD_SECTOR_BLOCKS - 1)).keyBRead !=
           ACCESS_NEVER;
}
} // namespace

CardDumpChain::CardDumpChain(ReaderLink& link, ChainGuard& guard, QObject* parent)
    : CommandChain(link, guard, parent)
{
}

bool CardDumpChain::Read(const Options& options)
{
    return start(Mode::Read, options, CardDump());
}

bool CardDumpChain::Compare(const Options& options, const CardDump& expected)
{
    return start(Mode::Compare, options, expected);
}

bool CardDumpChain::Restore(const Options& options, const CardDump& source)
{
    return start(Mode::Restore, options, source);
}

bool CardDumpChain::start(Mode mode, const Options& options, const CardDump& source)
{
    const Mode before = m_mode;
    m_mode = mode;
    // A restore sweeps the card twice: writing, then reading back.
    if (!Begin(text(QT_TRANSLATE_NOOP("CardDumpChain", " ...")),
               mode == Mode::Restore ? 2 * CARD_SECTORS : CARD_SECTORS)) {
        m_mode = before;
        return false;
    }
    m_options = options;
    m_source = source;
    m_card = CardDump();
    m_differences.clear();
    m_outcome = Outcome::None;
    m_cancel = false;
    m_verifying = false;
    m_sector = 0;
    sectorStart();
    return true;
}

QString CardDumpChain::text(const char* what) const
{
    const char* name = m_mode == Mode::Read      ? QT_TRANSLATE_NOOP("CardDumpChain", "Lecture carte")
                       : m_mode == Mode::Compare ? QT_TRANSLATE_NOOP("CardDumpChain", "Comparaison carte")
                                                 : QT_TRANSLATE_NOOP("CardDumpChain", "Ecriture carte");
    return QCoreApplication::translate("CardDumpChain", name) +
           QCoreApplication::translate("CardDumpChain", what);
}

QList<QByteArray> CardDumpChain::candidates() const
{
    // The source's own keys open its sectors on the card it came from, or once restored.
    const CardSectorKeys& known = m_source.keys[size_t(m_sector)];
    return CardKeysMerge(m_options.keys.mid(0, 1) + QList<QByteArray>{known.keyA, known.keyB},
                         m_options.keys);
}

void CardDumpChain::sectorStart()
{
    if (m_sector == CARD_SECTORS) {
        sweepEnd();
        return;
    }
    m_keys[KEY_A].clear();
    m_keys[KEY_B].clear();
    m_trailer.clear();
    m_phase = Phase::Probe;
    m_probeType = firstType();
    m_candidate = 0;
    probeSend();
}

void CardDumpChain::sectorEnd()
{
    StepDone();
    ++m_sector;
    sectorStart();
}

void CardDumpChain::probeSend()
{
    const bool other = m_phase == Phase::ProbeOther;
    const QList<QByteArray> keys = other ? CardKeysMerge({m_keys[m_probeType]}, candidates()) : candidates();
    if (m_candidate < keys.size()) {
        blockSend('R', CardDump::TrailerOf(m_sector), other ? 1 - m_probeType : m_probeType,
                  keys.at(m_candidate));
        return;
    }
    m_candidate = 0;
    if (other) {
        keysKnown();
    } else if (m_probeType == firstType()) {
        // Some sectors open only with the other key type.
        m_probeType = 1 - firstType();
        probeSend();
    } else {
        qCDebug(lcBadge, "Carte : aucune clé n'ouvre le secteur %d", m_sector);
        sectorEnd();
    }
}

void CardDumpChain::probeResult(bool accepted, const QString& answer)
{
    const bool other = m_phase == Phase::ProbeOther;
    quint8 trailer[MIFARE_BLOCK_SIZE];
    if (!accepted || !MifareBlockRead(answer, trailer)) {
        ++m_candidate;
        probeSend();
        return;
    }
    const QList<QByteArray> keys = other ? CardKeysMerge({m_keys[m_probeType]}, candidates()) : candidates();
    m_keys[other ? 1 - m_probeType : m_probeType] = keys.at(m_candidate);
    if (other) {
        keysKnown();
        return;
    }
    m_trailer = QByteArray(reinterpret_cast<const char*>(trailer), MIFARE_BLOCK_SIZE);
    // A readable key B is shown by a read with key A, and cannot authenticate.
    const bool keyBShown = m_probeType == KEY_A && KeyBReadable(m_trailer);
    if (keyBShown)
        m_keys[KEY_B] = m_trailer.mid(TRAILER_KEY_B_OFFSET);
    // Once the first type has refused every key, none of them is the other key.
    if (keyBShown || m_probeType != firstType()) {
        keysKnown();
        return;
    }
    m_phase = Phase::ProbeOther;
    m_candidate = 0;
    probeSend();
}

void CardDumpChain::keysKnown()
{
    m_block = 0;
    if (!reading()) {
        m_phase = Phase::WriteData;
        writeNext();
        return;
    }
    CardSectorKeys& keys = m_card.keys[size_t(m_sector)];
    keys = {m_keys[KEY_A], m_keys[KEY_B], m_probeType == KEY_B ? 'B' : 'A'};
    m_card.blocks[size_t(CardDump::TrailerOf(m_sector))] = m_trailer;
    m_card.TrailerKeysFill(m_sector);
    m_phase = Phase::ReadData;
    readNext();
}

int CardDumpChain::keyFor(int allowed) const
{
    const bool readableB = KeyBReadable(m_trailer);
    for (const int type : {firstType(), 1 - firstType()}) {
        const bool usable = !m_keys[type].isEmpty() && (type == KEY_A || !readableB);
        if (usable && (allowed & (type == KEY_A ? ACCESS_KEY_A : ACCESS_KEY_B)))
            return type;
    }
    return -1;
}

void CardDumpChain::readNext()
{
    for (; m_block < DATA_BLOCKS; ++m_block) {
        const int type = keyFor(DataBlockRightsOf(AccessCondition(AccessOf(m_trailer), m_block)).read);
        if (type >= 0) {
            blockSend('R', m_sector * CARD_SECTOR_BLOCKS + m_block, type, m_keys[type]);
            return;
        }
    }
    sectorEnd();
}

void CardDumpChain::writeNext()
{
    for (; m_block < DATA_BLOCKS; ++m_block) {
        const int block = m_sector * CARD_SECTOR_BLOCKS + m_block;
        if (!m_source.Known(block) || (block == 0 && !m_options.writeBlock0))
            continue;
        const int type = keyFor(DataBlockRightsOf(AccessCondition(AccessOf(m_trailer), m_block)).write);
        if (type >= 0) {
            blockSend('W', block, type, m_keys[type], m_source.blocks[size_t(block)]);
            return;
        }
        qCDebug(lcBadge, "Carte : aucune clé connue n'écrit le bloc %d", block);
    }
    if (!trailerWrite())
        sectorEnd();
}

bool CardDumpChain::trailerWrite()
{
    if (!m_source.SectorRead(m_sector))
        return false;
    const TrailerRights rights =
        TrailerRightsOf(AccessCondition(AccessOf(m_trailer), CARD_SECTOR_BLOCKS - 1));
    int type = keyFor(rights.accessWrite);
    if (type < 0)
        type = keyFor(rights.keyAWrite | rights.keyBWrite);
    QByteArray trailer = m_source.blocks[size_t(CardDump::TrailerOf(m_sector))];
    const CardSectorKeys& source = m_source.keys[size_t(m_sector)];
    // A key the source never learnt keeps the card's own, when that is known.
    const QByteArray keyA = source.keyA.isEmpty() ? m_keys[KEY_A] : source.keyA;
    const QByteArray keyB = source.keyB.isEmpty() ? m_keys[KEY_B] : source.keyB;
    if (type < 0 || keyA.isEmpty() || keyB.isEmpty()) {
        qCDebug(lcBadge, "Carte : trailer du secteur %d non écrit", m_sector);
        return false;
    }
    trailer.replace(0, CARD_KEY_SIZE, keyA);
    trailer.replace(TRAILER_KEY_B_OFFSET, CARD_KEY_SIZE, keyB);
    m_phase = Phase::WriteTrailer;
    blockSend('W', CardDump::TrailerOf(m_sector), type, m_keys[type], trailer);
    return true;
}

void CardDumpChain::blockSend(char subLetter, int block, int type, const QByteArray& key,
                              const QByteArray& data)
{
    const QString number = QString::number(block);
    ReaderCommand command =
        subLetter == 'R'
            ? ReaderCommands::blockRead(number, type == KEY_B, CardKeyText(key))
            : ReaderCommands::blockWrite(number, type == KEY_B, CardKeyText(key), CardKeyText(data));
    command.resultId = ARG_CARD_DUMP_RESULT;
    if (!Send(command))
        end(Outcome::Failed, text(QT_TRANSLATE_NOOP("CardDumpChain", "->ECHEC")));
}

void CardDumpChain::OnResult()
{
    bool isOk = false;
    char status = 0;
    QString answer;
    if (!Collect(&isOk, &status, &answer))
        return;
    if (!isOk || status == STATUS_NO_CARD) {
        end(Outcome::Failed, text(QT_TRANSLATE_NOOP("CardDumpChain", "->ECHEC")));
        return;
    }
    if (m_cancel) {
        end(Outcome::Cancelled,
            text(m_mode == Mode::Restore ? QT_TRANSLATE_NOOP("CardDumpChain", "->ANNULE (carte incomplète)")
                                         : QT_TRANSLATE_NOOP("CardDumpChain", "->ANNULE")));
        return;
    }
    const bool accepted = status == STATUS_OK;
    switch (m_phase) {
    case Phase::Probe:
    case Phase::ProbeOther:
        probeResult(accepted, answer);
        return;
    case Phase::ReadData: {
        quint8 block[MIFARE_BLOCK_SIZE];
        if (accepted && MifareBlockRead(answer, block))
            m_card.blocks[size_t(m_sector * CARD_SECTOR_BLOCKS + m_block)] =
                QByteArray(reinterpret_cast<const char*>(block), MIFARE_BLOCK_SIZE);
        ++m_block;
        readNext();
        return;
    }
    case Phase::WriteData:
        ++m_block;
        writeNext();
        return;
    case Phase::WriteTrailer:
        sectorEnd();
        return;
    }
}

void CardDumpChain::sweepEnd()
{
    if (!reading()) {
        m_verifying = true;
        m_sector = 0;
        sectorStart();
        return;
    }
    const int read = m_card.SectorsRead();
    if (m_mode == Mode::Read) {
        const QString count =
            QCoreApplication::translate("CardDumpChain", " (%1/%2 secteurs)").arg(read).arg(CARD_SECTORS);
        if (read == 0)
            end(Outcome::Failed, text(QT_TRANSLATE_NOOP("CardDumpChain", "->ECHEC")));
        else if (read == CARD_SECTORS)
            end(Outcome::Ok, text(QT_TRANSLATE_NOOP("CardDumpChain", "->OK")) + count);
        else
            end(Outcome::Partial, text(QT_TRANSLATE_NOOP("CardDumpChain", "->PARTIEL")) + count);
        return;
    }
    if (read == 0) {
        end(Outcome::Failed, text(QT_TRANSLATE_NOOP("CardDumpChain", "->ECHEC")));
        return;
    }
    // Block 0 that a restore left alone is the target's own.
    const QList<int> skip = m_mode == Mode::Restore && !m_options.writeBlock0 ? QList<int>{0} : QList<int>();
    m_differences = CardDumpDiff(m_source, m_card, skip);
    if (m_differences.isEmpty())
        end(Outcome::Ok,
            text(m_mode == Mode::Restore ? QT_TRANSLATE_NOOP("CardDumpChain", "->OK (vérifiée)")
                                         : QT_TRANSLATE_NOOP("CardDumpChain", "->OK (identique)")));
    else if (m_mode == Mode::Restore)
        end(Outcome::Partial, text(QT_TRANSLATE_NOOP("CardDumpChain", "->ECHEC (blocs différents : ")) +
                                  CardNumberList(m_differences) + ')');
    else
        end(Outcome::Partial, text(QT_TRANSLATE_NOOP("CardDumpChain", "->DIFFERENCES (blocs ")) +
                                  CardNumberList(m_differences) + ')');
}

void CardDumpChain::end(Outcome outcome, const QString& status)
{
    m_outcome = outcome;
    m_cancel = false;
    Finish(status);
}
