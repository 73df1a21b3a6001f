#include "readerconfig/qtreecheckbox.h"

#include <QTreeWidgetItem>

QTreeCheckBox::QTreeCheckBox(QWidget* parent, QTreeWidgetItem* item) : QCheckBox(nullptr), Item(item)
{
    setParent(parent);
    setTristate(false);
    connect(this, &QCheckBox::stateChanged, this, &QTreeCheckBox::CheckBoxStateChanged);
}

void QTreeCheckBox::CheckBoxStateChanged(int state)
{
    Item->setText(1, state != 0 ? QStringLiteral("1") : QStringLiteral("0"));
}
