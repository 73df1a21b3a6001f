#ifndef APPSETTINGS_H
#define APPSETTINGS_H

#include <QString>

class QTreeWidget;

// The program's own settings live only in the settings tree (column 2 the key,
// column 1 the value); they start from the form's values at every start.
constexpr int APPS_CONFIG_COLUMN_VALUE = 1;
constexpr int APPS_CONFIG_COLUMN_KEY = 2;

// Value of the first row (tree order, all levels) whose key is key, even when
// empty; defaultValue when no row has that key.
QString AppsConfigReadString(const QTreeWidget* tree, const QString& key, const QString& defaultValue);
// The same value read as a decimal integer; defaultValue when missing or not a number.
int AppsConfigReadInt(const QTreeWidget* tree, const QString& key, int defaultValue);

// Hides the key column, sizes the visible ones and makes every keyed row editable.
void AppsConfigTreeSetUp(QTreeWidget* tree);

#endif // APPSETTINGS_H
