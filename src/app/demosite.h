#ifndef DEMOSITE_H
#define DEMOSITE_H

#include <QString>

// The demo mode's site files (config.ini, listenoire.txt) live in the user's data
// folder beside the emulator's state, never in the folder the program was started
// from. A first demo start writes there a small config.ini whose groups are those of
// the emulator's default badges, so the first badge read shows a profile and its
// counters. A config.ini already there is the operator's and stays as it is.
// False, with a French text, when it could not be written.
bool DemoSitePrepare(const QString& folder, QString* error);

#endif // DEMOSITE_H
