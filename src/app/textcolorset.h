#ifndef TEXTCOLORSET_H
#define TEXTCOLORSET_H

#include <Qt>

class QWidget;

// Gives widget a default palette whose text and button text are color in
// every colour group (connection state, unsaved-edit marking).
void TextColorSet(Qt::GlobalColor color, QWidget* widget);

#endif // TEXTCOLORSET_H
