#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include <QByteArray>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// Configuration files: one "Identifiant=value" line per parameter row of the
// tree, in tree order. Written as UTF-8 and read with the project's decoding
// rule, so files of older versions in Latin-1 still load. Message boxes stay
// with the caller; these functions return what happened.

// Appends the line of `item` (if it has an Identifiant), then those of its children.
void ConfigFileSaveItem(QByteArray* out, QTreeWidget* tree, QTreeWidgetItem* item);

// The whole file's content for the tree.
QByteArray ConfigFileContent(QTreeWidget* tree);

// Writes the tree to `path` atomically: on any failure, at creation or while
// writing, the old file stays whole and `error` gets the text for the "Erreur" box.
bool ConfigFileSave(QTreeWidget* tree, const QString& path, QString* error);

// Puts every "key=value" line of `content` into all rows whose Identifiant is the key.
void ConfigFileApply(QTreeWidget* tree, const QByteArray& content);

// Reads `path` and applies it; false if the file cannot be opened (nothing changed).
bool ConfigFileLoad(QTreeWidget* tree, const QString& path);

#endif // CONFIGFILE_H
