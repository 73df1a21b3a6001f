#include "app/demosite.h"

#include <QDir>
#include <QFileInfo>

#include "commun/atomicsave.h"

namespace {
// The default deck's badges belong to groups 0 (the valid and the damaged badge, counter 0
// in use), 1 (the expired one) and 3 (the blacklisted one); a group's number is its place.
const char DemoConfig[] = "[ZONES]\n"
                          "ZONE0=INSTALLED:YES;LABEL:Hall\n"
                          "ZONE1=INSTALLED:YES;LABEL:Bureaux\n"
                          "ZONE2=INSTALLED:YES;LABEL:Parking\n"
                          "ZONE3=INSTALLED:YES;LABEL:Atelier\n"
                          "[GROUPS]\n"
                          "GROUP=ID:0;LABEL:Personnel;Z0:YES,1,0,0,20;Z1:YES,0,0,0,0;Z2:YES,0,0,0,0;\n"
                          "GROUP=ID:1;LABEL:Visiteur;Z0:YES,0,0,0,0;\n"
                          "GROUP=ID:2;LABEL:Maintenance;Z0:YES,0,0,0,0;Z1:YES,0,0,0,0;Z3:YES,0,0,0,0;\n"
                          "GROUP=ID:3;LABEL:Prestataire;Z0:YES,1,0,0,10;Z3:YES,0,0,0,0;\n";
} // namespace

bool DemoSitePrepare(const QString& folder, QString* error)
{
    const QString path = QDir(folder).filePath(QStringLiteral("config.ini"));
    if (QFileInfo::exists(path))
        return true;
    QByteArray text(DemoConfig);
    text.replace("\n", TextLineEnd);
    if (SaveFileAtomic(path, text))
        return true;
    if (error)
        *error = QString("Impossible d'écrire la configuration de démonstration %1").arg(path);
    return false;
}
