#include "readerconfig/configfile.h"

#include "commun/atomicsave.h"
#include "commun/textdecode.h"
#include "readerconfig/parametercatalogue.h"
#include "readerconfig/readerconfiglog.h"
#include "readerconfig/treeeditors.h"

#include <QCoreApplication>
#include <QFile>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

#ifdef Q_OS_WIN
const char LineEnd[] = "\r\n";
#else
const char LineEnd[] = "\n";
#endif

// A value saved with a carriage return at its end would read back without it (the CR of a
// CR LF end goes): so none is kept, whether it came before the line end (CR CR LF, a CR LF file
// converted once more) or before a second "=".
QString ChopCarriageReturns(QString text)
{
    while (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

} // namespace

void ConfigFileSaveItem(QByteArray* out, QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QString id = item->text(PARAM_COL_IDENTIFIANT);
    if (!id.isEmpty()) {
        const QString value = TreeItemValue(true, tree, item, QString(), PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        const QByteArray line = (id + QLatin1Char('=') + value).toUtf8();
        qCDebug(lcReaderConfig, "%s", line.constData());
        out->append(line);
        out->append(LineEnd);
    }
    for (int i = 0; i < item->childCount(); ++i)
        ConfigFileSaveItem(out, tree, item->child(i));
}

QByteArray ConfigFileContent(QTreeWidget* tree)
{
    QByteArray content;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        ConfigFileSaveItem(&content, tree, tree->topLevelItem(i));
    return content;
}

bool ConfigFileSave(QTreeWidget* tree, const QString& path, QString* error)
{
    if (SaveFileAtomic(path, ConfigFileContent(tree)))
        return true;
    *error = QCoreApplication::translate("ConfigFile", "Impossible de créer le fichier");
    return false;
}

void ConfigFileApply(QTreeWidget* tree, const QByteArray& content)
{
    const QList<QByteArray> rawLines = content.split('\n');
    for (int i = 0; i < rawLines.size(); ++i) {
        // Line by line: one line of an older version in Latin-1 must not turn the UTF-8
        // lines around it into mojibake, which would then be marked and sent.
        const QString line = DecodeText(rawLines.at(i), i == 0);
        // A line without "=" is a hand-editing slip, not an empty value: taken as one, it
        // would blank the row and the next write would send the blank to the reader.
        if (!line.contains(QLatin1Char('=')))
            continue;
        const QString key = ChopCarriageReturns(line.section(QLatin1Char('='), 0, 0));
        // The empty key would match the rows that have no Identifiant.
        if (key.isEmpty())
            continue;
        const QString value = ChopCarriageReturns(line.section(QLatin1Char('='), 1, 1));
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            // Attribut "1" rows (versions, clock) are what the reader reports, and it refuses
            // to have them written: taken from another reader's file, they would be marked
            // and the next write would stop at the first of them.
            if ((*it)->text(PARAM_COL_IDENTIFIANT) == key &&
                (*it)->text(PARAM_COL_ATTRIBUT) != QLatin1String("1"))
                TreeItemValue(false, tree, *it, value, PARAM_COL_WIDGET, PARAM_COL_VALEUR);
        }
    }
}

bool ConfigFileLoad(QTreeWidget* tree, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.readAll();
    file.close();
    ConfigFileApply(tree, content);
    return true;
}
