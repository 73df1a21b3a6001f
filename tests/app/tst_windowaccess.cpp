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
#include "commun/commandchain.h"
#include "fakereader.h"
#include "filesizelimit.h"
#include "ptypair.h"
#include "windowbench.h"

namespace {

// What the next message box showed; it is answered with the given button.
struct BoxSeen
{
    QString title;
    QString text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool shown = false;
};

void BoxAnswer(QObject* context, BoxSeen* seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, context, [seen, answer]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->defaultButton = box->standardButton(box->defaultButton());
        box->button(answer)->click();
    });
}

QColor ButtonTextColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::ButtonText);
}

QStringList FileLines(const QString& path, const QString& prefix)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QRegularExpression("\r?\n"));
    return prefix.isEmpty() ? lines : lines.filter(QRegularExpression("^" + prefix));
}

QStringList FilePayloads(const QList<ReaderRequest>& requests)
{
    QStringList payloads;
    for (const ReaderRequest& request : requests) {
        if (request.letter == 'F')
            payloads << QString(request.letter) + request.subLetter + ' ' +
                            QString::fromUtf8(request.payload);
    }
    return payloads;
}

QStringList RowTexts(const QTableWidget* table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return cells;
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

    void zonesGrid()
    {
        MainWindow window;
        auto* save = widget<QPushButton>(window, "BTN_ZonesSave");
        QVERIFY(widget<QCheckBox>(window, "CB_Installed0")->isChecked());
        QVERIFY(!widget<QCheckBox>(window, "CB_Installed1")->isChecked());
        QCOMPARE(widget<QLineEdit>(window, "LE_Label0")->text(), QStringLiteral("Hall"));
        QVERIFY(!widget<QLineEdit>(window, "LE_Label1")->isEnabled());
        QCOMPARE(widget<QLabel>(window, "LAB_Zone4")->text(), QStringLiteral("ZONE 5:"));
        QVERIFY(!widget<QLineEdit>(window, "LE_Counter0")->isHidden());
        QVERIFY(widget<QLineEdit>(window, "LE_Counter1")->isHidden());
        QVERIFY(ButtonTextColor(save) != QColor(Qt::red));

        // Unchecking disables the name at once; the rule column goes only on save.
        widget<QCheckBox>(window, "CB_Installed2")->click();
        QVERIFY(!widget<QLineEdit>(window, "LE_Label2")->isEnabled());
        QCOMPARE(ButtonTextColor(save), QColor(Qt::red));
        QVERIFY(!widget<QLineEdit>(window, "LE_Counter2")->isHidden());
        widget<QCheckBox>(window, "CB_Installed5")->click();
        auto* quai = widget<QLineEdit>(window, "LE_Label5");
        QVERIFY(quai->isEnabled());
        QTest::keyClicks(quai, "Quai");

        save->click();
        QCOMPARE(ButtonTextColor(save), QColor(Qt::black));
        QVERIFY(widget<QLineEdit>(window, "LE_Counter2")->isHidden());
        QVERIFY(!widget<QLineEdit>(window, "LE_AntiPassback5")->isHidden());
        QCOMPARE(widget<QLabel>(window, "LAB_ZoneRule5")->text(), QStringLiteral("ZONE 6:\nQuai"));
        const QStringList zones = FileLines("config.ini", "ZONE\\d+=");
        QCOMPARE(zones.size(), 12);
        QVERIFY(zones.contains("ZONE2=INSTALLED:NO;LABEL:Salle"));
        QVERIFY(zones.contains("ZONE5=INSTALLED:YES;LABEL:Quai"));
        QCOMPARE(FileLines("config.ini", "GROUP=").size(), 2);

        // A save that fails says so and keeps the file and the red mark.
        widget<QCheckBox>(window, "CB_Installed5")->click();
        BoxSeen seen;
        {
            FileSizeLimit limit(16);
            QVERIFY(limit.isActive());
            BoxAnswer(this, &seen, QMessageBox::Ok);
            save->click();
        }
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Erreur"));
        QVERIFY2(seen.text.contains("config.ini"), qPrintable(seen.text));
        QCOMPARE(ButtonTextColor(save), QColor(Qt::red));
        QVERIFY(FileLines("config.ini", "ZONE\\d+=").contains("ZONE5=INSTALLED:YES;LABEL:Quai"));
    }

    void groups()
    {
        MainWindow window;
        auto* chooser = widget<QComboBox>(window, "CBOX_GroupList");
        auto* profiles = widget<QComboBox>(window, "COMBO_Profil");
        auto* number = widget<QLineEdit>(window, "LE_Group");
        auto* save = widget<QPushButton>(window, "BTN_GroupSave");
        QCOMPARE(chooser->count(), 2);
        QCOMPARE(chooser->currentIndex(), 0);
        QCOMPARE(profiles->count(), 2);
        QCOMPARE(profiles->currentIndex(), 0);
        QCOMPARE(number->text(), QStringLiteral("4"));
        QCOMPARE(widget<QLineEdit>(window, "LE_DefaultValue0")->text(), QStringLiteral("20"));
        QVERIFY(ButtonTextColor(save) != QColor(Qt::red));

        // Showing another group is no edit; typing is.
        chooser->setCurrentIndex(1);
        QCOMPARE(number->text(), QStringLiteral("9"));
        QCOMPARE(widget<QLineEdit>(window, "LE_DefaultValue0")->text(), QStringLiteral("0"));
        QVERIFY(ButtonTextColor(save) != QColor(Qt::red));
        number->selectAll();
        QTest::keyClicks(number, "12");
        QCOMPARE(ButtonTextColor(save), QColor(Qt::red));
        save->click();
        QCOMPARE(ButtonTextColor(save), QColor(Qt::black));
        QCOMPARE(chooser->currentIndex(), 1);
        QVERIFY(FileLines("config.ini", "GROUP=").at(1).startsWith("GROUP=ID:12;LABEL:Visiteur;"));
        chooser->lineEdit()->selectAll();
        QTest::keyClicks(chooser->lineEdit(), "Visiteurs");
        QCOMPARE(ButtonTextColor(save), QColor(Qt::red));
        save->click();

        // A new group reaches config.ini and the badge tab only when saved.
        widget<QPushButton>(window, "BTN_GroupNew")->click();
        QCOMPARE(chooser->count(), 3);
        QCOMPARE(chooser->currentIndex(), 2);
        QCOMPARE(chooser->currentText(), QStringLiteral("Nouveau Group"));
        QCOMPARE(number->text(), QStringLiteral("0"));
        QCOMPARE(ButtonTextColor(save), QColor(Qt::red));
        QCOMPARE(FileLines("config.ini", "GROUP=").size(), 2);
        chooser->lineEdit()->selectAll();
        QTest::keyClicks(chooser->lineEdit(), "Livreurs");
        save->click();
        QStringList saved = FileLines("config.ini", "GROUP=");
        QCOMPARE(saved.size(), 3);
        QVERIFY(saved.at(1).startsWith("GROUP=ID:12;LABEL:Visiteurs;"));
        QVERIFY(saved.at(2).startsWith("GROUP=ID:0;LABEL:Livreurs;"));
        QCOMPARE(profiles->count(), 3);
        QCOMPARE(profiles->itemText(1), QStringLiteral("Visiteurs"));
        QCOMPARE(profiles->itemText(2), QStringLiteral("Livreurs"));

        // Deleting asks first.
        chooser->setCurrentIndex(0);
        auto* remove = widget<QPushButton>(window, "BTN_GroupDelete");
        BoxSeen seen;
        BoxAnswer(this, &seen, QMessageBox::No);
        remove->click();
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Confirmation :"));
        QCOMPARE(seen.text, QStringLiteral("Voulez-vous supprimer ce profil définitivement ?"));
        QCOMPARE(seen.defaultButton, QMessageBox::No);
        QCOMPARE(chooser->count(), 3);
        QCOMPARE(FileLines("config.ini", "GROUP="), saved);

        seen = BoxSeen();
        BoxAnswer(this, &seen, QMessageBox::Yes);
        remove->click();
        QVERIFY(seen.shown);
        QCOMPARE(chooser->count(), 2);
        QCOMPARE(chooser->currentIndex(), 0);
        QCOMPARE(chooser->currentText(), QStringLiteral("Visiteurs"));
        QCOMPARE(number->text(), QStringLiteral("12"));
        QCOMPARE(FileLines("config.ini", "GROUP="), saved.mid(1));
        QCOMPARE(profiles->count(), 2);
        QCOMPARE(profiles->itemText(0), QStringLiteral("Visiteurs"));

        // A failed save is reported and leaves config.ini whole.
        number->selectAll();
        QTest::keyClicks(number, "77");
        seen = BoxSeen();
        {
            FileSizeLimit limit(16);
            QVERIFY(limit.isActive());
            BoxAnswer(this, &seen, QMessageBox::Ok);
            save->click();
        }
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Erreur"));
        QCOMPARE(ButtonTextColor(save), QColor(Qt::red));
        QCOMPARE(FileLines("config.ini", "GROUP="), saved.mid(1));
    }

    void blacklistFile()
    {
        MainWindow window;
        auto* table = widget<QTableWidget>(window, "TABLE_BlackList");
        auto* status = widget<QLineEdit>(window, "SAI_BlackListStatus");
        auto* newRow = widget<QPushButton>(window, "BTN_BlackListNew");
        const QString before = QDate::currentDate().toString("dd/MM/yy");
        newRow->click();
        newRow->click();
        const QString after = QDate::currentDate().toString("dd/MM/yy");
        QCOMPARE(status->text(), QStringLiteral("Ligne insérée, saisir le numéro de goupe ou d'utilisateur"));
        QCOMPARE(table->rowCount(), 2);
        const QString today = table->item(1, 0)->text();
        QVERIFY(today == before || today == after);
        const QStringList first{"04/12/26", "04A1B2C3", "125", "3", "perdu"};
        const QStringList second{today, "0A0B0C0D", "", "7", "volé à Brême"};
        for (int column = 0; column < 5; ++column) {
            table->item(0, column)->setText(first.at(column));
            table->item(1, column)->setText(second.at(column));
        }

        auto* remove = widget<QPushButton>(window, "BTN_BlackListDelete");
        table->clearSelection();
        remove->click();
        QCOMPARE(status->text(), QStringLiteral("sélectionnez une ligne auparavant"));
        QCOMPARE(table->rowCount(), 2);
        newRow->click();
        table->setCurrentCell(2, 1);
        remove->click();
        QCOMPARE(status->text(), QStringLiteral("Ligne supprimée"));
        QCOMPARE(table->rowCount(), 2);

        widget<QPushButton>(window, "BTN_BlackListWriteToFile")->click();
        QCOMPARE(status->text(), QStringLiteral("Enregistrement liste noire->OK"));
        const QString path = QDir(m_dir.path()).filePath("listenoire.txt");
        QCOMPARE(FileLines(path, QString()),
                 (QStringList{"04/12/26;04A1B2C3;125;3;perdu;", today + ";0A0B0C0D;;7;volé à Brême;", ""}));

        newRow->click();
        widget<QPushButton>(window, "BTN_BlackListReadFromFile")->click();
        QCOMPARE(status->text(), QStringLiteral("Chargement liste noire->OK"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(RowTexts(table, 0), first);
        QCOMPARE(RowTexts(table, 1), second);

        QVERIFY(QFile::remove(path));
        widget<QPushButton>(window, "BTN_BlackListReadFromFile")->click();
        QCOMPARE(status->text(), QStringLiteral("Chargement liste noire->ECHEC"));
        QCOMPARE(table->rowCount(), 0);
    }

    void transfers()
    {
        writeConfig("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\nZONE2=INSTALLED:YES;LABEL:Salle\n"
                    "ZONE11=INSTALLED:YES;LABEL:Toit\n[GROUPS]\n"
                    "GROUP=ID:0;LABEL:Personnel;Z2:YES,3,1,0,0;Z5:NO,4,0,0,0;Z11:YES,0,0,0,0;\n"
                    "GROUP=ID:1;LABEL:Visiteur;Z0:YES,1,0,0,5;\n");
        PtyPair pty;
        QVERIFY(pty.isValid());
        FakeReader reader(pty);
        const QList<QByteArray> accessFile{"Zid=2;Grp=0;Cpt=3;Apb=1", "Zid=0;Grp=1;Cpt=1"};
        const QList<QByteArray> blacklistFile{"Cda=261204;UID=04A1B2C3;Usr=125;Grp=3", "Cda=;UID=0A0B;Grp=4"};
        reader.setHandler([accessFile, blacklistFile](const ReaderRequest& request) {
            if (request.letter != 'F')
                return FakeReader::frame(request.letter, '0', "00000000");
            if (request.subLetter != 'G')
                return FakeReader::frame('F', '0');
            const QList<QByteArray>& file =
                request.payload.startsWith("Fil=18;") ? accessFile : blacklistFile;
            const int position = request.payload.mid(request.payload.indexOf("Pos=") + 4).toInt();
            return position < file.size() ? FakeReader::frame('F', '0', file.at(position))
                                          : FakeReader::frame('F', '1');
        });

        MainWindow window;
        QVERIFY(WindowLinkSettle(window));
        QVERIFY(WindowLinkOpen(window, pty.slavePath()));
        auto* status = widget<QLineEdit>(window, "SAI_BlackListStatus");
        auto* bar = widget<QProgressBar>(window, "PROGRESS_BlackList");
        auto* table = widget<QTableWidget>(window, "TABLE_BlackList");
        QVERIFY(bar->isHidden());

        // Access upload: group order, then zone order.
        widget<QPushButton>(window, "BTN_ZonesSendToReader")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Access Add->FIN"), 15000);
        QVERIFY(bar->isHidden());
        QCOMPARE(FilePayloads(reader.requests()),
                 (QStringList{"FC Fil=18", "FA Fil=18;Zid=2;Grp=0;Cpt=3;Apb=1",
                              "FA Fil=18;Zid=11;Grp=0;Cpt=0;Apb=0", "FA Fil=18;Zid=0;Grp=1;Cpt=1;Apb=0"}));

        // Access read-back into the blacklist table.
        int asked = reader.requestCount();
        widget<QPushButton>(window, "BTN_BlackListReadFromReader")->click();
        QVERIFY(!bar->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Access Add->FIN"), 15000);
        QVERIFY(bar->isHidden());
        QCOMPARE(FilePayloads(reader.requests().mid(asked)),
                 (QStringList{"FG Fil=18;Pos=0", "FG Fil=18;Pos=1", "FG Fil=18;Pos=2"}));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(RowTexts(table, 0), (QStringList{"", "1", "2", "0", "3"}));
        QCOMPARE(RowTexts(table, 1), (QStringList{"", "", "0", "1", "1"}));

        // Blacklist upload; a second transfer asked for meanwhile is refused.
        auto* newRow = widget<QPushButton>(window, "BTN_BlackListNew");
        table->setRowCount(0);
        for (const QStringList& cells : {QStringList{"31/12/25", "04A1B2C3", "125", "3", "perdu"},
                                         QStringList{"hier", "0A0B", "", "2", "volé"}}) {
            newRow->click();
            for (int column = 0; column < 5; ++column)
                table->item(table->rowCount() - 1, column)->setText(cells.at(column));
        }
        asked = reader.requestCount();
        widget<QPushButton>(window, "BTN_BlackListWriteToSupport")->click();
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->maximum(), 2);
        widget<QPushButton>(window, "BTN_BlackListReadFromReader")->click();
        QCOMPARE(status->text(), CommandChain::BusyText());
        QCOMPARE(table->rowCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("LN Add->FIN"), 15000);
        QVERIFY(bar->isHidden());
        QCOMPARE(FilePayloads(reader.requests().mid(asked)),
                 (QStringList{"FC Fil=5", "FA Fil=5;Cda=251231;UID=04A1B2C3;Usr=125;Grp=3",
                              "FA Fil=5;Cda=;UID=0A0B;Usr=;Grp=2"}));

        // Blacklist read-back: only the user and group come back.
        asked = reader.requestCount();
        widget<QPushButton>(window, "BTN_BlackListReadFromSupport")->click();
        QVERIFY(!bar->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("LN Add->FIN"), 15000);
        QVERIFY(bar->isHidden());
        QCOMPARE(FilePayloads(reader.requests().mid(asked)),
                 (QStringList{"FG Fil=5;Pos=0", "FG Fil=5;Pos=1", "FG Fil=5;Pos=2"}));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(RowTexts(table, 0), (QStringList{"", "", "125", "3", ""}));
        QCOMPARE(RowTexts(table, 1), (QStringList{"", "", "", "4", ""}));
    }
};

QTEST_MAIN(TstWindowAccess)
#include "tst_windowaccess.moc"
