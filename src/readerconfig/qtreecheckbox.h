#ifndef QTREECHECKBOX_H
#define QTREECHECKBOX_H

#include <QCheckBox>

class QTreeWidgetItem;

// Check box living in column 1 of a parameter-tree row; mirrors its state
// into that row's Valeur text ("1" / "0").
class QTreeCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    QTreeCheckBox(QWidget* parent, QTreeWidgetItem* item);

    QTreeWidgetItem* Item; // not owned

public slots:
    void CheckBoxStateChanged(int state);
};

#endif // QTREECHECKBOX_H
