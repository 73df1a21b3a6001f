// Badge records as the reader sends them, shown on the badge form; then the record the form
// builds, shown and built again, must settle: the program's own record reads back as itself.

#include "fuzzsupport.h"

#include "access/groups.h"
#include "badge/badgetab.h"
#include "commun/textdecode.h"
#include "link/readerlink.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>

namespace {

// The display and build never talk to the reader.
class NoLink : public ReaderLink
{
public:
    bool IsFree() const override { return true; }
    bool Connected() const override { return false; }
    unsigned char CmdRequest(char, char, const QString&, unsigned int, unsigned int) override { return 0; }
    unsigned char CmdRequestQueued(char, char, const QString&, unsigned int, unsigned int) override
    {
        return 0;
    }
    unsigned char CmdAnswer(bool*, char*, QString*) override { return 0; }
    void PollingSet(bool) override {}
};

struct Form
{
    Form()
    {
        ui.setupUi(&window);
        for (int zone = 0; zone < ZONE_COUNT; ++zone) {
            zones[zone].Installed = true;
            zones[zone].Label = QStringLiteral("Z%1").arg(zone);
        }
        // Counters shared by two zones, an unlimited zone, a refused one, and a counter number
        // past the rows.
        CGROUP* first = GroupAdd(&groups, QStringLiteral("Personnel"), 10);
        first->Rules[0] = rule(true, 2, 5);
        first->Rules[3] = rule(true, 2, 7);
        first->Rules[5] = rule(true, 0, 0);
        first->Rules[6] = rule(false, 1, 0);
        first->Rules[7] = rule(true, COUNTER_ROW_COUNT + 1, 1);
        CGROUP* second = GroupAdd(&groups, QStringLiteral("Visiteur"), 20);
        second->Rules[1] = rule(true, 1, 3);
        second->Rules[ZONE_COUNT - 1] = rule(true, COUNTER_ROW_COUNT, 9);
        GroupListFill(&groups, ui.COMBO_Profil);
        tab = new BadgeTab(&window, link, ui.TREE_AppsConfig, zones, &groups);
    }
    static CZONE_RULE rule(bool access, quint8 counter, quint8 defaultValue)
    {
        CZONE_RULE r;
        r.Access = access;
        r.Counter = counter;
        r.Default = defaultValue;
        return r;
    }
    QString shownAndBuilt(const QString& record)
    {
        tab->BadgeFormClear();
        // What BadgeFormClear leaves, so that a run never depends on the one before.
        ui.SAI_Remise->clear();
        ui.SAI_UID->clear();
        ui.COMBO_BadgeType->setCurrentIndex(0);
        ui.COMBO_Profil->setCurrentIndex(0);
        tab->BadgeRecordDisplay(record);
        QString built;
        FUZZ_CHECK(tab->BadgeRecordBuild(built));
        return built;
    }

    QMainWindow window;
    Ui::MainWindow ui;
    NoLink link;
    CZONE zones[ZONE_COUNT];
    QList<CGROUP*> groups;
    BadgeTab* tab = nullptr;
};

Form* form = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::quietMessages();
    qputenv("QT_QPA_PLATFORM", "minimal");
    new QApplication(*argc, *argv);
    form = new Form;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString record = DecodeText(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    const QString first = form->shownAndBuilt(record);
    const QString second = form->shownAndBuilt(first);
    const QString third = form->shownAndBuilt(second);
    if (third != second)
        std::fprintf(stderr, "  %s\n  %s\n", qUtf8Printable(second), qUtf8Printable(third));
    FUZZ_CHECK(third == second);
    return 0;
}
