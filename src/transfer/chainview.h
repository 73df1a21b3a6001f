#ifndef CHAINVIEW_H
#define CHAINVIEW_H

class CommandChain;
class QLineEdit;
class QProgressBar;

// Shows a chain on its tab: status puts each status text (may be null), bar
// follows the progress while the chain runs and is hidden when idle (may be null).
void ChainViewAttach(CommandChain* chain, QLineEdit* status, QProgressBar* bar);

#endif // CHAINVIEW_H
