#include "readerconfig/appsettings.h"

#include "readerconfig/readerconfiglog.h"
#include "readerconfig/treeeditors.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

QString AppsConfigReadString(const QTreeWidget* tree, const QString& key, const QString& defaultValue)
{
    if (tree) {
        QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree));
        for (; *it; ++it) {
            if ((*it)->text(APPS_CONFIG_COLUMN_KEY) == key) {
                const QString value = (*it)->text(APPS_CONFIG_COLUMN_VALUE);
                qCDebug(lcReaderConfig, "AppsConfigReadString %s", qUtf8Printable(value));
                return value;
            }
        }
    }
    qCDebug(lcReaderConfig, "AppsConfigReadString PAS TROUVE(%s)) => DEFAUT", qUtf8Printable(key));
    return defaultValue;
}

int AppsConfigReadInt(const QTreeWidget* tree, const QString& key, int defaultValue)
{
    bool ok = false;
    const int value = AppsConfigReadString(tree, key, QString::number(defaultValue)).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

void AppsConfigTreeSetUp(QTreeWidget* tree)
{
    for (int column = APPS_CONFIG_COLUMN_KEY; column < tree->columnCount(); ++column)
        tree->setColumnHidden(column, true);
    constexpr int NAME_WIDTH = 200;
    constexpr int VALUE_WIDTH = 150;
    tree->setColumnWidth(0, NAME_WIDTH);
    tree->setColumnWidth(APPS_CONFIG_COLUMN_VALUE, VALUE_WIDTH);
    tree->setAlternatingRowColors(true);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        TreeEditableSet(tree->topLevelItem(i), APPS_CONFIG_COLUMN_KEY);
    tree->expandAll();
}
