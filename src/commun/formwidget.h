#ifndef FORMWIDGET_H
#define FORMWIDGET_H

#include <QObject>
#include <QString>

// A widget or layout of the form by object name; a missing one is a fault of
// the form, not of the operator, so it stops the program at once.
template <typename T> T* FormWidget(const QObject* form, const char* name)
{
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("Form has no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

#endif // FORMWIDGET_H
