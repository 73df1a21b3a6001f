#include "access/accesstab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "access/accesstransfer.h"
#include "access/zoneseditor.h"
#include "commun/formwidget.h"
#include "link/argids.h"
#include "link/resultrouter.h"
#include "transfer/chainview.h"

AccessTab::AccessTab(QWidget* window, ReaderLink& link, ChainGuard& guard, CZONE* zones,
                     QList<CGROUP*>* groups, CFILE_INI* ini, ColorSetter colorSet)
    : QObject(window), m_window(window)
{
    const ZonesEditor::Form form{
        FormWidget<QGridLayout>(window, "GridZones"),    FormWidget<QGridLayout>(window, "GridGroup"),
        FormWidget<QLineEdit>(window, "LE_Group"),       FormWidget<QComboBox>(window, "CBOX_GroupList"),
        FormWidget<QComboBox>(window, "COMBO_Profil"),   FormWidget<QPushButton>(window, "BTN_ZonesSave"),
        FormWidget<QPushButton>(window, "BTN_GroupSave")};
    m_editor = std::make_unique<ZonesEditor>(form, zones, groups, ini, std::move(colorSet));
    // The read-back fills the blacklist table; both tabs' chains share its status line and bar.
    m_transfer = std::make_unique<AccessTransfer>(link, guard, groups,
                                                  FormWidget<QTableWidget>(window, "TABLE_BlackList"));
    ChainViewAttach(m_transfer.get(), FormWidget<QLineEdit>(window, "SAI_BlackListStatus"),
                    FormWidget<QProgressBar>(window, "PROGRESS_BlackList"));
}

AccessTab::~AccessTab() = default;

void AccessTab::Setup()
{
    m_editor->GridsSetup();
    for (QCheckBox* box : m_editor->InstalledBoxes())
        connect(box, &QCheckBox::stateChanged, this, &AccessTab::SIG_ZoneStateChanged);
}

void AccessTab::saveFailed()
{
    QMessageBox::critical(
        m_window, QCoreApplication::translate("AccessTab", "Erreur"),
        QCoreApplication::translate("AccessTab", "Impossible d'enregistrer le fichier config.ini"),
        QMessageBox::Ok);
}

void AccessTab::ZonesSave()
{
    if (!m_editor->ZonesSave())
        saveFailed();
}

void AccessTab::GroupShow(int index)
{
    m_editor->GroupShow(index);
}

void AccessTab::ZoneStateChanged(int state)
{
    m_editor->OnZoneStateChanged(state);
}

void AccessTab::GroupNew()
{
    m_editor->GroupNew();
}

void AccessTab::GroupSave()
{
    if (!m_editor->GroupSave())
        saveFailed();
}

void AccessTab::GroupNumberChanged()
{
    m_editor->GroupNumberChanged();
}

void AccessTab::GroupLabelChanged()
{
    m_editor->GroupLabelChanged();
}

void AccessTab::GroupDelete()
{
    const bool confirmed =
        QMessageBox::information(
            m_window, QCoreApplication::translate("AccessTab", "Confirmation :"),
            QCoreApplication::translate("AccessTab", "Voulez-vous supprimer ce profil définitivement ?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    if (!m_editor->GroupDelete(confirmed))
        saveFailed();
}

void AccessTab::SendToReader()
{
    m_transfer->SendToReader();
}

void AccessTab::ReadFromReader()
{
    m_transfer->ReadFromReader();
}

void AccessTab::RegisterResults(ResultRouter& router)
{
    router.Register(ARG_FILE_ACCESS_CLEAR_RESULT, [this](const QString&) { m_transfer->OnClearResult(); });
    router.Register(ARG_FILE_ACCESS_ADD_RESULT, [this](const QString&) { m_transfer->OnAddResult(); });
    router.Register(ARG_FILE_ACCESS_GET_RESULT, [this](const QString&) { m_transfer->OnGetResult(); });
}
