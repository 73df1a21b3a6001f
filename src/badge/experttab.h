#ifndef EXPERTTAB_H
#define EXPERTTAB_H

#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class ReaderLink;
class ResultRouter;
struct TrailerAccess;

// The "Expert" tab: card block operations, sector trailers and the security
// structure, composed from the tab's fields and sent through the link.
class ExpertTab
{
public:
    enum class BlockOperation
    {
        Read,
        Write,
        Decrement,
        Increment
    };
    // Asked before a trailer write that freezes the sector's access bits;
    // false sends nothing.
    using FreezeConfirm = std::function<bool()>;
    // Asked before a raw write of block 0; false sends nothing.
    using BlockZeroConfirm = std::function<bool()>;

    // Without a confirmation, a message box parented to form asks the operator.
    ExpertTab(QWidget* form, ReaderLink& link, FreezeConfirm confirm = nullptr,
              BlockZeroConfirm blockZeroConfirm = nullptr);

    void BlockClicked(BlockOperation operation);
    void TrailerReadClicked();
    void TrailerWriteClicked();
    void TrailerDefaultClicked();
    void BadgeFormatClicked();

    void BlockResult();
    void TrailerWriteResult();
    void TrailerReadResult();
    void FormatResult();

    void RegisterResults(ResultRouter& router);

    TrailerAccess AccessFromBoxes() const;
    void AccessToBoxes(const TrailerAccess& access);
    // LAB_AccessRights: the boxes' conditions in words.
    void AccessRightsShow();

private:
    bool sectorNumber(quint32* sector);
    // False when a raw write must not go: a trailer it would ruin, or a refused confirmation.
    bool rawWriteAllowed(int block, const QString& data);

    ReaderLink& m_link;
    FreezeConfirm m_confirm;
    BlockZeroConfirm m_blockZeroConfirm;
    QLineEdit* m_blockNumber;
    QLineEdit* m_readerSnd;
    QLineEdit* m_readerRcv;
    QLineEdit* m_sector;
    QLineEdit* m_keyA;
    QLineEdit* m_keyB;
    QCheckBox* m_keyType;
    QLineEdit* m_keyToUsed;
    QLineEdit* m_trailerResult;
    QLineEdit* m_securiteResult;
    QCheckBox* m_boxes[3][4];
    QLabel* m_accessRights;
    // Context of the boxes' connections, so none outlives the tab.
    QObject m_boxWatch;
};

#endif // EXPERTTAB_H
