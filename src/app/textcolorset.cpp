#include "app/textcolorset.h"

#include <QBrush>
#include <QPalette>
#include <QWidget>

void TextColorSet(Qt::GlobalColor color, QWidget* widget)
{
    QPalette palette;
    const QBrush brush(color, Qt::SolidPattern);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setBrush(group, QPalette::Text, brush);
        palette.setBrush(group, QPalette::ButtonText, brush);
    }
    widget->setPalette(palette);
}
