// ReaderModel, continued: the state it keeps across runs, and its file.

#include "readerstate.h"

#include "readermodel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

using ReaderText::uidText;

namespace {
// Each file is kept under its number.
const QString BlacklistKey = QString::number(ReaderModel::BlacklistFile);
const QString AccessKey = QString::number(ReaderModel::AccessFile);
} // namespace

QJsonObject ReaderModel::stateJson() const
{
    QJsonObject params;
    for (auto it = m_committed.cbegin(); it != m_committed.cend(); ++it)
        params.insert(it.key(), it.value());
    QJsonArray cards;
    for (const VirtualCard& card : m_cards) {
        cards.append(QJsonObject{{"name", card.name},
                                 {"uid", uidText(card.chip.uid())},
                                 {"memory", QString::fromLatin1(card.chip.memory().toHex())}});
    }
    return QJsonObject{{"parameters", params},
                       {"files", QJsonObject{{BlacklistKey, QJsonArray::fromStringList(m_file5)},
                                             {AccessKey, QJsonArray::fromStringList(m_file18)}}},
                       {"cards", cards}};
}

bool ReaderModel::applyState(const QJsonObject& state, QString* error)
{
    // Check everything before touching anything, so a bad file changes nothing.
    QHash<QString, QString> committed = m_committed;
    const QJsonObject params = state.value("parameters").toObject();
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (m_params.contains(it.key()) && it.value().isString())
            committed.insert(it.key(), it.value().toString());
    }
    const QJsonObject files = state.value("files").toObject();
    QStringList file5 = m_file5, file18 = m_file18;
    if (files.contains(BlacklistKey))
        file5 = files.value(BlacklistKey).toVariant().toStringList();
    if (files.contains(AccessKey))
        file18 = files.value(AccessKey).toVariant().toStringList();
    if (file5.size() > MaxFileRecords || file18.size() > MaxFileRecords) {
        *error = "too many file records";
        return false;
    }
    QVector<VirtualCard> cards = m_cards;
    for (const QJsonValue& v : state.value("cards").toArray()) {
        const QJsonObject o = v.toObject();
        const QByteArray memory = QByteArray::fromHex(o.value("memory").toString().toLatin1());
        for (VirtualCard& card : cards) {
            if (uidText(card.chip.uid()) == o.value("uid").toString() && !card.chip.setMemory(memory)) {
                *error = "card " + o.value("uid").toString() + ": bad memory";
                return false;
            }
        }
    }
    m_committed = committed;
    m_file5 = file5;
    m_file18 = file18;
    m_cards = cards;
    return true;
}

bool ReaderState::load(const QString& path, ReaderModel* model, QString* error)
{
    if (!QFile::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + ": " + file.errorString();
        return false;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    QString problem;
    if (!doc.isObject() || !model->applyState(doc.object(), &problem)) {
        *error = file.fileName() + ": " + (problem.isEmpty() ? QString("not a JSON object") : problem);
        return false;
    }
    return true;
}

bool ReaderState::save(const QString& path, const ReaderModel& model, QString* error)
{
    const QByteArray json = QJsonDocument(model.stateJson()).toJson();
    QSaveFile file(path);
    QString problem;
    if (!file.open(QIODevice::WriteOnly))
        problem = file.errorString();
    else if (file.write(json) != json.size() || !file.flush())
        problem = file.errorString();
    if (!problem.isEmpty()) {
        // The old state stays whole rather than being replaced by a cut-off file.
        file.cancelWriting();
        file.commit();
    } else if (!file.commit()) {
        problem = file.errorString();
    }
    if (!problem.isEmpty()) {
        *error = problem;
        return false;
    }
    return true;
}
