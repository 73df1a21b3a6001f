#ifndef READERFILETRANSFER_H
#define READERFILETRANSFER_H

#include <QString>

#include "transfer/commandchain.h"

// A reader file moved over the chain: written as a clear then one add per
// record, read back as one get per position until the reader answers a
// status other than "0". Subclasses supply the records, take the ones read
// back, and name the texts.
class ReaderFileTransfer : public CommandChain
{
    Q_OBJECT

public:
    // Status texts and debug labels, exactly as the operator and the traces know them.
    struct Texts
    {
        QString put;
        QString get;
        QString clearFailed;
        QString clearOk;
        QString nothingToSend;
        QString addFailed;
        QString addOk;
        QString end;
        QString getFailed;
        QString getOk;
        const char* clearLabel;
        const char* addLabel;
        const char* getLabel;
        const char* valueTrace;
    };

    ReaderFileTransfer(ReaderLink& link, ChainGuard& guard, ReaderFile file, const Texts& texts,
                       QObject* parent = nullptr);

    void OnClearResult();
    void OnAddResult();
    void OnGetResult();

protected:
    bool Put();
    bool Get();

    // Number of records to send; asked again before each add, the source may change meanwhile.
    virtual int RecordCount() const = 0;
    virtual bool RecordFirst(QString* record) = 0;
    virtual bool RecordNext(QString* record) = 0;
    // Before the first get: drop what an earlier read left.
    virtual void ReadBegin() = 0;
    virtual void RecordReceived(const QString& record) = 0;

private:
    bool Answer(const char* label, bool* isOk, char* status, QString* text);
    void AddSend(bool found, const QString& record, const QString& noneText);
    bool GetSend();

    ReaderFile m_file;
    const Texts m_texts;
    int m_readPosition = 0;
};

#endif // READERFILETRANSFER_H
