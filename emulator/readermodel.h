#ifndef READERMODEL_H
#define READERMODEL_H

#include "carddeck.h"
#include "parametercatalogue.h"
#include "readertext.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QStringList>
#include <QVector>

// Answer status characters of this reader. "0" is the only success.
namespace ReaderStatus {
constexpr char Ok = '0';
constexpr char UnknownCommand = '1';
constexpr char BadPayload = '2';
constexpr char NoCard = '3';
constexpr char AuthFailed = '4';
constexpr char Forbidden = '5';
constexpr char NotFound = '6';
constexpr char BadCardData = '7';
constexpr char Full = '8';
} // namespace ReaderStatus

// The reader and the card on it: parameters, files 5 and 18, clock, card deck.
// No I/O: requests come in as (letter, sub-letter, payload), answers go out as values.
// The parameters and the clock live in readerparameters.cpp, the support statuses in
// supportstatus.cpp, the saved state in readerstate.cpp.
class ReaderModel
{
public:
    struct Answer
    {
        char status = ReaderStatus::Ok;
        QByteArray payload;
        QStringList debug;         // texts for "D" frames sent before the answer
        bool stateChanged = false; // something worth persisting changed
    };

    static constexpr int MaxFileRecords = 1000;
    // The reader's files: the blacklist and the access rules.
    static constexpr int BlacklistFile = 5;
    static constexpr int AccessFile = 18;

    ReaderModel();

    Answer handle(char letter, char subLetter, const QByteArray& payload);

    // Deck and control
    void setDeck(const QVector<VirtualCard>& deck)
    {
        m_cards = deck;
        m_present = -1;
        m_events.clear();
    }
    bool loadDeck(const QByteArray& json, QString* error);
    const QVector<VirtualCard>& cards() const { return m_cards; }
    int presentIndex() const { return m_present; }
    // Puts card `index` (from 0) on the reader, taking off the one there; false when out of range.
    bool present(int index, QStringList* debug);
    QStringList remove(); // the debug texts of the event, none when no card was there
    // The polling answer that "B"/"S" would give now, without consuming an event.
    QString pollPeek() const;

    // Persistent state
    QJsonObject stateJson() const;
    bool applyState(const QJsonObject& state, QString* error);

    // Clock
    QDateTime clock() const { return QDateTime::currentDateTime().addSecs(m_clockOffset); }
    void setClock(const QDateTime& when) { m_clockOffset = QDateTime::currentDateTime().secsTo(when); }

    // Read access for the console and the window
    QString parameter(const QString& id) const;
    QString committedParameter(const QString& id) const { return m_committed.value(id); }
    bool hasPending(const QString& id) const { return m_pending.contains(id); }
    QStringList parameterIds() const { return m_order; }
    const QStringList& file(int number) const { return number == BlacklistFile ? m_file5 : m_file18; }
    // Status code and detail of a card, as the polling answer reports them.
    void cardStatus(const VirtualCard& card, int* code, QString* detail) const;

private:
    Answer badge(char sub, const QString& payload);
    Answer raw(char sub, const QString& payload);
    Answer files(char sub, const QString& payload);
    Answer values(char sub, const QString& payload);
    Answer putValue(const QString& id, const QString& value);
    Answer commitObject(const QString& object);
    Answer clockWrite(const QString& id, const QString& value);
    // A pulse on one of the reader's outputs: nothing to keep, only the debug text.
    static Answer outputPulse(const QString& output, const QString& value);
    static Answer answer(char status, const QString& payload = QString());
    QString pollText(bool event, bool present) const;
    bool blacklisted(const QString& uid, const QMap<QString, QString>& record) const;
    QStringList* fileByNumber(const QString& text);

    QHash<QString, ReaderParameter> m_params; // definitions (kind, choices)
    QStringList m_order;
    QHash<QString, QString> m_committed;
    QHash<QString, QString> m_pending;
    QStringList m_file5;
    QStringList m_file18;
    QVector<VirtualCard> m_cards;
    int m_present = -1;
    QVector<bool> m_events; // pending polling events: true insertion, false removal
    qint64 m_clockOffset = 0;
};

#endif // READERMODEL_H
