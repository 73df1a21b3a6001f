#ifndef COMMANDS_H
#define COMMANDS_H

#include <QDateTime>
#include <QString>

// One request to the reader: the frame's header bytes and payload, the
// result identifier that reports its end (0: none) and its time-out.
struct ReaderCommand
{
    char letter = 0;
    char subLetter = 0;
    QString payload;
    unsigned int resultId = 0;
    unsigned int timeoutMs = 0;
};

// The reader's files: 5 holds the blacklist, 18 the access list.
enum class ReaderFile
{
    Blacklist = 5,
    Access = 18
};

// Every command the program sends, one builder per kind, so that letters,
// payload shapes, result identifiers and time-outs live in one place.
namespace ReaderCommands {
ReaderCommand poll();

// 4000 ms after an insertion in read mode, 2000 ms in create mode.
ReaderCommand badgeRead(unsigned int timeoutMs = 4000);
ReaderCommand badgeCreate(const QString& record);
ReaderCommand badgeWrite(const QString& record);
ReaderCommand badgeFormat();

// Card memory: block is the block number as typed, keyB the key-type box,
// key the authentication key text.
ReaderCommand blockRead(const QString& block, bool keyB, const QString& key);
ReaderCommand blockWrite(const QString& block, bool keyB, const QString& key, const QString& data);
ReaderCommand blockIncrement(const QString& block, bool keyB, const QString& key, const QString& value);
ReaderCommand blockDecrement(const QString& block, bool keyB, const QString& key, const QString& value);
// The trailer is block sector * 4 + 3, in unsigned 32-bit arithmetic as the reader takes it.
ReaderCommand trailerRead(quint32 sector, bool keyB, const QString& key);
ReaderCommand trailerWrite(quint32 sector, bool keyB, const QString& key, const QString& keyA,
                           const QString& accessText, const QString& keyBText);

ReaderCommand fileClear(ReaderFile file);
ReaderCommand fileAdd(ReaderFile file, const QString& record);
ReaderCommand fileGet(ReaderFile file, int position);

ReaderCommand configGet(const QString& id);
// "key=value" to the reader's parameters.
ReaderCommand putValue(const QString& key, const QString& value, unsigned int resultId);
ReaderCommand configPut(const QString& id, const QString& value);
// object: the first number of the parameter identifiers to commit.
ReaderCommand configCommit(const QString& object);

// output: 0 for command 1, 1 for command 2.
ReaderCommand outputTest(int output, const QString& duration);
// Sent with result identifier 0; the sender collects the answers itself.
ReaderCommand clockDate(const QDateTime& now);
ReaderCommand clockTime(const QDateTime& now);
} // namespace ReaderCommands

#endif // COMMANDS_H
