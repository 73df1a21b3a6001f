#include "link/commands.h"

#include "link/argids.h"

namespace {
ReaderCommand make(char letter, char subLetter, const QString& payload, unsigned int resultId,
                   unsigned int timeoutMs)
{
    ReaderCommand cmd;
    cmd.letter = letter;
    cmd.subLetter = subLetter;
    cmd.payload = payload;
    cmd.resultId = resultId;
    cmd.timeoutMs = timeoutMs;
    return cmd;
}

QString cardPrefix(const QString& block, bool keyB, const QString& key)
{
    return block + QLatin1Char(';') + QLatin1Char(keyB ? '1' : '0') + QLatin1Char(';') + key;
}

QString filePrefix(ReaderFile file)
{
    return QStringLiteral("Fil=") + QString::number(static_cast<int>(file));
}

// Each sector of 4 blocks ends with its trailer.
QString trailerBlock(quint32 sector)
{
    constexpr quint32 BLOCKS_PER_SECTOR = 4;
    return QString::number(sector * BLOCKS_PER_SECTOR + (BLOCKS_PER_SECTOR - 1));
}

bool isBlacklist(ReaderFile file)
{
    return file == ReaderFile::Blacklist;
}
} // namespace

namespace ReaderCommands {
ReaderCommand poll()
{
    return make('B', 'S', QString(), 0, 3000);
}

ReaderCommand badgeRead(unsigned int timeoutMs)
{
    return make('B', 'R', QString(), ARG_BADGE_READ_RESULT, timeoutMs);
}

ReaderCommand badgeCreate(const QString& record)
{
    return make('B', 'N', record, ARG_BADGE_CREATE_RESULT, 4000);
}

ReaderCommand badgeWrite(const QString& record)
{
    return make('B', 'W', record, ARG_BADGE_WRITE_RESULT, 1000);
}

ReaderCommand badgeFormat()
{
    return make('B', 'F', QString(), ARG_BADGE_FORMAT_RESULT, 4000);
}

ReaderCommand blockRead(const QString& block, bool keyB, const QString& key)
{
    return make('R', 'R', cardPrefix(block, keyB, key), ARG_COUPLEUR_BLOCK_RESULT, 2000);
}

ReaderCommand blockWrite(const QString& block, bool keyB, const QString& key, const QString& data)
{
    return make('R', 'W', cardPrefix(block, keyB, key) + QLatin1Char(';') + data, ARG_COUPLEUR_BLOCK_RESULT,
                2000);
}

ReaderCommand blockIncrement(const QString& block, bool keyB, const QString& key, const QString& value)
{
    return make('R', 'I', cardPrefix(block, keyB, key) + QStringLiteral(";1;") + value,
                ARG_COUPLEUR_BLOCK_RESULT, 2000);
}

ReaderCommand blockDecrement(const QString& block, bool keyB, const QString& key, const QString& value)
{
    return make('R', 'D', cardPrefix(block, keyB, key) + QStringLiteral(";2;") + value,
                ARG_COUPLEUR_BLOCK_RESULT, 2000);
}

ReaderCommand trailerRead(quint32 sector, bool keyB, const QString& key)
{
    return make('R', 'R', cardPrefix(trailerBlock(sector), keyB, key), ARG_COUPLEUR_TRAILER_READ_RESULT,
                2000);
}

ReaderCommand trailerWrite(quint32 sector, bool keyB, const QString& key, const QString& keyA,
                           const QString& accessText, const QString& keyBText)
{
    const QString trailer = keyA + QLatin1Char(' ') + accessText + QLatin1Char(' ') + keyBText;
    return make('R', 'W', cardPrefix(trailerBlock(sector), keyB, key) + QLatin1Char(';') + trailer,
                ARG_COUPLEUR_TRAILER_WRITE_RESULT, 2000);
}

ReaderCommand fileClear(ReaderFile file)
{
    return make('F', 'C', filePrefix(file),
                isBlacklist(file) ? ARG_FILE_LN_CLEAR_RESULT : ARG_FILE_ACCESS_CLEAR_RESULT, 2000);
}

ReaderCommand fileAdd(ReaderFile file, const QString& record)
{
    return make('F', 'A', filePrefix(file) + QLatin1Char(';') + record,
                isBlacklist(file) ? ARG_FILE_LN_ADD_RESULT : ARG_FILE_ACCESS_ADD_RESULT, 2000);
}

ReaderCommand fileGet(ReaderFile file, int position)
{
    return make('F', 'G', filePrefix(file) + QStringLiteral(";Pos=") + QString::number(position),
                isBlacklist(file) ? ARG_FILE_LN_GET_RESULT : ARG_FILE_ACCESS_GET_RESULT, 2000);
}

ReaderCommand configGet(const QString& id)
{
    return make('V', 'G', id, ARG_CONFIG_GET_RESULT, 1000);
}

ReaderCommand putValue(const QString& key, const QString& value, unsigned int resultId)
{
    return make('V', 'P', key + QLatin1Char('=') + value, resultId, 4000);
}

ReaderCommand configPut(const QString& id, const QString& value)
{
    return putValue(id, value, ARG_CONFIG_PUT_RESULT);
}

ReaderCommand configCommit(const QString& object)
{
    return putValue(object + QStringLiteral(".255.1"), QString(), ARG_CONFIG_PUT_SAVE_RESULT);
}

ReaderCommand outputTest(int output, const QString& duration)
{
    return putValue(QStringLiteral("12.255.7.") + QString::number(output), duration, ARG_TEST_RESULT);
}

ReaderCommand clockDate(const QDateTime& now)
{
    return putValue(QStringLiteral("12.255.8"), now.toString(QStringLiteral("dd/MM/yy")), 0);
}

ReaderCommand clockTime(const QDateTime& now)
{
    return putValue(QStringLiteral("12.255.9"), now.toString(QStringLiteral("HH:mm")), 0);
}
} // namespace ReaderCommands
