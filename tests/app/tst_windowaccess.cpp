#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "app/mainwindow.h"
#include "fakereader.h"
#include "filesizelimit.h"
#include "ptypair.h"
#include "transfer/commandchain.h"
#include "windowbench.h"

namespace {

// Answers the next message box with the given button; keeps "title / text" and whether No was the default.
void BoxAnswer(QObject* context, QString* seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, context, [seen, answer]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        *seen = box->windowTitle() + " / " + box->text() +
                (box->standardButton(box->defaultButton()) == QMessageBox::No ? " [No]" : "");
        box->button(answer)->click();
    });
}

bool Red(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::ButtonText) == QColor(Qt::red);
}

QStringList FileLines(const QString& path, const QString& prefix = QString())
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n').filter(QRegularExpression("^" + prefix));
}

} // namespace

// The "Zones et Groupes" and "Liste noire" tabs through the window's buttons:
// config.ini, listenoire.txt and the transfers against a scripted reader.
class TstWindowAccess : public QObject
{
    Q_OBJECT

private:
    TemporaryCurrentDir m_dir;

private slots:
    void init()
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE2=INSTALLED:YES;LABEL:Salle\n[GROUPS]\n"
                    "GROUP=ID:4;LABEL:Personnel;Z0:YES,1,0,0,20;Z2:YES,0,0,0,0;\n"
                    "GROUP=ID:9;LABEL:Visiteur;Z2:YES,0,0,0,0;\n");
    }

    // The editors' own rules are unit-tested; here, the window's wiring, config.ini and its boxes.
    void zonesAndGroups()
    {
        MainWindow window;
        BoxCatcher boxes;
        // A save that fails says so and keeps config.ini and the red mark.
        const auto failedSave = [&](QPushButton* save) {
            const QByteArray before = FileLines("config.ini").join('\n').toUtf8();
            {
                FileSizeLimit limit(16);
                QVERIFY(limit.isActive());
                save->click();
            }
            QCOMPARE(boxes.boxes.takeFirst(),
                     QStringLiteral("Erreur / Impossible d'enregistrer le fichier config.ini"));
            QVERIFY(Red(save));
            QCOMPARE(FileLines("config.ini").join('\n').toUtf8(), before);
        };
        auto* zonesSave = widget<QPushButton>(window, "BTN_ZonesSave");
        QCOMPARE(widget<QLineEdit>(window, "LE_Label0")->text(), QStringLiteral("Hall"));
        QVERIFY(!Red(zonesSave));
        // Unchecking disables the name at once; the rule grid follows on save.
        widget<QCheckBox>(window, "CB_Installed2")->click();
        QVERIFY(!widget<QLineEdit>(window, "LE_Label2")->isEnabled());
        QVERIFY(Red(zonesSave));
        widget<QCheckBox>(window, "CB_Installed5")->click();
        QTest::keyClicks(widget<QLineEdit>(window, "LE_Label5"), "Quai");
        zonesSave->click();
        QVERIFY(!Red(zonesSave));
        QVERIFY(!widget<QLabel>(window, "LAB_ZoneRule5")->isHidden());
        QCOMPARE(widget<QLabel>(window, "LAB_ZoneRule5")->text(), QStringLiteral("ZONE 6:\nQuai"));
        const QStringList zones = FileLines("config.ini", "ZONE\\d+=");
        QVERIFY(zones.contains("ZONE2=INSTALLED:NO;LABEL:Salle"));
        QVERIFY(zones.contains("ZONE5=INSTALLED:YES;LABEL:Quai"));
        widget<QCheckBox>(window, "CB_Installed5")->click();
        failedSave(zonesSave);

        auto* chooser = widget<QComboBox>(window, "CBOX_GroupList");
        auto* profiles = widget<QComboBox>(window, "COMBO_Profil");
        auto* number = widget<QLineEdit>(window, "LE_Group");
        auto* save = widget<QPushButton>(window, "BTN_GroupSave");
        QCOMPARE(number->text(), QStringLiteral("4"));
        // Showing another group is no edit; typing is.
        chooser->setCurrentIndex(1);
        QCOMPARE(number->text(), QStringLiteral("9"));
        QVERIFY(!Red(save));
        chooser->lineEdit()->selectAll();
        QTest::keyClicks(chooser->lineEdit(), "Visiteurs");
        QVERIFY(Red(save));
        save->click();
        QVERIFY(!Red(save));
        number->selectAll();
        QTest::keyClicks(number, "12");
        QVERIFY(Red(save));
        save->click();
        // A new group reaches config.ini and the badge tab only when saved.
        widget<QPushButton>(window, "BTN_GroupNew")->click();
        QCOMPARE(chooser->currentText(), QStringLiteral("Nouveau Group"));
        QCOMPARE(FileLines("config.ini", "GROUP=").size(), 2);
        save->click();
        const QStringList saved = FileLines("config.ini", "GROUP=");
        QCOMPARE(saved.size(), 3);
        QVERIFY(saved.at(1).startsWith("GROUP=ID:12;LABEL:Visiteurs;"));
        QVERIFY(saved.at(2).startsWith("GROUP=ID:0;LABEL:Nouveau Group;"));
        QCOMPARE(profiles->count(), 3);
        QCOMPARE(profiles->itemText(1), QStringLiteral("Visiteurs"));

        // Deleting asks first, "No" by default.
        chooser->setCurrentIndex(0);
        auto* remove = widget<QPushButton>(window, "BTN_GroupDelete");
        QString seen;
        BoxAnswer(this, &seen, QMessageBox::No);
        remove->click();
        QCOMPARE(seen,
                 QStringLiteral("Confirmation : / Voulez-vous supprimer ce profil définitivement ? [No]"));
        QCOMPARE(chooser->count(), 3);
        QCOMPARE(FileLines("config.ini", "GROUP="), saved);
        BoxAnswer(this, &seen, QMessageBox::Yes);
        remove->click();
        QCOMPARE(chooser->currentText(), QStringLiteral("Visiteurs"));
        QCOMPARE(FileLines("config.ini", "GROUP="), saved.mid(1));
        QCOMPARE(profiles->itemText(0), QStringLiteral("Visiteurs"));
        number->selectAll();
        QTest::keyClicks(number, "77");
        failedSave(save);
    }

    // The file and the transfers' contents are unit-tested and run end to end; here, the
    // buttons, the working folder, the progress bar and the refusal of a second transfer.
    void blacklist()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        reader.answerAlways('F', 'C', '0');
        reader.answerAlways('F', 'A', '0');
        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        auto* table = widget<QTableWidget>(window, "TABLE_BlackList");
        auto* status = widget<QLineEdit>(window, "SAI_BlackListStatus");
        auto* newRow = widget<QPushButton>(window, "BTN_BlackListNew");
        const QString before = QDate::currentDate().toString("dd/MM/yy");
        newRow->click();
        QCOMPARE(status->text(), QStringLiteral("Ligne insérée, saisir le numéro de goupe ou d'utilisateur"));
        const QString today = table->item(0, 0)->text();
        QVERIFY(today == before || today == QDate::currentDate().toString("dd/MM/yy"));
        table->item(0, 4)->setText("volé à Brême");
        newRow->click();
        table->setCurrentCell(1, 1);
        widget<QPushButton>(window, "BTN_BlackListDelete")->click();
        QCOMPARE(status->text(), QStringLiteral("Ligne supprimée"));
        QCOMPARE(table->rowCount(), 1);
        widget<QPushButton>(window, "BTN_BlackListWriteToFile")->click();
        QCOMPARE(status->text(), QStringLiteral("Enregistrement liste noire->OK"));
        const QString path = m_dir.filePath("listenoire.txt");
        QCOMPARE(FileLines(path), (QStringList{today + ";;;;volé à Brême;", ""}));
        newRow->click();
        widget<QPushButton>(window, "BTN_BlackListReadFromFile")->click();
        QCOMPARE(status->text(), QStringLiteral("Chargement liste noire->OK"));
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("volé à Brême"));
        QVERIFY(QFile::remove(path));
        widget<QPushButton>(window, "BTN_BlackListReadFromFile")->click();
        QCOMPARE(status->text(), QStringLiteral("Chargement liste noire->ECHEC"));
        QCOMPARE(table->rowCount(), 0);

        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        auto* bar = widget<QProgressBar>(window, "PROGRESS_BlackList");
        QVERIFY(bar->isHidden());
        widget<QPushButton>(window, "BTN_ZonesSendToReader")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Access Add->FIN"), 15000);
        QVERIFY(bar->isHidden());
        QCOMPARE(reader.requestTexts(),
                 (QStringList{"FC Fil=18", "FA Fil=18;Zid=0;Grp=0;Cpt=1;Apb=0",
                              "FA Fil=18;Zid=2;Grp=0;Cpt=0;Apb=0", "FA Fil=18;Zid=2;Grp=1;Cpt=0;Apb=0"}));

        newRow->click();
        table->item(0, 0)->setText("hier");
        widget<QPushButton>(window, "BTN_BlackListWriteToSupport")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 1);
        widget<QPushButton>(window, "BTN_BlackListReadFromReader")->click();
        QCOMPARE(status->text(), CommandChain::BusyText());
        QCOMPARE(table->rowCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("LN Add->FIN"), 15000);
        QVERIFY(bar->isHidden());
        QCOMPARE(reader.requestTexts().mid(4), (QStringList{"FC Fil=5", "FA Fil=5;Cda=;UID=;Usr=;Grp="}));
    }
};

QTEST_MAIN(TstWindowAccess)
#include "tst_windowaccess.moc"
