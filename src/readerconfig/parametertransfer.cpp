#include "readerconfig/parametertransfer.h"

#include "link/argids.h"
#include "link/commands.h"
#include "link/resultrouter.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/readerconfiglog.h"
#include "readerconfig/treeeditors.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QSet>
#include <QTreeWidget>

#include <algorithm>
#include <utility>

namespace {

QString ObjectOf(const QString& id)
{
    return id.section(QLatin1Char('.'), 0, 0);
}

} // namespace

ParameterTransfer::ParameterTransfer(ParameterTree* params, ReaderLink& link, ChainGuard& guard,
                                     QObject* parent)
    : CommandChain(link, guard, parent), m_params(params)
{
}

bool ParameterTransfer::ReadAll()
{
    const QList<QTreeWidgetItem*> rows = m_params->ParameterRows();
    if (!Begin(QStringLiteral("GetValue->"), rows.size()))
        return false;
    m_phase = Phase::Reading;
    m_params->TreeLoading = true;
    LoadTimer.start();
    ToDoList = rows;
    m_params->ModifCounter = 0;
    if (!ToDoFirst()) {
        Finish(Status());
        return true;
    }
    if (!Send(ReaderCommands::configGet(ToDoCurrent->text(PARAM_COL_IDENTIFIANT))))
        Finish(Status() + QStringLiteral("->TIMEOUT"));
    return true;
}

bool ParameterTransfer::WriteModified()
{
    if (IsRunning()) {
        BusyShow();
        return false;
    }
    QTreeWidget* tree = m_params->Tree();
    qCDebug(lcReaderConfig, "MET A JOUR LES VALEURS A PARTIR DES WIDGET");
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        TreeValuesFromWidgets(tree, tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);

    qCDebug(lcReaderConfig, "LANCE LA SAUVEGARDE");
    QList<QTreeWidgetItem*> rows;
    qCDebug(lcReaderConfig, "APRES CLEAR IL Y A %d DANS LISTE", int(rows.size()));
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        TreeToDoSave(tree->topLevelItem(i), &rows, PARAM_COL_MODIFIE);
    qCDebug(lcReaderConfig, "APRES TreeToDoSave IL Y A %d DANS LISTE", int(rows.size()));
    // Marks are sequence numbers: the operator's changes go out in the order they were last made.
    std::stable_sort(rows.begin(), rows.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return a->text(PARAM_COL_MODIFIE).toUInt() < b->text(PARAM_COL_MODIFIE).toUInt();
    });
    if (rows.isEmpty()) {
        StatusSet(QCoreApplication::translate("ParameterTransfer", "Aucune modification"));
        return true;
    }

    QSet<QString> objects;
    for (QTreeWidgetItem* row : std::as_const(rows))
        objects.insert(ObjectOf(row->text(PARAM_COL_IDENTIFIANT)));
    // The status line keeps what it shows until the first write answers.
    if (!Begin(QString(), rows.size() + objects.size()))
        return false;
    m_phase = Phase::Writing;
    ToDoList = rows;
    ToDoFirst();
    if (!Send(ReaderCommands::configPut(ToDoCurrent->text(PARAM_COL_IDENTIFIANT),
                                        ToDoCurrent->text(PARAM_COL_VALEUR))))
        Finish(QCoreApplication::translate("ParameterTransfer", "Save ->Echec"));
    return true;
}

void ParameterTransfer::RegisterResults(ResultRouter& router)
{
    // Each branch logs its dispatcher label first (the read shares the write's label).
    router.Register(ARG_CONFIG_GET_RESULT, [this](const QString&) {
        qCDebug(lcReaderConfig, "ARG_CONFIG_PUT_RESULT");
        ConfigGetResult();
    });
    router.Register(ARG_CONFIG_PUT_RESULT, [this](const QString&) {
        qCDebug(lcReaderConfig, "ARG_CONFIG_PUT_RESULT");
        ConfigPutResult();
    });
    router.Register(ARG_CONFIG_PUT_SAVE_RESULT, [this](const QString&) {
        qCDebug(lcReaderConfig, "ARG_CONFIG_PUT_SAVE RESULT");
        ConfigPutSaveResult();
    });
}

void ParameterTransfer::TreeToDoSave(QTreeWidgetItem* item, QList<QTreeWidgetItem*>* list, quint8 column)
{
    // Rows without an Identifiant (groups, and two leaves) have nothing to send.
    const QString id = item->text(PARAM_COL_IDENTIFIANT);
    const QString mark = item->text(column);
    if (!id.isEmpty() && mark != QLatin1String("0")) {
        qCDebug(lcReaderConfig, "VALEUR %s CHANGE:%s", qUtf8Printable(mark), qUtf8Printable(id));
        list->append(item);
    }
    for (int i = 0; i < item->childCount(); ++i)
        TreeToDoSave(item->child(i), list, column);
}

void ParameterTransfer::ConfigGetResult()
{
    bool isOk = false;
    char code = 0;
    QString text;
    if (!Collected(Phase::Reading, &isOk, &code, &text))
        return;
    if (!isOk) {
        // TreeLoading stays set: later edits are not marked.
        Finish(Status() + QStringLiteral("->TIMEOUT"));
        return;
    }
    // The next request goes out before the tree and the status are updated: the line
    // would otherwise stay idle for as long as the window takes to do so.
    QTreeWidgetItem* const done = ToDoCurrent;
    QString nextId;
    bool sent = false;
    if (++ToDoIndex < ToDoList.size()) {
        ToDoCurrent = ToDoList.at(ToDoIndex);
        nextId = ToDoCurrent->text(PARAM_COL_IDENTIFIANT);
        sent = Send(ReaderCommands::configGet(nextId));
    }
    if (code == '0') {
        done->setText(PARAM_COL_MODIFIE, QStringLiteral("0"));
        TreeItemValue(false, m_params->Tree(), done, text, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        StatusSet(Status() + QStringLiteral("->OK"));
    } else {
        StatusSet(Status() + QStringLiteral("->UNKNOWN"));
    }
    StepDone();

    if (ToDoIndex < ToDoList.size()) {
        StatusSet(QCoreApplication::translate("ParameterTransfer", "Get value (") + nextId +
                  QLatin1Char(')'));
        if (!sent)
            Finish(Status() + QStringLiteral("->TIMEOUT"));
        return;
    }
    qCDebug(lcReaderConfig, "Durée du chargement %lld", static_cast<long long>(LoadTimer.elapsed()));
    m_params->TreeLoading = false;
    Finish(QCoreApplication::translate("ParameterTransfer", "Lecture Ok"));
    emit SIG_ReadComplete();
}

void ParameterTransfer::ConfigPutResult()
{
    bool isOk = false;
    char code = 0;
    QString text;
    if (!Collected(Phase::Writing, &isOk, &code, &text))
        return;
    if (!isOk) {
        Finish(QCoreApplication::translate("ParameterTransfer", "Save ->Echec"));
        return;
    }
    if (code != '0') {
        Finish(QCoreApplication::translate("ParameterTransfer", "Save: ->Echec"));
        return;
    }

    const QString id = ToDoCurrent->text(PARAM_COL_IDENTIFIANT);
    ToDoCurrent->setText(PARAM_COL_SAVE, TreeItemValue(true, m_params->Tree(), ToDoCurrent, QString(),
                                                       PARAM_COL_WIDGET, PARAM_COL_VALEUR));
    ToDoCurrent->setText(PARAM_COL_MODIFIE, QStringLiteral("0"));
    const QString object = ObjectOf(id);
    qCDebug(lcReaderConfig, "OBJET TO SAVE:%s", qUtf8Printable(object));
    if (!object.isEmpty() && !ObjetToSave.split(QLatin1Char('.')).contains(object)) {
        qCDebug(lcReaderConfig, "ObjetToSAve ADD");
        if (!ObjetToSave.isEmpty())
            ObjetToSave += QLatin1Char('.');
        ObjetToSave += object;
    }
    StatusSet(QStringLiteral("Save:") + id + QStringLiteral("->OK"));
    StepDone();

    if (++ToDoIndex < ToDoList.size()) {
        ToDoCurrent = ToDoList.at(ToDoIndex);
        if (!Send(ReaderCommands::configPut(ToDoCurrent->text(PARAM_COL_IDENTIFIANT),
                                            ToDoCurrent->text(PARAM_COL_VALEUR))))
            Finish(QCoreApplication::translate("ParameterTransfer", "Save ->Echec"));
        return;
    }
    SaveIndex = 0;
    m_phase = Phase::Committing;
    qCDebug(lcReaderConfig, "IL Y A %d A SAUVEGARDER",
            int(ObjetToSave.split(QLatin1Char('.'), Qt::SkipEmptyParts).size()));
    CommitNext();
}

void ParameterTransfer::ConfigPutSaveResult()
{
    bool isOk = false;
    char code = 0;
    QString text;
    if (!Collected(Phase::Committing, &isOk, &code, &text))
        return;
    if (!isOk) {
        Finish(Status() + QStringLiteral("->TIMEOUT"));
        return;
    }
    if (code != '0') {
        Finish(Status() + QStringLiteral("->FAILED"));
        return;
    }
    StatusSet(Status() + QStringLiteral("->OK"));
    StepDone();
    qCDebug(lcReaderConfig, "IL Y A %d A SAUVEGARDER", SaveIndex);
    CommitNext();
}

bool ParameterTransfer::ToDoFirst()
{
    ObjetToSave.clear();
    ToDoIndex = 0;
    if (ToDoList.isEmpty())
        return false;
    ToDoCurrent = ToDoList.first();
    return true;
}

bool ParameterTransfer::Collected(Phase expected, bool* isOk, char* code, QString* text)
{
    return Collect(isOk, code, text) && m_phase == expected;
}

void ParameterTransfer::CommitNext()
{
    const QStringList objects = ObjetToSave.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (SaveIndex >= objects.size()) {
        // All done: the status keeps the last commit's text.
        Finish(Status());
        return;
    }
    const QString object = objects.at(SaveIndex++);
    StatusSet(QStringLiteral("Save(") + object + QStringLiteral(") :"));
    if (!Send(ReaderCommands::configCommit(object)))
        Finish(Status() + QStringLiteral("->FAILED"));
}
