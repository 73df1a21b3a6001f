#include "transfer/chainview.h"

#include <QLineEdit>
#include <QProgressBar>

#include "transfer/commandchain.h"

void ChainViewAttach(CommandChain* chain, QLineEdit* status, QProgressBar* bar)
{
    if (status)
        QObject::connect(chain, &CommandChain::SIG_Status, status, &QLineEdit::setText);
    if (!bar)
        return;
    bar->setVisible(chain->IsRunning());
    QObject::connect(chain, &CommandChain::SIG_Running, bar, &QProgressBar::setVisible);
    QObject::connect(chain, &CommandChain::SIG_Progress, bar, [bar](int done, int total) {
        // An unknown total shows the busy indicator.
        const int maximum = total < 0 ? 0 : qMax(total, 1);
        bar->setRange(0, maximum);
        bar->setValue(total < 0 ? 0 : qMin(done, maximum));
        bar->setFormat(total < 0 ? QString::number(done) : QStringLiteral("%v / %m"));
    });
}
