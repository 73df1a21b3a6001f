#include "readerconfig/parametercatalogue.h"

#include <QCoreApplication>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVector>

namespace {

// One row per line, in tree order; two blanks of indentation per level.
// Fields, separated by "|" and trimmed, trailing empty ones left out:
// Désignation | Identifiant | Widget | Save | Modifié | WidgetArguments | Attribut | Version
const char* const Catalogue = R"(
Lecteur
  Identification                            |            |    |              | 0
    Code site                               | 3.0.0      | 2  | 0            | 0
    Nom du site                             | 3.0.1      | 1  | A DEFINIR    | 0
    Identifiant matériel                    | 3.0.2      | 2  | 0            | 0
    Nom matériel                            | 3.0.3      | 1  | KorvelReader | 0
    Type matériel                           | 3.0.4      | 2  | 0            | 0
    Code Exploitant                         | 3.0.5      | 2  | 0            | 0
  Options
    Mdb CashLess                            | 3.4.0      | 10
    CCtalk CashLess                         | 3.4.1      | 10
    Module Ethernet                         | 3.4.2      | 10
    Afficheur                               | 3.4.3      | 10
    Compteurs déportés filaire              | 3.4.4      | 10
    Accepteur                               | 3.4.5      | 10
    Serveur Historique                      | 3.4.6      | 10
    Serveur QMLS                            | 3.4.7      | 10
    Compteurs déportés réseau               | 3.4.8      | 10
    MAJ Heure automatique                   | 3.4.9      | 10
  Contrôles
    Crédit max                              | 10.1       | 3
    Vérifier Date validité                  | 10.2       | 10
    Interrogation serveur                   | 10.3       | 1
  Mdb Config
    Adresse                                 | 3.8.0
    Niveau                                  | 3.8.1
    Code pays                               | 3.8.2
    Facteur multiplication                  | 3.8.3
    Position décimale                       | 3.8.4
    Delais dépassé                          | 3.8.5
Fonctionnement
  Débit automatique sur insertion           | 3.7.2      | 10
  Débit automatique sur fin de temps        | 3.7.3      | 10
  Bip continu pour retrait support          | 3.7.4      | 10
  Commande présence badge                   | 3.7.5
  Montant des Débit                         |            | 3
    Sur Insertion                           | 2.1.0.3.0  | 3
    Sur Commande Automate                   | 2.1.0.3.2  | 3
    Sur Impulsion Bouton                    | 2.1.0.3.3
  Crédit à Zéro autorisé                    | 3.7.9      | 10
  Crédit Démarrage Automatique              | 3.7.0      | 10
Gestion Appareils Timer
  Appareil 1 (Par défaut)
    Configuration
      Installé                              | 2.1.0.0    | 10
      Fonctionnement type                   | 2.0.10     | 20 | | | IMPULSIONNEL;COMMANDE MAINTENUE
      Cumul Autorisé                        | 2.0.13     | 10
      Affichage                             | 2.0.11     | 20 | | | AUCUN AFFICHAGE;TEMPS RESTANT;TEMPS ECOULE;CREDIT RESTANT
      Affichage crédit badge prioritaire    | 3.7.7      | 10
      Commande  (Ordre 8-1)                 | 2.1.0.7    | 2
    Tarifs/Durées
      Tarif Démarrage
        Montant                             | 2.1.0.3.0
        Durée (en seconde)                  | 2.1.0.4.0  | 3
      Tarif Renouvellement
        Montant                             | 2.1.0.3.1
        Durée (en seconde)                  | 2.1.0.4.1  | 3
  Appareil 2 (Pour controler 2 appareils)
    Configuration
      Installé                              | 2.1.1.0    | 10
      Fonctionnement type                   | 2.0.10
      Cumul Autorisé                        |            | 10
      Affichage
      Affichage crédit badge prioritaire    | 3.7.7
      Commande  (Ordre 8-1)                 | 2.1.1.7
    Tarifs/Durées
      Tarif Démarrage
        Montant                             | 2.1.1.3.0
        Durée (en seconde)                  | 2.1.1.4.0
      Tarif Renouvellement
        Montant                             | 2.1.1.3.1
        Durée (en seconde)                  | 2.1.1.4.1
Compteurs Déportés
  Impulsions
    Haute                                   | 6.0.0
    Basse                                   | 6.0.1
    Centralisateur                          | 6.0.2
  Canal 1
    Valeur                                  | 6.1.0.0
    Type badge                              | 6.1.0.1.2  | 10
    Type Pièce                              | 6.1.0.1.0  | 10
    Type Jeton                              | 6.1.0.1.1  | 10
    Impulsion Variable                      | 6.1.0.2    | 10
  Canal 2
    Valeur                                  | 6.1.1.0
    Type badge                              | 6.1.1.1.2  | 10
    Type Pièce                              | 6.1.1.1.0  | 10
    Type Jeton                              | 6.1.1.1.1  | 10
    Impulsion Variable                      | 6.1.1.2    | 10
  Canal 3
    Valeur                                  | 6.1.2.0
    Type badge                              | 6.1.2.1.2  | 10
    Type Pièce                              | 6.1.2.1.0  | 10
    Type Jeton                              | 6.1.2.1.1  | 10
    Impulsion Variable                      | 6.1.2.2    | 10
  Canal 4
    Valeur                                  | 6.1.3.0
    Type badge                              | 6.1.3.1.2  | 10
    Type Pièce                              | 6.1.3.1.0  | 10
    Type Jeton                              | 6.1.3.1.1  | 10
    Impulsion Variable                      | 6.1.3.2    | 10
  Canal 5
    Valeur                                  | 6.1.4.0
    Type badge                              | 6.1.4.1.2  | 10
    Type Pièce                              | 6.1.4.1.0  | 10
    Type Jeton                              | 6.1.4.1.1  | 10
    Impulsion Variable                      | 6.1.4.2    | 10
  Canal 6
    Valeur                                  | 6.1.5.0
    Type badge                              | 6.1.5.1.2  | 10
    Type Pièce                              | 6.1.5.1.0  | 10
    Type Jeton                              | 6.1.5.1.1  | 10
    Impulsion Variable                      | 6.1.5.2    | 10
  Canal 7 (Relais1)
    Valeur                                  | 6.1.6.0
    Type badge                              | 6.1.6.1.2  | 10
    Type Pièce                              | 6.1.6.1.0  | 10
    Type Jeton                              | 6.1.6.1.1  | 10
    Impulsion Variable                      | 6.1.6.2    | 10
  Canal 8 (Relais2)
    Valeur                                  | 6.1.7.0
    Type badge                              | 6.1.7.1.2  | 10
    Type Pièce                              | 6.1.7.1.0  | 10
    Type Jeton                              | 6.1.7.1.1  | 10
    Impulsion Variable                      | 6.1.7.2    | 10
Accepteur                                   |            |    |              |   |   |   | 113
  Canal 1
    Valeur                                  | 7.1.0.0
    Type                                    | 7.1.0.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Canal 2
    Valeur                                  | 7.1.1.0
    Type                                    | 7.1.1.1    | 20 | | | PIECE;JETON;ABONNEMENT;
  Canal 3
    Valeur                                  | 7.1.2.0
    Type                                    | 7.1.2.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Canal 4
    Valeur                                  | 7.1.3.0
    Type                                    | 7.1.3.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Canal 5
    Valeur                                  | 7.1.4.0
    Type                                    | 7.1.4.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Canal 6
    Valeur                                  | 7.1.5.0
    Type                                    | 7.1.5.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Canal 7
    Valeur                                  | 7.1.6.0
    Type                                    | 7.1.6.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Canal 8
    Valeur                                  | 7.1.7.0
    Type                                    | 7.1.7.1    | 20 | | | PIECE;JETON;ABONNEMENT
  Intervalle Impulsion
    Min (en centième)                       | 7.0.0      | 3
    Max (en centième)                       | 7.0.1      | 3
  Inhibition/Activation controlé Par Lecteur | 7.0.2     | 10
Retours Inhibition
  Retour 1 (Connecteur Accepteur)
    Installé                                | 9.0.0      | 10
    Etat Inhibé                             | 9.0.2      | 20 | | | 0 V;24V
    Priorité                                | 9.0.3
    Texte                                   | 9.0.4
  Retour 2 (Connecteur Automate)
    Installé                                | 9.1.0      | 10
    Etat Inhibé                             | 9.1.2      | 20 | | | 0 V;24V
    Priorité                                | 9.1.3
    Texte                                   | 9.1.4
  Retour 3 (Bouton)
    Installé                                | 9.2.0      | 10
    Etat Inhibé                             | 9.2.2      | 20 | | | 0 V;24V
    Priorité                                | 9.2.3
    Texte                                   | 9.2.4
Réseau
  Configuration
    Adresse IP                              | 13.1.4
    Mask sous-réseau                        | 13.2.4
    Passerelle                              | 13.3.4
    Serveur DNS 1                           | 13.4.4
    Serveur DNS 2                           | 13.5.4
    Port HTTP                               | 13.6
  Serveur historique
    Serveur                                 | 3.9.0.0
    URL                                     | 3.9.0.1
    Port                                    | 3.9.0.2
  Serveur QMLS
    Serveur                                 | 3.9.1.0
    URL                                     | 3.9.1.1
    Port                                    | 3.9.1.2
Version
  logiciel                                  | 12.0       |    |              |   |   | 1
  Hardware                                  | 12.1       |    |              |   |   | 1
  Config eeprom                             | 12.2       |    |              |   |   | 1
Divers
  Heure                                     | 12.3       |    |              |   |   | 1
  Date                                      | 12.4       |    |              |   |   | 1
)";

// Table field order -> tree column.
const int FieldColumns[] = {PARAM_COL_DESIGNATION, PARAM_COL_IDENTIFIANT, PARAM_COL_WIDGET,
                            PARAM_COL_SAVE,        PARAM_COL_MODIFIE,     PARAM_COL_WIDGET_ARGUMENTS,
                            PARAM_COL_ATTRIBUT,    PARAM_COL_VERSION};
constexpr int FieldCount = int(sizeof(FieldColumns) / sizeof(FieldColumns[0]));

} // namespace

QStringList ParameterCatalogueHeaders()
{
    return {QCoreApplication::translate("ParameterCatalogue", "Désignation"),
            QCoreApplication::translate("ParameterCatalogue", "Valeur"),
            QCoreApplication::translate("ParameterCatalogue", "Save"),
            QCoreApplication::translate("ParameterCatalogue", "Identifiant"),
            QCoreApplication::translate("ParameterCatalogue", "Modifié"),
            QCoreApplication::translate("ParameterCatalogue", "Mask"),
            QCoreApplication::translate("ParameterCatalogue", "Max"),
            QCoreApplication::translate("ParameterCatalogue", "Widget"),
            QCoreApplication::translate("ParameterCatalogue", "WidgetArguments"),
            QCoreApplication::translate("ParameterCatalogue", "Attribut"),
            QCoreApplication::translate("ParameterCatalogue", "Version")};
}

void ParameterCatalogueFill(QTreeWidget* tree)
{
    tree->clear();
    if (tree->columnCount() < PARAM_COL_COUNT)
        tree->setColumnCount(PARAM_COL_COUNT);

    // parents[d] is the last row seen at depth d.
    QVector<QTreeWidgetItem*> parents;
    const QStringList lines = QString::fromUtf8(Catalogue).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        int indent = 0;
        while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
            ++indent;
        const int depth = indent / 2;
        Q_ASSERT(depth <= parents.size());

        QTreeWidgetItem* item =
            depth == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(parents[depth - 1]);
        const QStringList fields = line.mid(indent).split(QLatin1Char('|'));
        for (int f = 0; f < fields.size() && f < FieldCount; ++f)
            item->setText(FieldColumns[f], fields.at(f).trimmed());

        parents.resize(depth);
        parents.append(item);
    }
}
