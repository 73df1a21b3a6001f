#ifndef PORTCOMBOBOX_H
#define PORTCOMBOBOX_H

#include <QComboBox>

// COMB_Serial: says when its list is about to open, so the list can be refilled
// with the ports present at that moment.
class PortComboBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        emit SIG_PopupAboutToShow();
        QComboBox::showPopup();
    }

signals:
    void SIG_PopupAboutToShow();
};

#endif // PORTCOMBOBOX_H
