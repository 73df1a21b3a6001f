#include <QtTest>

#include <memory>

#include "filesizelimit.h"
#include "readerconfig/configfile.h"
#include "readerconfig/treeeditors.h"
#include "testfiles.h"
#include "treerows.h"

namespace {

const QString Site = "Lecteur>Identification>Nom du site";
const QString Dev1 = "Gestion Appareils Timer>Appareil 1 (Par défaut)>Configuration>";
const QString Dev2 = "Gestion Appareils Timer>Appareil 2 (Pour controler 2 appareils)>Configuration>";

} // namespace

class TstConfigFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParameterTreeBench> b;
    QTemporaryDir m_dir;

    QTreeWidgetItem* Row(const QString& path) { return RowAt(&b->tree, path); }
    // The row's value as its editor shows it.
    QString Value(QTreeWidgetItem* row, QTreeWidget* tree = nullptr)
    {
        return TreeItemValue(true, tree ? tree : &b->tree, row, QString(), PARAM_COL_WIDGET,
                             PARAM_COL_VALEUR);
    }
    void Put(QTreeWidgetItem* row, const QString& value)
    {
        TreeItemValue(false, &b->tree, row, value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY(m_dir.isValid());
    }
    void init() { b.reset(new ParameterTreeBench(true)); }
    void cleanup() { b.reset(); }

    void saveFormat()
    {
        int changes = 0;
        const auto counting =
            connect(&b->tree, &QTreeWidget::itemChanged, &b->tree, [&changes] { ++changes; });
        const QString path = m_dir.filePath("start.txt");
        QString error;
        QVERIFY(ConfigFileSave(&b->tree, path, &error));
        disconnect(counting);
        QCOMPARE(changes, 0);

        // One line per parameter row in tree order, each with its line end.
        const QList<QByteArray> lines = FileBytes(path).split('\n');
        const QList<QTreeWidgetItem*> rows = b->params.ParameterRows();
        QCOMPARE(lines.size(), rows.size() + 1);
        QCOMPARE(lines.last(), QByteArray());
        for (int i = 0; i < rows.size(); ++i)
            QVERIFY(lines[i].startsWith(rows[i]->text(PARAM_COL_IDENTIFIANT).toLatin1() + '='));
        // The Valeur column goes out, not Save; the second 2.0.10 and 3.7.7 rows are plain cells.
        QCOMPARE(lines[1], QByteArray("3.0.1="));
        QCOMPARE(lines[6], QByteArray("3.4.0=0"));
        for (const char* line : {"2.0.10=0", "2.0.10=", "3.7.7=0", "3.7.7="})
            QCOMPARE(lines.count(line), 1);
    }

    void loadRules()
    {
        b->params.TreeLoading = false;
        Put(Row("Lecteur>Options>Module Ethernet"), "1");
        Put(Row("Lecteur>Identification>Nom matériel"), "Borne");
        b->params.ModifCounter = 0;
        ConfigFileApply(&b->tree,
                        "3.0.1=A=B\r\n 3.0.2=7\n\n=9\n3.7.7=1\n3.4.0=\n3.4.2=0\r\n2.0.11=4\n"
                        "7.1.1.1=3\n99.9=1\n3.0.3\n12.0=V9.9\n12.3=23:59\n2.1.0.3.0=150\n2.1.0.3.0=275\n"
                        "2.0.10=1\n2.0.10=7\n3.0.5=5");
        // Once a complete read has cleared TreeLoading, loaded changes are marked in file order.
        const struct
        {
            QString path;
            const char *value, *mark; // mark nullptr: not checked
        } rows[] = {
            {Site, "A", "1"},
            {"Lecteur>Identification>Identifiant matériel", "", "0"},
            {Dev1 + "Affichage crédit badge prioritaire", "1", "2"},
            {Dev2 + "Affichage crédit badge prioritaire", "1", "3"},
            {"Lecteur>Options>Mdb CashLess", "1", "4"}, // hand-written empty check-box value
            {"Lecteur>Options>Module Ethernet", "0", "5"},
            {Dev1 + "Affichage", "0", ""}, // no such choice
            {"Accepteur>Canal 2>Type", "3", "6"},
            {"Lecteur>Identification>Code Exploitant", "5", nullptr},  // the last line has no line end
            {"Lecteur>Identification>Nom matériel", "Borne", nullptr}, // "3.0.3" alone is no value
            // Every row of a duplicated Identifiant takes the later line, when it can.
            {"Fonctionnement>Montant des Débit>Sur Insertion", "275", nullptr},
            {"Gestion Appareils Timer>Appareil 1 (Par défaut)>Tarifs/Durées>Tarif Démarrage>Montant", "275",
             nullptr},
            {Dev1 + "Fonctionnement type", "1", nullptr},
            {Dev2 + "Fonctionnement type", "7", nullptr},
            // The empty key touches no row without an Identifiant.
            {Dev2 + "Cumul Autorisé", "0", ""},
            {"Fonctionnement>Montant des Débit", "", ""},
            // What the reader reports (versions, clock) is not taken from a file.
            {"Version>logiciel", "", ""},
            {"Divers>Heure", "", ""},
        };
        for (const auto& r : rows) {
            QCOMPARE(Value(Row(r.path)), QString(r.value));
            if (r.mark)
                QCOMPARE(Row(r.path)->text(PARAM_COL_MODIFIE), QString(r.mark));
        }
        QCOMPARE(Row(Dev2 + "Cumul Autorisé")->text(PARAM_COL_VALEUR), QString());
    }

    // Found by fuzzing: a CR left at a value's end became a CR LF line end on the next save.
    void carriageReturnsEndTheLine()
    {
        const QString path = m_dir.filePath("cr.txt");
        QVERIFY(FileWrite(path, "3.0.1=abc\r\r\n3.0.3=a\rb\r\n3.0.5=5\r=6\n"));
        const QString paths[] = {Site, "Lecteur>Identification>Nom matériel",
                                 "Lecteur>Identification>Code Exploitant"};
        const QStringList expected{"abc", "a\rb", "5"};
        for (int round = 0; round < 2; ++round) {
            QVERIFY(ConfigFileLoad(&b->tree, path));
            QStringList values;
            for (const QString& p : paths)
                values << Value(Row(p));
            QCOMPARE(values, expected);
            QString error;
            QVERIFY(ConfigFileSave(&b->tree, path, &error));
            for (const QString& p : paths)
                Put(Row(p), "x");
        }
    }

    // Files of older versions are Latin-1; they load, and are saved as UTF-8.
    void encoding()
    {
        const QString path = m_dir.filePath("latin1.txt");
        QVERIFY(FileWrite(path, QString("3.0.1=Gare de Sète\r\n").toLatin1()));
        QVERIFY(ConfigFileLoad(&b->tree, path));
        QCOMPARE(Value(Row(Site)), QString("Gare de Sète"));
        QString error;
        QVERIFY(ConfigFileSave(&b->tree, path, &error));
        QVERIFY(FileBytes(path).contains(QString("3.0.1=Gare de Sète\n").toUtf8()));
        Put(Row(Site), QString());
        QVERIFY(ConfigFileLoad(&b->tree, path));
        QCOMPARE(Value(Row(Site)), QString("Gare de Sète"));
    }

    void failures()
    {
        QVERIFY(!ConfigFileLoad(&b->tree, m_dir.filePath("absent.txt")));
        QVERIFY(!ConfigFileLoad(&b->tree, QString()));
        // Under a plain file no folder can be made.
        QVERIFY(FileWrite(m_dir.filePath("plain"), ""));
        for (const QString& path : {m_dir.filePath("plain/x.txt"), QString()}) {
            QString error;
            QVERIFY(!ConfigFileSave(&b->tree, path, &error));
            QCOMPARE(error, QString("Impossible de créer le fichier"));
        }

        // A write that fails half-way leaves the previous file whole.
        const QString path = m_dir.filePath("keep.txt");
        QVERIFY(FileWrite(path, "3.0.1=ANCIEN\n"));
        bool saved = true;
        QString error;
        {
            FileSizeLimit limit(200);
            QVERIFY(limit.isActive());
            saved = ConfigFileSave(&b->tree, path, &error);
        }
        QVERIFY(!saved);
        QCOMPARE(error, QString("Impossible de créer le fichier"));
        QCOMPARE(FileBytes(path), QByteArray("3.0.1=ANCIEN\n"));
        QCOMPARE(QDir(m_dir.path()).entryList(QStringList{"keep.txt*"}, QDir::Files),
                 QStringList{"keep.txt"});
    }
};

QTEST_MAIN(TstConfigFile)
#include "tst_configfile.moc"
