#include "readerconfig/parametercatalogue.h"

#include <QCoreApplication>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVector>

namespace {

// One row per tree row, in tree order. After the designation (a text for lupdate), the
// fields separated by "|", trailing empty ones left out:
// Identifiant | Widget | Save | Modifié | WidgetArguments | Attribut | Version
struct CatalogueRow
{
    int depth;
    const char* designation; // shown translated
    const char* fields;      // the other fields, from Identifiant on
};

// clang-format off
const CatalogueRow Catalogue[] = {
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Lecteur"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Identification"), "|||0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Code site"), "3.0.0|2|0|0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Nom du site"), "3.0.1|1|A DEFINIR|0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Identifiant matériel"), "3.0.2|2|0|0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Nom matériel"), "3.0.3|1|KorvelReader|0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type matériel"), "3.0.4|2|0|0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Code Exploitant"), "3.0.5|2|0|0"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Options"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Mdb CashLess"), "3.4.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "CCtalk CashLess"), "3.4.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Module Ethernet"), "3.4.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Afficheur"), "3.4.3|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Compteurs déportés filaire"), "3.4.4|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Accepteur"), "3.4.5|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur Historique"), "3.4.6|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur QMLS"), "3.4.7|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Compteurs déportés réseau"), "3.4.8|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "MAJ Heure automatique"), "3.4.9|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Contrôles"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Crédit max"), "10.1|3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Vérifier Date validité"), "10.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Interrogation serveur"), "10.3|1"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Mdb Config"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Adresse"), "3.8.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Niveau"), "3.8.1"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Code pays"), "3.8.2"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Facteur multiplication"), "3.8.3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Position décimale"), "3.8.4"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Delais dépassé"), "3.8.5"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Fonctionnement"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Débit automatique sur insertion"), "3.7.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Débit automatique sur fin de temps"), "3.7.3|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Bip continu pour retrait support"), "3.7.4|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Commande présence badge"), "3.7.5"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Montant des Débit"), "|3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Sur Insertion"), "2.1.0.3.0|3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Sur Commande Automate"), "2.1.0.3.2|3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Sur Impulsion Bouton"), "2.1.0.3.3"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Crédit à Zéro autorisé"), "3.7.9|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Crédit Démarrage Automatique"), "3.7.0|10"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Gestion Appareils Timer"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Appareil 1 (Par défaut)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Configuration"), ""},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Installé"), "2.1.0.0|10"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Fonctionnement type"), "2.0.10|20|||IMPULSIONNEL;COMMANDE MAINTENUE"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Cumul Autorisé"), "2.0.13|10"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Affichage"), "2.0.11|20|||AUCUN AFFICHAGE;TEMPS RESTANT;TEMPS ECOULE;CREDIT RESTANT"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Affichage crédit badge prioritaire"), "3.7.7|10"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Commande  (Ordre 8-1)"), "2.1.0.7|2"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Tarifs/Durées"), ""},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Tarif Démarrage"), ""},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Montant"), "2.1.0.3.0"},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Durée (en seconde)"), "2.1.0.4.0|3"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Tarif Renouvellement"), ""},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Montant"), "2.1.0.3.1"},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Durée (en seconde)"), "2.1.0.4.1|3"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Appareil 2 (Pour controler 2 appareils)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Configuration"), ""},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Installé"), "2.1.1.0|10"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Fonctionnement type"), "2.0.10"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Cumul Autorisé"), "|10"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Affichage"), ""},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Affichage crédit badge prioritaire"), "3.7.7"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Commande  (Ordre 8-1)"), "2.1.1.7"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Tarifs/Durées"), ""},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Tarif Démarrage"), ""},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Montant"), "2.1.1.3.0"},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Durée (en seconde)"), "2.1.1.4.0"},
    {3, QT_TRANSLATE_NOOP("ParameterCatalogue", "Tarif Renouvellement"), ""},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Montant"), "2.1.1.3.1"},
    {4, QT_TRANSLATE_NOOP("ParameterCatalogue", "Durée (en seconde)"), "2.1.1.4.1"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Compteurs Déportés"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsions"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Haute"), "6.0.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Basse"), "6.0.1"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Centralisateur"), "6.0.2"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 1"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.0.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.0.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.0.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.0.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.0.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 2"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.1.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.1.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.1.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.1.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.1.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 3"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.2.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.2.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.2.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.2.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.2.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 4"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.3.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.3.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.3.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.3.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.3.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 5"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.4.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.4.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.4.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.4.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.4.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 6"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.5.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.5.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.5.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.5.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.5.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 7 (Relais1)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.6.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.6.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.6.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.6.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.6.2|10"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 8 (Relais2)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "6.1.7.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type badge"), "6.1.7.1.2|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Pièce"), "6.1.7.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type Jeton"), "6.1.7.1.1|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Impulsion Variable"), "6.1.7.2|10"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Accepteur"), "||||||113"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 1"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.0.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.0.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 2"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.1.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.1.1|20|||PIECE;JETON;ABONNEMENT;"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 3"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.2.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.2.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 4"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.3.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.3.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 5"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.4.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.4.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 6"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.5.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.5.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 7"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.6.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.6.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Canal 8"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Valeur"), "7.1.7.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Type"), "7.1.7.1|20|||PIECE;JETON;ABONNEMENT"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Intervalle Impulsion"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Min (en centième)"), "7.0.0|3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Max (en centième)"), "7.0.1|3"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Inhibition/Activation controlé Par Lecteur"), "7.0.2|10"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Retours Inhibition"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Retour 1 (Connecteur Accepteur)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Installé"), "9.0.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Etat Inhibé"), "9.0.2|20|||0 V;24V"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Priorité"), "9.0.3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Texte"), "9.0.4"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Retour 2 (Connecteur Automate)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Installé"), "9.1.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Etat Inhibé"), "9.1.2|20|||0 V;24V"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Priorité"), "9.1.3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Texte"), "9.1.4"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Retour 3 (Bouton)"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Installé"), "9.2.0|10"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Etat Inhibé"), "9.2.2|20|||0 V;24V"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Priorité"), "9.2.3"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Texte"), "9.2.4"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Réseau"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Configuration"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Adresse IP"), "13.1.4"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Mask sous-réseau"), "13.2.4"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Passerelle"), "13.3.4"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur DNS 1"), "13.4.4"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur DNS 2"), "13.5.4"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Port HTTP"), "13.6"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur historique"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur"), "3.9.0.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "URL"), "3.9.0.1"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Port"), "3.9.0.2"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur QMLS"), ""},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Serveur"), "3.9.1.0"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "URL"), "3.9.1.1"},
    {2, QT_TRANSLATE_NOOP("ParameterCatalogue", "Port"), "3.9.1.2"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Version"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "logiciel"), "12.0|||||1"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Hardware"), "12.1|||||1"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Config eeprom"), "12.2|||||1"},
    {0, QT_TRANSLATE_NOOP("ParameterCatalogue", "Divers"), ""},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Heure"), "12.3|||||1"},
    {1, QT_TRANSLATE_NOOP("ParameterCatalogue", "Date"), "12.4|||||1"},
};
// clang-format on

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
    for (const CatalogueRow& row : Catalogue) {
        const int depth = row.depth;
        Q_ASSERT(depth <= parents.size());

        QTreeWidgetItem* item =
            depth == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(parents[depth - 1]);
        item->setText(FieldColumns[0], QCoreApplication::translate("ParameterCatalogue", row.designation));
        const QStringList fields =
            *row.fields ? QString::fromUtf8(row.fields).split(QLatin1Char('|')) : QStringList();
        for (int f = 1; f <= fields.size() && f < FieldCount; ++f)
            item->setText(FieldColumns[f], fields.at(f - 1).trimmed());

        parents.resize(depth);
        parents.append(item);
    }
}
