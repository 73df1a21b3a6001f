#include "chainscenarios.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>

#include "app/emulatorlauncher.h"
#include "badge/carddumpchain.h"
#include "badge/cardkeys.h"
#include "benchreport.h"
#include "benchrig.h"
#include "blacklist/blacklisttab.h"
#include "blacklist/blacklisttransfer.h"
#include "blacklist/tablerows.h"
#include "link/argids.h"
#include "linkrig.h"
#include "readerconfig/parametertransfer.h"
#include "readerconfig/parametertree.h"

namespace {
constexpr int BlacklistUploadRows = 200;
constexpr int TreeWidth = 800;
constexpr int TreeHeight = 600;
// Rows of the uploaded table, each different: dates within any month, UIDs and users counted up.
constexpr int DaysInAnyMonth = 28;
constexpr int FirstUid = 0x0A000000;
constexpr int FirstUser = 1000;
constexpr int Groups = 7;
// The default deck's valid badge, and the key of its sectors.
const QString BadgeCard = QStringLiteral("present 2");
const QByteArray SystemKey = QByteArray::fromHex("5A17C3882E91");
} // namespace

void ParameterRead(BenchReport& report, const QString& port, int repeat)
{
    Progress("full parameter read");
    LinkRig rig;
    QTreeWidget tree;
    QLineEdit status;
    ParameterTree params(&tree, &status);
    QElapsedTimer setup;
    setup.start();
    params.Setup();
    // Part of the window's start-up once the window builds the tree.
    report.Add(QStringLiteral("param_tree_setup"), ElapsedMs(setup), QStringLiteral("ms"));
    QObject::connect(&tree, &QTreeWidget::itemChanged, &tree,
                     [&params](QTreeWidgetItem* item, int column) { params.ItemChanged(item, column); });
    ParameterTransfer transfer(&params, rig.seam, rig.chains);
    QObject::connect(&transfer, &CommandChain::SIG_Status, &status, &QLineEdit::setText);
    transfer.RegisterResults(rig.router);
    // Shown, as the operator watches it fill.
    tree.resize(TreeWidth, TreeHeight);
    tree.show();
    if (!rig.Open(port)) {
        report.AddFailure(QStringLiteral("param_read_ratio"), QStringLiteral("x"), QStringLiteral("no link"));
        return;
    }
    report.Add(QStringLiteral("param_read_parameters"), params.ParameterRows().size(),
               QStringLiteral("count"));
    ChainFigures best;
    if (!ChainBest(
            rig, &transfer, [&transfer] { return transfer.ReadAll(); },
            [&status] { return status.text() == QLatin1String("Lecture Ok"); }, repeat, &best)) {
        report.AddFailure(QStringLiteral("param_read_ratio"), QStringLiteral("x"), status.text());
        return;
    }
    LineFigures(report, QStringLiteral("param_read"), best, rig, port, repeat);
}

void BlacklistUpload(BenchReport& report, const QString& port, int repeat)
{
    Progress("blacklist upload");
    LinkRig rig;
    QTableWidget table;
    QLineEdit status;
    BlacklistTableSetup(&table);
    for (int row = 0; row < BlacklistUploadRows; ++row) {
        TableRowAppend(&table);
        TableCellSet(&table, row, 0,
                     QStringLiteral("%1/03/27").arg(row % DaysInAnyMonth + 1, 2, 10, QLatin1Char('0')));
        TableCellSet(&table, row, 1, QStringLiteral("%1").arg(FirstUid + row, 8, 16, QLatin1Char('0')));
        TableCellSet(&table, row, 2, QString::number(FirstUser + row));
        TableCellSet(&table, row, 3, QString::number(row % Groups + 1));
        TableCellSet(&table, row, 4, QStringLiteral("Badge perdu"));
    }
    BlacklistTransfer transfer(rig.seam, rig.chains, &table);
    QObject::connect(&transfer, &CommandChain::SIG_Status, &status, &QLineEdit::setText);
    rig.router.Register(ARG_FILE_LN_CLEAR_RESULT, [&transfer](const QString&) { transfer.OnClearResult(); });
    rig.router.Register(ARG_FILE_LN_ADD_RESULT, [&transfer](const QString&) { transfer.OnAddResult(); });
    rig.router.Register(ARG_FILE_LN_GET_RESULT, [&transfer](const QString&) { transfer.OnGetResult(); });
    if (!rig.Open(port)) {
        report.AddFailure(QStringLiteral("blacklist_upload_ratio"), QStringLiteral("x"),
                          QStringLiteral("no link"));
        return;
    }
    ChainFigures best;
    if (!ChainBest(
            rig, &transfer, [&transfer] { return transfer.WriteToSupport(); },
            [&] {
                return status.text() == QLatin1String("LN Add->FIN") &&
                       transfer.Done() == BlacklistUploadRows;
            },
            repeat, &best)) {
        report.AddFailure(QStringLiteral("blacklist_upload_ratio"), QStringLiteral("x"), status.text());
        return;
    }
    LineFigures(report, QStringLiteral("blacklist_upload"), best, rig, port, repeat);
}

void CardRead(BenchReport& report, EmulatorLauncher& emulator, int repeat)
{
    Progress("card read");
    LinkRig rig;
    CardDumpChain chain(rig.seam, rig.chains);
    rig.router.Register(ARG_CARD_DUMP_RESULT, [&chain](const QString&) { chain.OnResult(); });
    if (emulator.Command(BadgeCard).join(' ').startsWith(QLatin1String("ERR")) ||
        !rig.Open(emulator.PortName())) {
        report.AddFailure(QStringLiteral("card_read_ratio"), QStringLiteral("x"),
                          QStringLiteral("no card or link"));
        return;
    }
    CardDumpChain::Options options;
    options.keys = CardKeysMerge({SystemKey}, CardKeysDefault());
    ChainFigures best;
    if (!ChainBest(
            rig, &chain, [&] { return chain.Read(options); },
            [&chain] { return chain.LastOutcome() == CardDumpChain::Outcome::Ok; }, repeat, &best)) {
        report.AddFailure(QStringLiteral("card_read_ratio"), QStringLiteral("x"), chain.Status());
        return;
    }
    LineFigures(report, QStringLiteral("card_read"), best, rig, emulator.PortName(), repeat);
}
