#include "readerconfig/treeeditors.h"

#include "readerconfig/parametercatalogue.h"
#include "readerconfig/qtreecheckbox.h"
#include "readerconfig/qtreecombobox.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

void TreeEditableSet(QTreeWidgetItem* item, quint8 column)
{
    if (!item->text(column).isEmpty())
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    for (int i = 0; i < item->childCount(); ++i)
        TreeEditableSet(item->child(i), column);
}

void TreeEditorsCreate(QTreeWidgetItem* item, quint8 widgetColumn, quint8 editorColumn)
{
    QTreeWidget* tree = item->treeWidget();
    const QString kind = item->text(widgetColumn);
    if (kind == QLatin1String(PARAM_WIDGET_CHECKBOX)) {
        tree->setItemWidget(item, editorColumn, new QTreeCheckBox(tree, item));
    } else if (kind == QLatin1String(PARAM_WIDGET_COMBOBOX)) {
        auto* combo = new QTreeComboBox(tree, item);
        // Filling the empty list makes its first choice current, which writes "0" into the row.
        combo->addItems(item->text(PARAM_COL_WIDGET_ARGUMENTS).split(QLatin1Char(';')));
        tree->setItemWidget(item, editorColumn, combo);
    }
    for (int i = 0; i < item->childCount(); ++i)
        TreeEditorsCreate(item->child(i), widgetColumn, editorColumn);
}

QString TreeItemValue(bool fromWidget, QTreeWidget* tree, QTreeWidgetItem* item, QString value,
                      quint8 widgetColumn, quint8 valueColumn)
{
    const QString kind = item->text(widgetColumn);
    QWidget* editor = tree->itemWidget(item, valueColumn);

    if (kind == QLatin1String(PARAM_WIDGET_CHECKBOX)) {
        if (auto* box = qobject_cast<QCheckBox*>(editor)) {
            if (!fromWidget) {
                box->setChecked(value != QLatin1String("0"));
                item->setText(valueColumn, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
                return QString();
            }
            return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        }
    } else if (kind == QLatin1String(PARAM_WIDGET_COMBOBOX)) {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (!fromWidget) {
                bool ok = false;
                const int index = value.toInt(&ok, 10);
                if (ok && index >= 0 && index < combo->count())
                    combo->setCurrentIndex(index);
                item->setText(valueColumn, QString::number(combo->currentIndex()));
                return QString();
            }
            return QString::number(combo->currentIndex());
        }
    }

    if (!fromWidget) {
        item->setText(valueColumn, value);
        return QString();
    }
    return item->text(valueColumn);
}

void TreeValuesFromWidgets(QTreeWidget* tree, QTreeWidgetItem* item, quint8 widgetColumn, quint8 valueColumn)
{
    item->setText(valueColumn, TreeItemValue(true, tree, item, QString(), widgetColumn, valueColumn));
    for (int i = 0; i < item->childCount(); ++i)
        TreeValuesFromWidgets(tree, item->child(i), widgetColumn, valueColumn);
}
