#include "transfer/readerfiletransfer.h"

#include "transfer/transferlog.h"

ReaderFileTransfer::ReaderFileTransfer(ReaderLink& link, ChainGuard& guard, ReaderFile file,
                                       const Texts& texts, QObject* parent)
    : CommandChain(link, guard, parent), m_file(file), m_texts(texts)
{
}

bool ReaderFileTransfer::Put()
{
    if (!Begin(m_texts.put, RecordCount()))
        return false;
    if (!Send(ReaderCommands::fileClear(m_file))) {
        Finish(m_texts.clearFailed);
        return false;
    }
    return true;
}

bool ReaderFileTransfer::Get()
{
    if (!Begin(m_texts.get, -1))
        return false;
    ReadBegin();
    m_readPosition = 0;
    return GetSend();
}

void ReaderFileTransfer::OnClearResult()
{
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Answer(m_texts.clearLabel, &isOk, &status, &text))
        return;
    if (!isOk || status != '0') {
        Finish(m_texts.clearFailed);
        return;
    }
    StatusSet(m_texts.clearOk);
    qCDebug(lcTransfer, "LECTURE DU BADGE");
    QString record;
    const bool found = RecordFirst(&record);
    AddSend(found, record, m_texts.nothingToSend);
}

void ReaderFileTransfer::OnAddResult()
{
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Answer(m_texts.addLabel, &isOk, &status, &text))
        return;
    if (!isOk || status != '0') {
        Finish(m_texts.addFailed);
        return;
    }
    StepDone();
    StatusSet(m_texts.addOk);
    QString record;
    const bool found = RecordNext(&record);
    AddSend(found, record, m_texts.end);
}

void ReaderFileTransfer::OnGetResult()
{
    bool isOk = false;
    char status = 0;
    QString text;
    if (!Answer(m_texts.getLabel, &isOk, &status, &text))
        return;
    if (!isOk) {
        Finish(m_texts.getFailed);
        return;
    }
    qCDebug(lcTransfer, "CMD : %c", status);
    if (status != '0') {
        Finish(m_texts.end);
        return;
    }
    qCDebug(lcTransfer, m_texts.valueTrace, qUtf8Printable(text));
    StatusSet(m_texts.getOk);
    RecordReceived(text);
    StepDone();
    ++m_readPosition;
    GetSend();
}

bool ReaderFileTransfer::Answer(const char* label, bool* isOk, char* status, QString* text)
{
    qCDebug(lcTransfer, "%s", label);
    return Collect(isOk, status, text);
}

void ReaderFileTransfer::AddSend(bool found, const QString& record, const QString& noneText)
{
    if (!found) {
        Finish(noneText);
        return;
    }
    TotalSet(RecordCount());
    if (!Send(ReaderCommands::fileAdd(m_file, record)))
        Finish(m_texts.addFailed);
}

bool ReaderFileTransfer::GetSend()
{
    if (Send(ReaderCommands::fileGet(m_file, m_readPosition)))
        return true;
    Finish(m_texts.getFailed);
    return false;
}
