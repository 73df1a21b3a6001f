// Configuration files loaded into the reader's parameter tree: what is saved after a load loads
// back, into a fresh tree, as the same values, and saves as the same lines.

#include "fuzzsupport.h"

#include "readerconfig/configfile.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/parametertree.h"
#include "readerconfig/treeeditors.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

struct Tree
{
    Tree() : params(&tree, &status)
    {
        params.Setup();
        defaults = ConfigFileContent(&tree);
    }
    // Back to the catalogue's values: every row the files can change is in the defaults.
    void reset() { ConfigFileApply(&tree, defaults); }
    QStringList values()
    {
        QStringList all;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
            if (!(*it)->text(PARAM_COL_IDENTIFIANT).isEmpty())
                all.append(TreeItemValue(true, &tree, *it, QString(), PARAM_COL_WIDGET, PARAM_COL_VALEUR));
        }
        return all;
    }

    QTreeWidget tree;
    QLineEdit status;
    ParameterTree params;
    QByteArray defaults;
};

Tree* loaded = nullptr;
Tree* reloaded = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::quietMessages();
    qputenv("QT_QPA_PLATFORM", "minimal");
    new QApplication(*argc, *argv);
    loaded = new Tree;
    reloaded = new Tree;
    FuzzSupport::workDirPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString path = FuzzSupport::workDirPath() + QStringLiteral("/reader.cfg");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    loaded->reset();
    FUZZ_CHECK(ConfigFileLoad(&loaded->tree, path));
    const QStringList values = loaded->values();
    QString error;
    FUZZ_CHECK(ConfigFileSave(&loaded->tree, path, &error));

    reloaded->reset();
    FUZZ_CHECK(ConfigFileLoad(&reloaded->tree, path));
    const QStringList again = reloaded->values();
    if (again != values) {
        for (int i = 0; i < qMin(values.size(), again.size()); ++i) {
            if (values.at(i) != again.at(i))
                std::fprintf(stderr, "  row %d: %s -> %s\n", i, values.at(i).toUtf8().toPercentEncoding().constData(),
                             again.at(i).toUtf8().toPercentEncoding().constData());
        }
    }
    FUZZ_CHECK(again == values);
    FUZZ_CHECK(ConfigFileContent(&reloaded->tree) == ConfigFileContent(&loaded->tree));
    return 0;
}
