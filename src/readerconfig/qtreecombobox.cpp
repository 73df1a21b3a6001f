#include "readerconfig/qtreecombobox.h"

#include "readerconfig/readerconfiglog.h"
#include <QTreeWidgetItem>

QTreeComboBox::QTreeComboBox(QWidget* parent, QTreeWidgetItem* item) : QComboBox(nullptr), Item(item)
{
    setParent(parent);
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &QTreeComboBox::ComboBoxCurrentIndexChanged);
}

void QTreeComboBox::ComboBoxCurrentIndexChanged(int Index)
{
    Item->setText(1, QString::number(Index));
    qCDebug(lcReaderConfig, "Value = %d", Index);
}
