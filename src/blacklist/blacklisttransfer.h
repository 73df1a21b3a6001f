#ifndef BLACKLISTTRANSFER_H
#define BLACKLISTTRANSFER_H

#include <QString>

#include "transfer/readerfiletransfer.h"

class QTableWidget;

// Builds the reader record of one table row.
using TableRecordBuilder = bool (*)(QTableWidget* table, int row, QString* record);

// "Cda=yyMMdd;UID=..;Usr=..;Grp=.." from a row; the date part stays empty
// when column 0 is not a "dd/MM/yy" date. The reason is not sent.
bool BlacklistRecordBuild(QTableWidget* table, int row, QString* record);
// Row cursor to 0; false on an empty table, else the record of row 0.
bool TableRecordFirst(QTableWidget* table, unsigned int* cursor, TableRecordBuilder builder, QString* record);
// Cursor to the next row; false past the last row, else its record.
bool TableRecordNext(QTableWidget* table, unsigned int* cursor, TableRecordBuilder builder, QString* record);

// Sends the blacklist table to the reader's file 5 (clear, then one add per
// row) and reads that file back into the table (one get per position).
// The window's router calls OnClearResult, OnAddResult and OnGetResult for
// results 18, 19 and 20.
class BlacklistTransfer : public ReaderFileTransfer
{
    Q_OBJECT

public:
    BlacklistTransfer(ReaderLink& link, ChainGuard& guard, QTableWidget* table, QObject* parent = nullptr);

    bool WriteToSupport() { return Put(); }
    bool ReadFromSupport() { return Get(); }

protected:
    int RecordCount() const override;
    bool RecordFirst(QString* record) override;
    bool RecordNext(QString* record) override;
    void ReadBegin() override;
    void RecordReceived(const QString& record) override;

private:
    QTableWidget* m_table;
    unsigned int m_rowCursor = 0;
};

#endif // BLACKLISTTRANSFER_H
