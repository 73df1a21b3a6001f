#ifndef PARAMETERCATALOGUE_H
#define PARAMETERCATALOGUE_H

#include <QStringList>

class QTreeWidget;

// Columns of the parameter tree.
enum ParameterColumn : int
{
    PARAM_COL_DESIGNATION = 0,
    PARAM_COL_VALEUR = 1,
    PARAM_COL_SAVE = 2,
    PARAM_COL_IDENTIFIANT = 3,
    PARAM_COL_MODIFIE = 4,
    PARAM_COL_MASK = 5,
    PARAM_COL_MAX = 6,
    PARAM_COL_WIDGET = 7,
    PARAM_COL_WIDGET_ARGUMENTS = 8,
    PARAM_COL_ATTRIBUT = 9,
    PARAM_COL_VERSION = 10,
    PARAM_COL_COUNT = 11,
};

// Widget codes that select an in-cell editor; any other code is a plain text cell.
inline const char* const PARAM_WIDGET_CHECKBOX = "10";
inline const char* const PARAM_WIDGET_COMBOBOX = "20";

// The eleven header texts, in column order.
QStringList ParameterCatalogueHeaders();

// Replaces the tree's rows with the fixed catalogue of the reader's parameters
// (193 rows in 9 top-level groups). Gives the tree 11 columns if it has fewer.
void ParameterCatalogueFill(QTreeWidget* tree);

#endif // PARAMETERCATALOGUE_H
