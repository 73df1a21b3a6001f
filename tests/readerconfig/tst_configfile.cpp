#include <QtTest>

#include <memory>

#include "filesizelimit.h"
#include "readerconfig/configfile.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

#include <QLineEdit>
#include <QTemporaryDir>

namespace {

QString Value(QTreeWidget* tree, QTreeWidgetItem* row)
{
    return TreeItemValue(true, tree, row, QString(), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QString Dev1 = "Gestion Appareils Timer>Appareil 1 (Par défaut)>Configuration>";
const QString Dev2 = "Gestion Appareils Timer>Appareil 2 (Pour controler 2 appareils)>Configuration>";

} // namespace

class TstConfigFile : public QObject
{
    Q_OBJECT

    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_status = nullptr;
    ParameterTree* m_params = nullptr;
    std::unique_ptr<ParameterTreeBench> m_bench;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        m_bench.reset(new ParameterTreeBench(true));
        m_tree = &m_bench->tree;
        m_status = &m_bench->status;
        m_params = &m_bench->params;
    }

    void cleanup() { m_bench.reset(); }

    void saveFormat()
    {
        int changes = 0;
        const auto counting = connect(m_tree, &QTreeWidget::itemChanged, m_tree, [&changes] { ++changes; });
        const QString path = m_dir.filePath("start.txt");
        QString error;
        QVERIFY(ConfigFileSave(m_tree, path, &error));
        disconnect(counting);
        QCOMPARE(changes, 0);

        const QList<QByteArray> lines = ReadFile(path).split('\n');
        QCOMPARE(lines.size(), 144);
        QCOMPARE(lines.last(), QByteArray());
        QCOMPARE(lines[0], QByteArray("3.0.0="));
        QCOMPARE(lines[1], QByteArray("3.0.1="));
        QCOMPARE(lines[6], QByteArray("3.4.0=0"));
        QVERIFY(lines.contains("2.0.10=0"));
        QCOMPARE(lines.count("2.0.10="), 1); // the second row is a plain cell
        QCOMPARE(lines.count("3.7.7=0"), 1);
        QCOMPARE(lines.count("3.7.7="), 1);
        QCOMPARE(lines[142], QByteArray("12.4="));
        int i = 0;
        for (QTreeWidgetItem* row : m_params->ParameterRows())
            QVERIFY(lines[i++].startsWith(row->text(PARAM_COL_IDENTIFIANT).toLatin1() + '='));
    }

    void loadRules()
    {
        m_params->TreeLoading = false;
        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        QTreeWidgetItem* hwId = RowAt(m_tree, "Lecteur>Identification>Identifiant matériel");
        QTreeWidgetItem* ethernet = RowAt(m_tree, "Lecteur>Options>Module Ethernet");
        QTreeWidgetItem* mdb = RowAt(m_tree, "Lecteur>Options>Mdb CashLess");
        QTreeWidgetItem* display = RowAt(m_tree, Dev1 + "Affichage");
        QTreeWidgetItem* ch2 = RowAt(m_tree, "Accepteur>Canal 2>Type");
        QTreeWidgetItem* prio1 = RowAt(m_tree, Dev1 + "Affichage crédit badge prioritaire");
        QTreeWidgetItem* prio2 = RowAt(m_tree, Dev2 + "Affichage crédit badge prioritaire");
        QTreeWidgetItem* cumul2 = RowAt(m_tree, Dev2 + "Cumul Autorisé");
        QTreeWidgetItem* group = RowAt(m_tree, "Fonctionnement>Montant des Débit");
        TreeItemValue(false, m_tree, ethernet, "1", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        m_params->ModifCounter = 0;

        const QString path = m_dir.filePath("rules.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("3.0.1=A=B\r\n"
                " 3.0.2=7\n"
                "\n"
                "=9\n"
                "3.7.7=1\n"
                "3.4.0=\n"
                "3.4.2=0\r\n"
                "2.0.11=4\n"
                "7.1.1.1=3\n"
                "99.9=1\n"
                "3.0.3\n"
                "12.0=V9.9\n"
                "12.3=23:59\n"
                "3.0.5=5");
        f.close();
        QVERIFY(ConfigFileLoad(m_tree, path));

        QCOMPARE(site->text(PARAM_COL_VALEUR), QString("A"));
        QCOMPARE(hwId->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(Value(m_tree, prio1), QString("1"));
        QCOMPARE(Value(m_tree, prio2), QString("1"));
        QCOMPARE(Value(m_tree, mdb), QString("1"));
        QCOMPARE(Value(m_tree, ethernet), QString("0"));
        QCOMPARE(Value(m_tree, display), QString("0"));
        QCOMPARE(Value(m_tree, ch2), QString("3"));
        QCOMPARE(RowAt(m_tree, "Lecteur>Identification>Nom matériel")->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(RowAt(m_tree, "Lecteur>Identification>Code Exploitant")->text(PARAM_COL_VALEUR),
                 QString("5"));
        // The empty key touches no row without an Identifiant.
        QCOMPARE(Value(m_tree, cumul2), QString("0"));
        QCOMPARE(cumul2->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(group->text(PARAM_COL_VALEUR), QString());
        // What the reader reports (versions, clock) is not taken from a file.
        QCOMPARE(RowAt(m_tree, "Version>logiciel")->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(RowAt(m_tree, "Divers>Heure")->text(PARAM_COL_VALEUR), QString());
        QCOMPARE(RowAt(m_tree, "Divers>Heure")->text(PARAM_COL_MODIFIE), QString());

        // Once a complete read has cleared TreeLoading, loaded changes are marked in file order.
        QCOMPARE(site->text(PARAM_COL_MODIFIE), QString("1"));
        QCOMPARE(prio1->text(PARAM_COL_MODIFIE), QString("2"));
        QCOMPARE(prio2->text(PARAM_COL_MODIFIE), QString("3"));
        QCOMPARE(mdb->text(PARAM_COL_MODIFIE), QString("4"));
        QCOMPARE(ethernet->text(PARAM_COL_MODIFIE), QString("5"));
        QCOMPARE(ch2->text(PARAM_COL_MODIFIE), QString("6"));
        QCOMPARE(display->text(PARAM_COL_MODIFIE), QString());
    }

    void duplicatesTakeTheLaterLine()
    {
        const QString path = m_dir.filePath("dup.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("2.1.0.3.0=150\n2.1.0.3.0=275\n2.0.10=1\n2.0.10=7\n");
        f.close();
        QVERIFY(ConfigFileLoad(m_tree, path));
        const QList<QTreeWidgetItem*> amounts = m_params->RowsWithIdentifiant("2.1.0.3.0");
        QCOMPARE(amounts.size(), 2);
        QCOMPARE(Value(m_tree, amounts[0]), QString("275"));
        QCOMPARE(Value(m_tree, amounts[1]), QString("275"));
        const QList<QTreeWidgetItem*> modes = m_params->RowsWithIdentifiant("2.0.10");
        QCOMPARE(Value(m_tree, modes[0]), QString("1")); // the list cannot take "7"
        QCOMPARE(Value(m_tree, modes[1]), QString("7"));
    }

    void carriageReturnsEndTheLine()
    {
        const QString path = m_dir.filePath("cr.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("3.0.1=abc\r\r\n3.0.3=a\rb\r\n3.0.5=5\r=6\n");
        f.close();
        QVERIFY(ConfigFileLoad(m_tree, path));
        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        QTreeWidgetItem* name = RowAt(m_tree, "Lecteur>Identification>Nom matériel");
        QCOMPARE(Value(m_tree, site), QString("abc"));
        QCOMPARE(Value(m_tree, name), QString("a\rb"));
        QTreeWidgetItem* code = RowAt(m_tree, "Lecteur>Identification>Code Exploitant");
        QCOMPARE(Value(m_tree, code), QString("5"));

        QString error;
        QVERIFY(ConfigFileSave(m_tree, path, &error));
        TreeItemValue(false, m_tree, site, "x", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        TreeItemValue(false, m_tree, name, "x", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        TreeItemValue(false, m_tree, code, "x", PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        QVERIFY(ConfigFileLoad(m_tree, path));
        QCOMPARE(Value(m_tree, site), QString("abc"));
        QCOMPARE(Value(m_tree, name), QString("a\rb"));
        QCOMPARE(Value(m_tree, code), QString("5"));
    }

    void roundTrip()
    {
        for (QTreeWidgetItem* row : m_params->ParameterRows()) {
            // What the reader reports (Attribut "1") is not loaded from files: left empty here.
            if (row->text(PARAM_COL_ATTRIBUT) == "1")
                continue;
            const QString kind = row->text(PARAM_COL_WIDGET);
            const QString id = row->text(PARAM_COL_IDENTIFIANT);
            TreeItemValue(false, m_tree, row,
                          kind == "10"   ? QString(id.endsWith('1') ? "0" : "1")
                          : kind == "20" ? "1"
                                         : "v" + id,
                          PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        }
        const QString path = m_dir.filePath("round.txt");
        QString error;
        QVERIFY(ConfigFileSave(m_tree, path, &error));

        QTreeWidget other;
        QLineEdit status;
        ParameterTree fresh(&other, &status);
        fresh.Setup();
        QVERIFY(ConfigFileLoad(&other, path));
        const QList<QTreeWidgetItem*> a = m_params->ParameterRows();
        const QList<QTreeWidgetItem*> b = fresh.ParameterRows();
        for (int i = 0; i < a.size(); ++i) {
            if (m_params->RowsWithIdentifiant(a[i]->text(PARAM_COL_IDENTIFIANT)).size() == 1)
                QCOMPARE(Value(&other, b[i]), Value(m_tree, a[i]));
        }
        QCOMPARE(ConfigFileContent(&other), ReadFile(path));
    }

    void encoding()
    {
        QTreeWidgetItem* site = RowAt(m_tree, "Lecteur>Identification>Nom du site");
        const QString path = m_dir.filePath("latin1.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QString("3.0.1=Gare de Sète\r\n").toLatin1());
        f.close();
        QVERIFY(ConfigFileLoad(m_tree, path));
        QCOMPARE(site->text(PARAM_COL_VALEUR), QString("Gare de Sète"));

        QString error;
        QVERIFY(ConfigFileSave(m_tree, path, &error));
        QVERIFY(ReadFile(path).contains(QString("3.0.1=Gare de Sète\n").toUtf8()));
        site->setText(PARAM_COL_VALEUR, QString());
        QVERIFY(ConfigFileLoad(m_tree, path));
        QCOMPARE(site->text(PARAM_COL_VALEUR), QString("Gare de Sète"));
    }

    void failures()
    {
        QString error;
        QVERIFY(!ConfigFileLoad(m_tree, m_dir.filePath("absent.txt")));
        QVERIFY(!ConfigFileLoad(m_tree, QString()));
        // Under a plain file: no folder can be made there.
        QFile plain(m_dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!ConfigFileSave(m_tree, m_dir.filePath("plain/x.txt"), &error));
        QCOMPARE(error, QString("Impossible de créer le fichier"));
        error.clear();
        QVERIFY(!ConfigFileSave(m_tree, QString(), &error));
        QCOMPARE(error, QString("Impossible de créer le fichier"));
    }

    // A write that fails half-way leaves the previous file whole.
    void failedWriteKeepsOldFile()
    {
        const QString path = m_dir.filePath("keep.txt");
        const QByteArray old("3.0.1=ANCIEN\n");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        bool savedOk = true;
        QString error;
        {
            FileSizeLimit limit(200);
            QVERIFY(limit.isActive());
            savedOk = ConfigFileSave(m_tree, path, &error);
        }
        QVERIFY(!savedOk);
        QCOMPARE(error, QString("Impossible de créer le fichier"));
        QCOMPARE(ReadFile(path), old);
        QCOMPARE(QDir(m_dir.path()).entryList(QStringList{"keep.txt*"}, QDir::Files),
                 QStringList{"keep.txt"});
    }
};

QTEST_MAIN(TstConfigFile)
#include "tst_configfile.moc"
