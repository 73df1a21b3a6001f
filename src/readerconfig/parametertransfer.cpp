#include "readerconfig/parametertransfer.h"

#include "link/commands.h"
#include "link/qprotocole.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/treeeditors.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSet>
#include <QTreeWidget>
#include <QtDebug>

#include <algorithm>

namespace {

QString ObjectOf(const QString& id)
{
    return id.section(QLatin1Char('.'), 0, 0);
}

} // namespace

ParameterTransfer::ParameterTransfer(ParameterTree* params, QProtocole* link, QObject* parent)
    : QObject(parent), m_params(params), m_link(link)
{
}

void ParameterTransfer::ProgressBarAttach(QProgressBar* bar)
{
    bar->setVisible(IsRunning());
    connect(this, &ParameterTransfer::SIG_Running, bar, &QProgressBar::setVisible);
    connect(this, &ParameterTransfer::SIG_Progress, bar, [bar](int done, int total) {
        bar->setRange(0, qMax(total, 1));
        bar->setValue(qMin(done, qMax(total, 1)));
    });
}

bool ParameterTransfer::ReadAll()
{
    if (IsRunning()) {
        StatusSet(BusyText());
        return false;
    }
    m_params->TreeLoading = true;
    StatusSet(QStringLiteral("GetValue->"));
    LoadTimer.start();
    ToDoList = m_params->ParameterRows();
    m_params->ModifCounter = 0;
    if (!ToDoFirst())
        return true;
    Begin(Phase::Reading, ToDoList.size());
    if (!ReadSend()) {
        StatusAppend(QStringLiteral("->TIMEOUT"));
        Finish();
    }
    return true;
}

bool ParameterTransfer::WriteModified()
{
    if (IsRunning()) {
        StatusSet(BusyText());
        return false;
    }
    QTreeWidget* tree = m_params->Tree();
    qDebug("MET A JOUR LES VALEURS A PARTIR DES WIDGET");
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        TreeValuesFromWidgets(tree, tree->topLevelItem(i), PARAM_COL_WIDGET, PARAM_COL_VALEUR);

    qDebug("LANCE LA SAUVEGARDE");
    ObjetToSave.clear();
    ToDoList.clear();
    qDebug("APRES CLEAR IL Y A %d DANS LISTE", int(ToDoList.size()));
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        TreeToDoSave(tree->topLevelItem(i), &ToDoList, PARAM_COL_MODIFIE);
    qDebug("APRES TreeToDoSave IL Y A %d DANS LISTE", int(ToDoList.size()));
    // Marks are sequence numbers: the operator's changes go out in the order they were last made.
    std::stable_sort(ToDoList.begin(), ToDoList.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return a->text(PARAM_COL_MODIFIE).toUInt() < b->text(PARAM_COL_MODIFIE).toUInt();
    });

    if (!ToDoFirst()) {
        StatusSet(QStringLiteral("Aucune modification"));
        return true;
    }
    QSet<QString> objects;
    for (QTreeWidgetItem* row : qAsConst(ToDoList))
        objects.insert(ObjectOf(row->text(PARAM_COL_IDENTIFIANT)));
    Begin(Phase::Writing, ToDoList.size() + objects.size());
    if (!WriteSend()) {
        StatusSet(QStringLiteral("Save ->Echec"));
        Finish();
    }
    return true;
}

void ParameterTransfer::TreeToDoSave(QTreeWidgetItem* item, QList<QTreeWidgetItem*>* list, quint8 column)
{
    // Rows without an Identifiant (groups, and two leaves) have nothing to send.
    const QString id = item->text(PARAM_COL_IDENTIFIANT);
    const QString mark = item->text(column);
    if (!id.isEmpty() && mark != QLatin1String("0")) {
        qDebug("VALEUR %s CHANGE:%s", qUtf8Printable(mark), qUtf8Printable(id));
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
    if (!Collect(Phase::Reading, &isOk, &code, &text))
        return;
    if (!isOk) {
        // TreeLoading stays set: later edits are not marked.
        StatusAppend(QStringLiteral("->TIMEOUT"));
        Finish();
        return;
    }
    if (code == '0') {
        ToDoCurrent->setText(PARAM_COL_MODIFIE, QStringLiteral("0"));
        TreeItemValue(false, m_params->Tree(), ToDoCurrent, text, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        StatusAppend(QStringLiteral("->OK"));
    } else {
        StatusAppend(QStringLiteral("->UNKNOWN"));
    }
    StepDone();

    if (++ToDoIndex < ToDoList.size()) {
        ToDoCurrent = ToDoList.at(ToDoIndex);
        StatusSet(QStringLiteral("Get value (") + ToDoCurrent->text(PARAM_COL_IDENTIFIANT) +
                  QLatin1Char(')'));
        if (!ReadSend()) {
            StatusAppend(QStringLiteral("->TIMEOUT"));
            Finish();
        }
        return;
    }
    qDebug("Durée du chargement %lld", static_cast<long long>(LoadTimer.elapsed()));
    m_params->TreeLoading = false;
    StatusSet(QStringLiteral("Lecture Ok"));
    Finish();
    emit SIG_ReadComplete();
}

void ParameterTransfer::ConfigPutResult()
{
    bool isOk = false;
    char code = 0;
    QString text;
    if (!Collect(Phase::Writing, &isOk, &code, &text))
        return;
    if (!isOk) {
        StatusSet(QStringLiteral("Save ->Echec"));
        Finish();
        return;
    }
    if (code != '0') {
        StatusSet(QStringLiteral("Save: ->Echec"));
        Finish();
        return;
    }

    const QString id = ToDoCurrent->text(PARAM_COL_IDENTIFIANT);
    ToDoCurrent->setText(PARAM_COL_SAVE, TreeItemValue(true, m_params->Tree(), ToDoCurrent, QString(),
                                                       PARAM_COL_WIDGET, PARAM_COL_VALEUR));
    ToDoCurrent->setText(PARAM_COL_MODIFIE, QStringLiteral("0"));
    const QString object = ObjectOf(id);
    qDebug("OBJET TO SAVE:%s", qUtf8Printable(object));
    if (!object.isEmpty() && !ObjetToSave.split(QLatin1Char('.')).contains(object)) {
        qDebug("ObjetToSAve ADD");
        if (!ObjetToSave.isEmpty())
            ObjetToSave += QLatin1Char('.');
        ObjetToSave += object;
    }
    StatusSet(QStringLiteral("Save:") + id + QStringLiteral("->OK"));
    StepDone();

    if (++ToDoIndex < ToDoList.size()) {
        ToDoCurrent = ToDoList.at(ToDoIndex);
        if (!WriteSend()) {
            StatusSet(QStringLiteral("Save ->Echec"));
            Finish();
        }
        return;
    }

    SaveIndex = 0;
    const QStringList objects = ObjetToSave.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (objects.isEmpty()) {
        Finish();
        return;
    }
    qDebug("IL Y A %d A SAUVEGARDER", int(objects.size()));
    m_phase = Phase::Committing;
    if (!CommitSend(objects.at(SaveIndex++))) {
        StatusAppend(QStringLiteral("->FAILED"));
        Finish();
    }
}

void ParameterTransfer::ConfigPutSaveResult()
{
    bool isOk = false;
    char code = 0;
    QString text;
    if (!Collect(Phase::Committing, &isOk, &code, &text))
        return;
    if (!isOk) {
        StatusAppend(QStringLiteral("->TIMEOUT"));
        Finish();
        return;
    }
    if (code != '0') {
        StatusAppend(QStringLiteral("->FAILED"));
        Finish();
        return;
    }
    StatusAppend(QStringLiteral("->OK"));
    StepDone();
    const QStringList objects = ObjetToSave.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (SaveIndex >= objects.size()) {
        Finish();
        return;
    }
    qDebug("IL Y A %d A SAUVEGARDER", SaveIndex);
    if (!CommitSend(objects.at(SaveIndex++))) {
        StatusAppend(QStringLiteral("->FAILED"));
        Finish();
    }
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

bool ParameterTransfer::Collect(Phase expected, bool* isOk, char* code, QString* text)
{
    // Always collect, so that a stray answer cannot keep the slot taken.
    if (!m_link->CmdAnswer(isOk, code, text))
        return false;
    return m_phase == expected;
}

bool ParameterTransfer::ReadSend()
{
    return m_link->CmdRequestQueued(ReaderCommands::configGet(ToDoCurrent->text(PARAM_COL_IDENTIFIANT))) ==
           QProtocole::CMD_SUBMITTED;
}

bool ParameterTransfer::WriteSend()
{
    return m_link->CmdRequestQueued(ReaderCommands::configPut(ToDoCurrent->text(PARAM_COL_IDENTIFIANT),
                                                              ToDoCurrent->text(PARAM_COL_VALEUR))) ==
           QProtocole::CMD_SUBMITTED;
}

bool ParameterTransfer::CommitSend(const QString& object)
{
    StatusSet(QStringLiteral("Save(") + object + QStringLiteral(") :"));
    return m_link->CmdRequestQueued(ReaderCommands::configCommit(object)) == QProtocole::CMD_SUBMITTED;
}

void ParameterTransfer::Begin(Phase phase, int total)
{
    m_phase = phase;
    m_done = 0;
    m_total = total;
    emit SIG_Running(true);
    emit SIG_Progress(m_done, m_total);
}

void ParameterTransfer::StepDone()
{
    ++m_done;
    emit SIG_Progress(m_done, m_total);
}

void ParameterTransfer::Finish()
{
    if (m_phase == Phase::Idle)
        return;
    m_phase = Phase::Idle;
    emit SIG_Running(false);
}

void ParameterTransfer::StatusSet(const QString& text)
{
    m_params->Status()->setText(text);
}

void ParameterTransfer::StatusAppend(const QString& suffix)
{
    m_params->Status()->setText(m_params->Status()->text() + suffix);
}
