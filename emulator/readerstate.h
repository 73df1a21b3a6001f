#ifndef READERSTATE_H
#define READERSTATE_H

#include <QString>

class ReaderModel;

// The state file: what the reader keeps across runs (committed parameters, files 5 and 18,
// the cards' memory), as JSON.
namespace ReaderState {
// A missing file leaves the reader as it is; errors name the file.
bool load(const QString& path, ReaderModel* model, QString* error);
// Replaced whole or not at all.
bool save(const QString& path, const ReaderModel& model, QString* error);
} // namespace ReaderState

#endif // READERSTATE_H
