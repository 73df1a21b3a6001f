#ifndef TREEEDITORS_H
#define TREEEDITORS_H

#include <QString>
#include <QtGlobal>

class QTreeWidget;
class QTreeWidgetItem;

// Stateless helpers for trees whose rows carry an editor kind in one column
// ("10" check box, "20" drop-down list, anything else plain text).

// Makes `item` editable when its text in `column` is not empty; recurses into the children.
void TreeEditableSet(QTreeWidgetItem* item, quint8 column);

// Creates the editor the row's widget code asks for in `editorColumn`; recurses.
void TreeEditorsCreate(QTreeWidgetItem* item, quint8 widgetColumn, quint8 editorColumn);

// fromWidget false: puts `value` into the row (its editor, or its text) and returns "".
// fromWidget true: returns the row's value as its editor shows it; `value` is ignored.
// Putting into a check box or a list also leaves the row's text in `valueColumn`
// equal to what the editor shows, so that the text never lags behind the editor.
QString TreeItemValue(bool fromWidget, QTreeWidget* tree, QTreeWidgetItem* item, QString value,
                      quint8 widgetColumn, quint8 valueColumn);

// Copies every editor's value into its row's `valueColumn`, for `item` and all below it.
void TreeValuesFromWidgets(QTreeWidget* tree, QTreeWidgetItem* item, quint8 widgetColumn, quint8 valueColumn);

#endif // TREEEDITORS_H
