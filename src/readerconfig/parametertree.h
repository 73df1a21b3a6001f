#ifndef PARAMETERTREE_H
#define PARAMETERTREE_H

#include <QList>
#include <QString>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// State and behaviour of the reader's parameter tree ("Lecteur" tab). The
// window keeps one and forwards its tree slots to it.
class ParameterTree
{
public:
    ParameterTree(QTreeWidget* tree, QLineEdit* status);

    // Fills the catalogue, hides columns 2+, sets widths and looks, marks the
    // parameter rows editable and creates the editors.
    void Setup();

    // The tree's itemChanged: marks an operator's change of a Valeur cell.
    void ItemChanged(QTreeWidgetItem* item, int column);

    // "Afficher Toutes les colonnes".
    void ShowAllColumns();

    // Every row whose Identifiant contains ".", in tree order (each row before its children).
    QList<QTreeWidgetItem*> ParameterRows() const;

    // Every row whose Identifiant is exactly `id` (never matches rows without one).
    QList<QTreeWidgetItem*> RowsWithIdentifiant(const QString& id) const;

    QTreeWidget* Tree() const { return m_tree; }
    QLineEdit* Status() const { return m_status; }

    // While set, changes of Valeur are not marked; cleared only by a complete read.
    bool TreeLoading = true;
    // Sequence number of the last marked change.
    unsigned int ModifCounter = 0;

private:
    QTreeWidget* m_tree;
    QLineEdit* m_status;
};

#endif // PARAMETERTREE_H
