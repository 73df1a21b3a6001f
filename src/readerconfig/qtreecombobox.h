#ifndef QTREECOMBOBOX_H
#define QTREECOMBOBOX_H

#include <QComboBox>

class QTreeWidgetItem;

// Drop-down list living in column 1 of a parameter-tree row; mirrors the
// current choice's index into that row's Valeur text.
class QTreeComboBox : public QComboBox
{
    Q_OBJECT

public:
    QTreeComboBox(QWidget* parent, QTreeWidgetItem* item);

    QTreeWidgetItem* Item; // not owned

public slots:
    void ComboBoxCurrentIndexChanged(int Index);
};

#endif // QTREECOMBOBOX_H
