// Saves config.ini, listenoire.txt and configuration.txt of a folder over and over, each time with the
// next of a few known contents, until killed. With --reference it writes each content once into
// <folder>/<n>/ and exits, giving the killer the whole files to compare with.

#include "access/groups.h"
#include "access/zones.h"
#include "blacklist/ttablefile.h"
#include "commun/fileini.h"
#include "readerconfig/configfile.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/treeeditors.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int VARIANT_COUNT = 3;
constexpr int GROUP_COUNT = 400;
constexpr int BLACKLIST_ROWS = 4000;
constexpr int BLACKLIST_COLUMNS = 5;

// The savers log every line they write; the killer only reads stdout and stderr would fill up.
void quietDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

struct AccessModel
{
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    ~AccessModel() { qDeleteAll(groups); }
};

void accessFill(AccessModel* model, int variant)
{
    for (int i = 0; i < ZONE_COUNT; ++i) {
        model->zones[i].Installed = (i + variant) % 2 == 0;
        model->zones[i].Label = QStringLiteral("Zone %1 version %2").arg(i + 1).arg(variant);
    }
    for (int g = 0; g < GROUP_COUNT; ++g) {
        CGROUP* group = GroupAdd(&model->groups, QStringLiteral("Groupe %1-%2").arg(variant).arg(g), g + 1);
        for (int z = 0; z < ZONE_COUNT; ++z) {
            CZONE_RULE& rule = group->Rules[z];
            rule.Access = (g + z + variant) % 3 != 0;
            rule.Counter = quint8((g * 7 + z + variant) % 256);
            rule.Antipassback = quint8((z + variant) % 2);
            rule.Default = quint8((g + variant * 11) % 100);
        }
    }
}

void tableFill(QTableWidget* table, int variant)
{
    table->setColumnCount(BLACKLIST_COLUMNS);
    table->setRowCount(BLACKLIST_ROWS);
    for (int row = 0; row < BLACKLIST_ROWS; ++row) {
        const QString values[BLACKLIST_COLUMNS] = {
            QString::number(100000 + row * VARIANT_COUNT + variant),
            QStringLiteral("%1/%2/2026")
                .arg(1 + row % 28, 2, 10, QLatin1Char('0'))
                .arg(1 + variant, 2, 10, QLatin1Char('0')),
            QStringLiteral("Badge perdu n°%1 (version %2)").arg(row).arg(variant),
            QString::number((row + variant) % 16),
            QStringLiteral("Remarque"),
        };
        for (int column = 0; column < BLACKLIST_COLUMNS; ++column)
            table->setItem(row, column, new QTableWidgetItem(values[column]));
    }
}

// Every parameter gets a value of its own kind that differs from one variant to the next where it can.
void treeFill(QTreeWidget* tree, int variant)
{
    int index = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++index) {
        QTreeWidgetItem* item = *it;
        if (item->text(PARAM_COL_IDENTIFIANT).isEmpty())
            continue;
        QString value = QStringLiteral("%1-%2-").arg(variant).arg(index);
        const QString kind = item->text(PARAM_COL_WIDGET);
        if (kind == QLatin1String(PARAM_WIDGET_CHECKBOX))
            value = QString::number((index + variant) % 2);
        else if (auto* combo = qobject_cast<QComboBox*>(tree->itemWidget(item, PARAM_COL_VALEUR)))
            value = QString::number((index + variant) % qMax(1, combo->count()));
        else
            value += QString(300, QLatin1Char('a' + variant));
        TreeItemValue(false, tree, item, value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }
}

struct Variant
{
    AccessModel access;
    QTableWidget table;
    QTreeWidget tree;
    QLineEdit status;
    ParameterTree parameters{&tree, &status};

    explicit Variant(int variant)
    {
        accessFill(&access, variant);
        tableFill(&table, variant);
        parameters.Setup();
        treeFill(&tree, variant);
    }

    bool saveOne(const QDir& folder, unsigned file)
    {
        if (file == 0) {
            CFILE_INI ini(folder.filePath(QStringLiteral("config.ini")));
            if (!ini.Open())
                return false;
            ZonesSave(access.zones, &ini);
            GroupsSave(&access.groups, &ini);
            return ini.Close();
        }
        if (file == 1)
            return TTableFile::TableSave(&table, folder.filePath(QStringLiteral("listenoire.txt")));
        QString error;
        return ConfigFileSave(&tree, folder.filePath(QStringLiteral("configuration.txt")), &error);
    }
};

void say(const char* line)
{
    std::fputs(line, stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietDebug);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folder of the saved files."));
    const QCommandLineOption reference(QStringLiteral("reference"),
                                       QStringLiteral("Write each content once into folder/<n>/ and exit."));
    const QCommandLineOption first(QStringLiteral("first"), QStringLiteral("Content saved first."),
                                   QStringLiteral("n"), QStringLiteral("0"));
    parser.addOption(reference);
    parser.addOption(first);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QDir folder(parser.positionalArguments().constFirst());

    std::vector<std::unique_ptr<Variant>> variants;
    for (int v = 0; v < VARIANT_COUNT; ++v)
        variants.push_back(std::make_unique<Variant>(v));

    if (parser.isSet(reference)) {
        for (int v = 0; v < VARIANT_COUNT; ++v) {
            const QString name = QString::number(v);
            if (!folder.mkpath(name))
                return 1;
            for (unsigned file = 0; file < 3; ++file) {
                if (!variants[v]->saveOne(QDir(folder.filePath(name)), file)) {
                    say("echec\n");
                    return 1;
                }
            }
        }
        return 0;
    }

    say("boucle\n");
    // Each round starts with another file, so that kills land in the saves of all three.
    for (unsigned round = parser.value(first).toUInt();; ++round) {
        for (unsigned step = 0; step < 3; ++step) {
            if (!variants[round % VARIANT_COUNT]->saveOne(folder, (round + step) % 3)) {
                say("echec\n");
                return 1;
            }
            say("enregistre\n");
        }
    }
}
