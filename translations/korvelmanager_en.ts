<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>AccessRights</name>
    <message>
        <source>lecture</source>
        <translation>read</translation>
    </message>
    <message>
        <source>écriture</source>
        <translation>write</translation>
    </message>
    <message>
        <source>incrément</source>
        <translation>increment</translation>
    </message>
    <message>
        <source>décrément</source>
        <translation>decrement</translation>
    </message>
    <message>
        <source>aucun accès</source>
        <translation>no access</translation>
    </message>
    <message>
        <source>clé A écrite par</source>
        <translation>key A written by</translation>
    </message>
    <message>
        <source>bits d&apos;accès lus par</source>
        <translation>access bits read by</translation>
    </message>
    <message>
        <source>bits d&apos;accès écrits par</source>
        <translation>access bits written by</translation>
    </message>
    <message>
        <source>clé B lisible par</source>
        <translation>key B readable by</translation>
    </message>
    <message>
        <source>clé B écrite par</source>
        <translation>key B written by</translation>
    </message>
    <message>
        <source>Bloc %1 : </source>
        <translation>Block %1: </translation>
    </message>
    <message>
        <source>Trailer : </source>
        <translation>Trailer: </translation>
    </message>
</context>
<context>
    <name>AccessTab</name>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Impossible d&apos;enregistrer le fichier config.ini</source>
        <translation>Cannot save the config.ini file</translation>
    </message>
    <message>
        <source>Confirmation :</source>
        <translation>Confirmation:</translation>
    </message>
    <message>
        <source>Voulez-vous supprimer ce profil définitivement ?</source>
        <translation>Delete this profile for good?</translation>
    </message>
</context>
<context>
    <name>AccessTransfer</name>
    <message>
        <source>Access Put</source>
        <translation>Access Put</translation>
    </message>
    <message>
        <source>access Get</source>
        <translation>access Get</translation>
    </message>
    <message>
        <source>Access effacement-&gt;échec</source>
        <translation>Access clear-&gt;FAILED</translation>
    </message>
    <message>
        <source>Access effacement-&gt;OK</source>
        <translation>Access clear-&gt;OK</translation>
    </message>
    <message>
        <source>Access Aucun liste à envoyer</source>
        <translation>Access No list to send</translation>
    </message>
    <message>
        <source>Access Add-&gt;ECHEC</source>
        <translation>Access Add-&gt;FAILED</translation>
    </message>
    <message>
        <source>Access Add-&gt;OK</source>
        <translation>Access Add-&gt;OK</translation>
    </message>
    <message>
        <source>Access Add-&gt;FIN</source>
        <translation>Access Add-&gt;END</translation>
    </message>
    <message>
        <source>Access Add-&gt;CMD ERREUR</source>
        <translation>Access Add-&gt;CMD ERROR</translation>
    </message>
    <message>
        <source>Access Get-&gt;OK</source>
        <translation>Access Get-&gt;OK</translation>
    </message>
</context>
<context>
    <name>BadgeForm</name>
    <message>
        <source>Crédit</source>
        <translation>Credit</translation>
    </message>
    <message>
        <source>Exploitant</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Accès</source>
        <translation>Access</translation>
    </message>
    <message>
        <source>Unité</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Facturation</source>
        <translation>Billing</translation>
    </message>
</context>
<context>
    <name>BadgeTab</name>
    <message>
        <source>-&gt;ECHEC(enregistrement trop long)</source>
        <translation>-&gt;FAILED(record too long)</translation>
    </message>
    <message>
        <source>-&gt;ECHEC(montant invalide)</source>
        <translation>-&gt;FAILED(invalid amount)</translation>
    </message>
    <message>
        <source>Insérez un support (cartes, clés ...)</source>
        <translation>Insert a support (cards, keys ...)</translation>
    </message>
    <message>
        <source>Ecriture </source>
        <translation>Write </translation>
    </message>
    <message>
        <source>Lecture ...</source>
        <translation>Read ...</translation>
    </message>
    <message>
        <source>Création</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>Création ...</source>
        <translation>Create ...</translation>
    </message>
    <message>
        <source>Aucun Support</source>
        <translation>No Support</translation>
    </message>
    <message>
        <source>Création-&gt;CMD ERREUR</source>
        <translation>Create-&gt;CMD ERROR</translation>
    </message>
    <message>
        <source>Création-&gt;OK</source>
        <translation>Create-&gt;OK</translation>
    </message>
    <message>
        <source>Création-&gt;ECHEC</source>
        <translation>Create-&gt;FAILED</translation>
    </message>
    <message>
        <source>Lecture-&gt;CMD ERREUR</source>
        <translation>Read-&gt;CMD ERROR</translation>
    </message>
    <message>
        <source>Lecture-&gt;OK</source>
        <translation>Read-&gt;OK</translation>
    </message>
    <message>
        <source>Lecture-&gt;ECHEC</source>
        <translation>Read-&gt;FAILED</translation>
    </message>
    <message>
        <source>Ecriture -&gt;Echec</source>
        <translation>Write -&gt;Failed</translation>
    </message>
    <message>
        <source>Ecriture -&gt;OK</source>
        <translation>Write -&gt;OK</translation>
    </message>
    <message>
        <source>Ecriture -&gt;ECHEC</source>
        <translation>Write -&gt;FAILED</translation>
    </message>
    <message>
        <source>Statut timeout</source>
        <translation>Status timeout</translation>
    </message>
</context>
<context>
    <name>BlacklistTab</name>
    <message>
        <source>Date;Uid;Utilisateur;Groupe;Raison</source>
        <translation>Date;Uid;User;Group;Reason</translation>
    </message>
    <message>
        <source>Ligne insérée, saisir le numéro de goupe ou d&apos;utilisateur</source>
        <translation>Row inserted, enter the group or user number</translation>
    </message>
    <message>
        <source>sélectionnez une ligne auparavant</source>
        <translation>select a row first</translation>
    </message>
    <message>
        <source>Ligne supprimée</source>
        <translation>Row deleted</translation>
    </message>
    <message>
        <source>Enregistrement liste noire...</source>
        <translation>Saving blacklist...</translation>
    </message>
    <message>
        <source>Enregistrement liste noire-&gt;OK</source>
        <translation>Saving blacklist-&gt;OK</translation>
    </message>
    <message>
        <source>Enregistrement liste noire-&gt;ECHEC</source>
        <translation>Saving blacklist-&gt;FAILED</translation>
    </message>
    <message>
        <source>Chargement liste noire...</source>
        <translation>Loading blacklist...</translation>
    </message>
    <message>
        <source>Chargement liste noire-&gt;OK</source>
        <translation>Loading blacklist-&gt;OK</translation>
    </message>
    <message>
        <source>Chargement liste noire-&gt;ECHEC</source>
        <translation>Loading blacklist-&gt;FAILED</translation>
    </message>
</context>
<context>
    <name>BlacklistTransfer</name>
    <message>
        <source>LN Put</source>
        <translation>BL Put</translation>
    </message>
    <message>
        <source>LN Get</source>
        <translation>BL Get</translation>
    </message>
    <message>
        <source>LN effacement-&gt;échec</source>
        <translation>BL clear-&gt;FAILED</translation>
    </message>
    <message>
        <source>LN effacement-&gt;OK</source>
        <translation>BL clear-&gt;OK</translation>
    </message>
    <message>
        <source>LN Aucun liste à envoyer11</source>
        <translation>BL No list to send</translation>
    </message>
    <message>
        <source>LN Add-&gt;ECHEC</source>
        <translation>BL Add-&gt;FAILED</translation>
    </message>
    <message>
        <source>LN Add-&gt;OK</source>
        <translation>BL Add-&gt;OK</translation>
    </message>
    <message>
        <source>LN Add-&gt;FIN</source>
        <translation>BL Add-&gt;END</translation>
    </message>
    <message>
        <source>LN Add-&gt;CMD ERREUR</source>
        <translation>BL Add-&gt;CMD ERROR</translation>
    </message>
    <message>
        <source>LN Get-&gt;OK</source>
        <translation>BL Get-&gt;OK</translation>
    </message>
</context>
<context>
    <name>CardDump</name>
    <message>
        <source>taille %1 octets au lieu de %2</source>
        <translation>size %1 bytes instead of %2</translation>
    </message>
    <message>
        <source>%1 lignes au lieu de %2</source>
        <translation>%1 lines instead of %2</translation>
    </message>
    <message>
        <source>ligne %1 : %2 chiffres hexadécimaux attendus</source>
        <translation>line %1: %2 hex digits expected</translation>
    </message>
    <message>
        <source>pas un vidage de carte JSON (format %1, version %2)</source>
        <translation>not a JSON card dump (format %1, version %2)</translation>
    </message>
    <message>
        <source>%1 blocs et %2 secteurs attendus</source>
        <translation>%1 blocks and %2 sectors expected</translation>
    </message>
    <message>
        <source>bloc %1 : %2 chiffres hexadécimaux ou null attendus</source>
        <translation>block %1: %2 hex digits or null expected</translation>
    </message>
    <message>
        <source>secteur %1 : clés invalides ou différentes du trailer</source>
        <translation>sector %1: keys invalid or different from the trailer</translation>
    </message>
    <message>
        <source>extension inconnue (.mfd, .bin, .eml ou .json)</source>
        <translation>unknown extension (.mfd, .bin, .eml or .json)</translation>
    </message>
</context>
<context>
    <name>CardDumpChain</name>
    <message>
        <source> ...</source>
        <translation> ...</translation>
    </message>
    <message>
        <source>Lecture carte</source>
        <translation>Card read</translation>
    </message>
    <message>
        <source>Comparaison carte</source>
        <translation>Card compare</translation>
    </message>
    <message>
        <source>Ecriture carte</source>
        <translation>Card write</translation>
    </message>
    <message>
        <source>-&gt;ECHEC</source>
        <translation>-&gt;FAILED</translation>
    </message>
    <message>
        <source>-&gt;ANNULE (carte incomplète)</source>
        <translation>-&gt;CANCELLED (card incomplete)</translation>
    </message>
    <message>
        <source>-&gt;ANNULE</source>
        <translation>-&gt;CANCELLED</translation>
    </message>
    <message>
        <source> (%1/%2 secteurs)</source>
        <translation> (%1/%2 sectors)</translation>
    </message>
    <message>
        <source>-&gt;OK</source>
        <translation>-&gt;OK</translation>
    </message>
    <message>
        <source>-&gt;PARTIEL</source>
        <translation>-&gt;PARTIAL</translation>
    </message>
    <message>
        <source>-&gt;OK (vérifiée)</source>
        <translation>-&gt;OK (verified)</translation>
    </message>
    <message>
        <source>-&gt;OK (identique)</source>
        <translation>-&gt;OK (identical)</translation>
    </message>
    <message>
        <source>-&gt;ECHEC (blocs différents : </source>
        <translation>-&gt;FAILED (blocks differ: </translation>
    </message>
    <message>
        <source>-&gt;DIFFERENCES (blocs </source>
        <translation>-&gt;DIFFERENCES (blocks </translation>
    </message>
</context>
<context>
    <name>CardKeys</name>
    <message>
        <source>ligne %1 : clé invalide (12 chiffres hexadécimaux attendus)</source>
        <translation>line %1: invalid key (12 hex digits expected)</translation>
    </message>
    <message>
        <source>plus de %1 clés</source>
        <translation>more than %1 keys</translation>
    </message>
    <message>
        <source>aucune clé dans le fichier</source>
        <translation>no key in the file</translation>
    </message>
</context>
<context>
    <name>CardView</name>
    <message>
        <source>Vidages de carte (*.mfd *.bin *.eml *.json)</source>
        <translation>Card dumps (*.mfd *.bin *.eml *.json)</translation>
    </message>
    <message>
        <source>Attention</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Les trailers du vidage figent les secteurs %1 : leurs conditions d&apos;accès ne pourront plus jamais être modifiées.
Ecrire la carte ?</source>
        <translation>The dump&apos;s trailers freeze sectors %1: their access conditions can never be changed again.
Write the card?</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>fichier trop grand</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>Secteur</source>
        <translation>Sector</translation>
    </message>
    <message>
        <source>Bloc</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>Données</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Texte</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Droits</source>
        <translation>Rights</translation>
    </message>
    <message>
        <source>Clé</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Ecart</source>
        <translation>Diff</translation>
    </message>
    <message>
        <source>Aucune carte lue ou chargée</source>
        <translation>No card read or loaded</translation>
    </message>
    <message>
        <source>Erreur-&gt;Conditions d&apos;accès invalides (secteurs %1)</source>
        <translation>Error-&gt;Invalid access conditions (sectors %1)</translation>
    </message>
    <message>
        <source>Ecriture carte-&gt;ANNULE</source>
        <translation>Card write-&gt;CANCELLED</translation>
    </message>
    <message>
        <source>Enregistrer la carte</source>
        <translation>Save the card</translation>
    </message>
    <message>
        <source> : extension inconnue (.mfd, .bin, .eml ou .json)</source>
        <translation>: unknown extension (.mfd, .bin, .eml or .json)</translation>
    </message>
    <message>
        <source> : écriture impossible</source>
        <translation>: cannot write</translation>
    </message>
    <message>
        <source>Enregistré : </source>
        <translation>Saved: </translation>
    </message>
    <message>
        <source> (secteurs non lus écrits vierges : %1)</source>
        <translation> (unread sectors written blank: %1)</translation>
    </message>
    <message>
        <source> (clés inconnues écrites à zéro : secteurs %1)</source>
        <translation> (unknown keys written as zeros: sectors %1)</translation>
    </message>
    <message>
        <source>Charger une carte</source>
        <translation>Load a card</translation>
    </message>
    <message>
        <source>Chargé : </source>
        <translation>Loaded: </translation>
    </message>
    <message>
        <source>Charger une liste de clés</source>
        <translation>Load a key list</translation>
    </message>
    <message>
        <source>Clés (*.keys *.dic *.txt);;Tous (*)</source>
        <translation>Keys (*.keys *.dic *.txt);;All (*)</translation>
    </message>
    <message>
        <source>%1 clés chargées</source>
        <translation>%1 keys loaded</translation>
    </message>
    <message>
        <source>aucune clé</source>
        <translation>no key</translation>
    </message>
    <message>
        <source>non lu</source>
        <translation>not read</translation>
    </message>
    <message>
        <source>différent</source>
        <translation>different</translation>
    </message>
</context>
<context>
    <name>CommandChain</name>
    <message>
        <source>Transfert déjà en cours, patientez</source>
        <translation>Transfer already running, please wait</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Maintenance et personnalisation des badges et des lecteurs Korvel.
Sans option, le programme liste les ports série du système et ouvre le premier.</source>
        <translation>Maintenance and personalisation of Korvel badges and readers.
Without options, the program lists the system&apos;s serial ports and opens the first.</translation>
    </message>
    <message>
        <source>Démarre le simulateur de lecteur korvel-reader-emulator et se connecte à son port.</source>
        <translation>Starts the korvel-reader-emulator reader emulator and connects to its port.</translation>
    </message>
    <message>
        <source>Place le port &lt;nom&gt; en tête de la liste (chemin de périphérique ou lien symbolique).</source>
        <translation>Lists port &lt;name&gt; first (device path or symbolic link).</translation>
    </message>
    <message>
        <source>nom</source>
        <translation>name</translation>
    </message>
    <message>
        <source>Ajoute chaque trame envoyée et reçue au fichier &lt;fichier&gt; (horodatée, texte et hexa).</source>
        <translation>Appends every frame sent and received to &lt;file&gt; (timestamped, text and hex).</translation>
    </message>
    <message>
        <source>fichier</source>
        <translation>file</translation>
    </message>
    <message>
        <source>Démarre sans la session mémorisée (port, fenêtre, dossiers) et n&apos;en mémorise aucune ; KORVEL_NO_SETTINGS=1 fait de même.</source>
        <translation>Starts without the remembered session (port, window, folders) and remembers none; KORVEL_NO_SETTINGS=1 does the same.</translation>
    </message>
    <message>
        <source>Langue de l&apos;interface : fr ou en (sinon celle choisie, ou celle du système).</source>
        <translation>Interface language: fr or en (else the one chosen, or the system&apos;s).</translation>
    </message>
    <message>
        <source>Argument inattendu : </source>
        <translation>Unexpected argument: </translation>
    </message>
    <message>
        <source>--port attend un nom de port.</source>
        <translation>--port needs a port name.</translation>
    </message>
    <message>
        <source>--trace attend un nom de fichier.</source>
        <translation>--trace needs a file name.</translation>
    </message>
    <message>
        <source>--lang attend fr ou en.</source>
        <translation>--lang needs fr or en.</translation>
    </message>
    <message>
        <source>--emulator et --port ne peuvent pas être utilisés ensemble.</source>
        <translation>--emulator and --port cannot be used together.</translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message>
        <source>Impossible de créer le fichier</source>
        <translation>Cannot create the file</translation>
    </message>
</context>
<context>
    <name>EmulatorLauncher</name>
    <message>
        <source>Dossier de données %1 impossible à créer</source>
        <translation>Cannot create data folder %1</translation>
    </message>
    <message>
        <source>Simulateur de lecteur introuvable : %1 n&apos;est pas dans %2.</source>
        <translation>Reader emulator not found: %1 is not in %2.</translation>
    </message>
    <message>
        <source>Impossible de démarrer le simulateur de lecteur %1 : %2</source>
        <translation>Cannot start the reader emulator %1: %2</translation>
    </message>
    <message>
        <source>Le simulateur de lecteur s&apos;est arrêté au démarrage (code %1).</source>
        <translation>The reader emulator stopped at start-up (code %1).</translation>
    </message>
    <message>
        <source>Le simulateur de lecteur n&apos;a pas indiqué son port (première ligne : « %1 »).</source>
        <translation>The reader emulator did not give its port (first line: &quot;%1&quot;).</translation>
    </message>
    <message>
        <source>Le simulateur de lecteur n&apos;a pas indiqué son port dans les %1 s.</source>
        <translation>The reader emulator did not give its port within %1 s.</translation>
    </message>
</context>
<context>
    <name>ExpertTab</name>
    <message>
        <source>Attention</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Ces conditions d&apos;accès figent le secteur : ses conditions d&apos;accès ne pourront plus jamais être modifiées.
Ecrire le trailer ?</source>
        <translation>These access conditions freeze the sector: its access conditions can never be changed again.
Write the trailer?</translation>
    </message>
    <message>
        <source>Le bloc 0 est le bloc constructeur : il est en lecture seule sur une carte d&apos;origine, et l&apos;écrire peut rendre le support inutilisable.
Ecrire le bloc 0 ?</source>
        <translation>Block 0 is the manufacturer block: it is read-only on a genuine card, and writing it can make the support unusable.
Write block 0?</translation>
    </message>
    <message>
        <source>Erreur-&gt;Bloque non défini</source>
        <translation>Error-&gt;Block not set</translation>
    </message>
    <message>
        <source>Erreur-&gt;Conditions d&apos;accès invalides</source>
        <translation>Error-&gt;Invalid access conditions</translation>
    </message>
    <message>
        <source>Erreur-&gt;Sector non défini</source>
        <translation>Error-&gt;Sector not set</translation>
    </message>
    <message>
        <source>Formatage ...</source>
        <translation>Formatting ...</translation>
    </message>
    <message>
        <source>Formatage-&gt;CMD ECHEC</source>
        <translation>Formatting-&gt;CMD FAILED</translation>
    </message>
    <message>
        <source>Formatage-&gt;OK</source>
        <translation>Formatting-&gt;OK</translation>
    </message>
    <message>
        <source>Formatage-&gt;ECHEC(Sector=</source>
        <translation>Formatting-&gt;FAILED(Sector=</translation>
    </message>
</context>
<context>
    <name>FrameTraceWriter</name>
    <message>
        <source>ouverture impossible</source>
        <translation>cannot open</translation>
    </message>
    <message>
        <source>Trace des trames %1 : %2 (%3)</source>
        <translation>Frame trace %1: %2 (%3)</translation>
    </message>
    <message>
        <source>écriture impossible, trace arrêtée</source>
        <translation>cannot write, trace stopped</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>KorvelManager</source>
        <translation>KorvelManager</translation>
    </message>
    <message>
        <source>Port série :</source>
        <translation>Serial port:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Connexion</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Reconnexion auto</source>
        <translation>Auto reconnect</translation>
    </message>
    <message>
        <source>Clé/Carte</source>
        <translation>Key/Card</translation>
    </message>
    <message>
        <source>Informations :</source>
        <translation>Information:</translation>
    </message>
    <message>
        <source>Type  :</source>
        <translation>Type  :</translation>
    </message>
    <message>
        <source>Profil  :</source>
        <translation>Profile  :</translation>
    </message>
    <message>
        <source>Groupe :</source>
        <translation>Group:</translation>
    </message>
    <message>
        <source>Le numéro de groupe permet d&apos;associer plusieurs support à un groupe et de faire des opérations directement sur le groupe</source>
        <translation>The group number ties several supports to one group, so operations can be done on the whole group</translation>
    </message>
    <message>
        <source>UID :</source>
        <translation>UID:</translation>
    </message>
    <message>
        <source>IUD : numéro constructeur unique</source>
        <translation>UID: the manufacturer&apos;s unique number</translation>
    </message>
    <message>
        <source>Identifiant :</source>
        <translation>Identifier:</translation>
    </message>
    <message>
        <source>Ce numéro permet d&apos;identifier un client</source>
        <translation>This number identifies a customer</translation>
    </message>
    <message>
        <source>Niveau :</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>Domaine</source>
        <translation>Domain</translation>
    </message>
    <message>
        <source>Nom :</source>
        <translation>Last name:</translation>
    </message>
    <message>
        <source>Prénom :</source>
        <translation>First name:</translation>
    </message>
    <message>
        <source>Société :</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>Remise :</source>
        <translation>Discount:</translation>
    </message>
    <message>
        <source>Création :</source>
        <translation>Created:</translation>
    </message>
    <message>
        <source>Validité :</source>
        <translation>Valid until:</translation>
    </message>
    <message>
        <source>Création Mode :</source>
        <translation>Create mode:</translation>
    </message>
    <message>
        <source>Forcer création</source>
        <translation>Force creation</translation>
    </message>
    <message>
        <source>Identifiant automatique</source>
        <translation>Automatic identifier</translation>
    </message>
    <message>
        <source>Zones avec compteur :</source>
        <translation>Zones with counter:</translation>
    </message>
    <message>
        <source>Zones en illimité :</source>
        <translation>Unlimited zones:</translation>
    </message>
    <message>
        <source>Lire</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Créer</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>Zones et Groupes</source>
        <translation>Zones and Groups</translation>
    </message>
    <message>
        <source>Définition des zones :</source>
        <translation>Zones:</translation>
    </message>
    <message>
        <source>Sauvegarder</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Envoyer sur le lecteur</source>
        <translation>Send to reader</translation>
    </message>
    <message>
        <source>Définition des profiles :</source>
        <translation>Profiles:</translation>
    </message>
    <message>
        <source>Nouveau</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Liste noire</source>
        <translation>Blacklist</translation>
    </message>
    <message>
        <source>Liste :</source>
        <translation>List:</translation>
    </message>
    <message>
        <source>Crée une nouvelle ligne à saisir</source>
        <translation>Adds a new row to fill in</translation>
    </message>
    <message>
        <source>Supprime la ligne sélectionnée</source>
        <translation>Deletes the selected row</translation>
    </message>
    <message>
        <source>Lecteur :</source>
        <translation>Reader:</translation>
    </message>
    <message>
        <source>Ecrire</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Fichier :</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Charger</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Charge une liste à partir du fichier</source>
        <translation>Loads a list from the file</translation>
    </message>
    <message>
        <source>Sauvergader</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Sauvegarde la liste dans un fichier (listenoire.txt)</source>
        <translation>Saves the list to a file (listenoire.txt)</translation>
    </message>
    <message>
        <source>Badge/Clé </source>
        <translation>Badge/Key </translation>
    </message>
    <message>
        <source>Création de badge liste noire permettant de mettre à jour l&apos;ensemble des lecteurs par simple insertion</source>
        <translation>Creates a blacklist badge that updates every reader it is inserted in</translation>
    </message>
    <message>
        <source>Lecteur</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source>Désignation</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Identifiant</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Modifié</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Widget</source>
        <translation>Widget</translation>
    </message>
    <message>
        <source>WidgetArguments</source>
        <translation>WidgetArguments</translation>
    </message>
    <message>
        <source>Attribut</source>
        <translation>Attribute</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Lecteur  :</source>
        <translation>Reader  :</translation>
    </message>
    <message>
        <source>Fichier  :</source>
        <translation>File  :</translation>
    </message>
    <message>
        <source>MAJ Date/Heure</source>
        <translation>Set Date/Time</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Programmer</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>Création</source>
        <translation>Creation</translation>
    </message>
    <message>
        <source>Crédit défaut</source>
        <translation>Default credit</translation>
    </message>
    <message>
        <source>Groupe défaut</source>
        <translation>Default group</translation>
    </message>
    <message>
        <source>Usr défaut</source>
        <translation>Default user</translation>
    </message>
    <message>
        <source>Nombre de mois valide</source>
        <translation>Months valid</translation>
    </message>
    <message>
        <source>Nom Defaut</source>
        <translation>Default last name</translation>
    </message>
    <message>
        <source>Prénom Defaut</source>
        <translation>Default first name</translation>
    </message>
    <message>
        <source>Société Défaut</source>
        <translation>Default company</translation>
    </message>
    <message>
        <source>Crédit/Compteur</source>
        <translation>Credit/Counter</translation>
    </message>
    <message>
        <source>Crédit numéro défaut</source>
        <translation>Default credit number</translation>
    </message>
    <message>
        <source>Afficher Toutes les colonnes</source>
        <translation>Show all columns</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Français</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>(appliquée au prochain démarrage)</source>
        <translation>(applies at next start)</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Tests</source>
        <translation>Tests</translation>
    </message>
    <message>
        <source>Durée Impulsion : </source>
        <translation>Pulse length: </translation>
    </message>
    <message>
        <source>Commande 1 (canal 1)</source>
        <translation>Command 1 (channel 1)</translation>
    </message>
    <message>
        <source>Commande 2 (canal 2)</source>
        <translation>Command 2 (channel 2)</translation>
    </message>
    <message>
        <source>Commande 3 (canal 3)</source>
        <translation>Command 3 (channel 3)</translation>
    </message>
    <message>
        <source>Commande 4 (canal 4)</source>
        <translation>Command 4 (channel 4)</translation>
    </message>
    <message>
        <source>Commande 5 (canal 5)</source>
        <translation>Command 5 (channel 5)</translation>
    </message>
    <message>
        <source>Commande 6 (canal 6)</source>
        <translation>Command 6 (channel 6)</translation>
    </message>
    <message>
        <source>Commande 7 (Relais 1)</source>
        <translation>Command 7 (Relay 1)</translation>
    </message>
    <message>
        <source>Commande 8 (Relais 2)</source>
        <translation>Command 8 (Relay 2)</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>Expert</translation>
    </message>
    <message>
        <source>Block</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>Block :</source>
        <translation>Block:</translation>
    </message>
    <message>
        <source>Envoi :</source>
        <translation>Sent:</translation>
    </message>
    <message>
        <source>Réponse :</source>
        <translation>Answer:</translation>
    </message>
    <message>
        <source>Incrémente</source>
        <translation>Increment</translation>
    </message>
    <message>
        <source>Décrement</source>
        <translation>Decrement</translation>
    </message>
    <message>
        <source>Trailer</source>
        <translation>Trailer</translation>
    </message>
    <message>
        <source>Secteur de 0 à15</source>
        <translation>Sector 0 to 15</translation>
    </message>
    <message>
        <source>KeyA :</source>
        <translation>KeyA:</translation>
    </message>
    <message>
        <source>KeyB :</source>
        <translation>KeyB:</translation>
    </message>
    <message>
        <source>TypeKey (select = keyb) :</source>
        <translation>TypeKey (checked = keyB):</translation>
    </message>
    <message>
        <source>Clé a utiliser</source>
        <translation>Key to use</translation>
    </message>
    <message>
        <source>C1</source>
        <translation>C1</translation>
    </message>
    <message>
        <source>C2</source>
        <translation>C2</translation>
    </message>
    <message>
        <source>C3</source>
        <translation>C3</translation>
    </message>
    <message>
        <source>+0</source>
        <translation>+0</translation>
    </message>
    <message>
        <source>+1</source>
        <translation>+1</translation>
    </message>
    <message>
        <source>+2</source>
        <translation>+2</translation>
    </message>
    <message>
        <source>Defaut</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Sécurité</source>
        <translation>Security</translation>
    </message>
    <message>
        <source>Création Sécurité structure</source>
        <translation>Create security structure</translation>
    </message>
    <message>
        <source>Carte entière (Mifare Classic 1K)</source>
        <translation>Whole card (Mifare Classic 1K)</translation>
    </message>
    <message>
        <source>Lire la carte</source>
        <translation>Read the card</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ecrire la carte</source>
        <translation>Write the card</translation>
    </message>
    <message>
        <source>Comparer</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>Ecrire le bloc 0</source>
        <translation>Write block 0</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Fichier de clés</source>
        <translation>Key file</translation>
    </message>
    <message>
        <source>Version:1.00</source>
        <translation>Version:1.00</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Contenu transaction invalide</source>
        <translation>Invalid transaction content</translation>
    </message>
</context>
<context>
    <name>OutputTest</name>
    <message>
        <source>Test C%1</source>
        <translation>Test C%1</translation>
    </message>
</context>
<context>
    <name>ParameterCatalogue</name>
    <message>
        <source>Désignation</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Identifiant</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Modifié</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Widget</source>
        <translation>Widget</translation>
    </message>
    <message>
        <source>WidgetArguments</source>
        <translation>WidgetArguments</translation>
    </message>
    <message>
        <source>Attribut</source>
        <translation>Attribute</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Lecteur</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Code site</source>
        <translation>Site code</translation>
    </message>
    <message>
        <source>Nom du site</source>
        <translation>Site name</translation>
    </message>
    <message>
        <source>Identifiant matériel</source>
        <translation>Hardware id</translation>
    </message>
    <message>
        <source>Nom matériel</source>
        <translation>Hardware name</translation>
    </message>
    <message>
        <source>Type matériel</source>
        <translation>Hardware type</translation>
    </message>
    <message>
        <source>Code Exploitant</source>
        <translation>Operator code</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Mdb CashLess</source>
        <translation>Mdb CashLess</translation>
    </message>
    <message>
        <source>CCtalk CashLess</source>
        <translation>CCtalk CashLess</translation>
    </message>
    <message>
        <source>Module Ethernet</source>
        <translation>Ethernet module</translation>
    </message>
    <message>
        <source>Afficheur</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>Compteurs déportés filaire</source>
        <translation>Wired remote counters</translation>
    </message>
    <message>
        <source>Accepteur</source>
        <translation>Acceptor</translation>
    </message>
    <message>
        <source>Serveur Historique</source>
        <translation>History server</translation>
    </message>
    <message>
        <source>Serveur QMLS</source>
        <translation>QMLS server</translation>
    </message>
    <message>
        <source>Compteurs déportés réseau</source>
        <translation>Network remote counters</translation>
    </message>
    <message>
        <source>MAJ Heure automatique</source>
        <translation>Automatic clock update</translation>
    </message>
    <message>
        <source>Contrôles</source>
        <translation>Checks</translation>
    </message>
    <message>
        <source>Crédit max</source>
        <translation>Max credit</translation>
    </message>
    <message>
        <source>Vérifier Date validité</source>
        <translation>Check validity date</translation>
    </message>
    <message>
        <source>Interrogation serveur</source>
        <translation>Query server</translation>
    </message>
    <message>
        <source>Mdb Config</source>
        <translation>Mdb Config</translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Niveau</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Code pays</source>
        <translation>Country code</translation>
    </message>
    <message>
        <source>Facteur multiplication</source>
        <translation>Scale factor</translation>
    </message>
    <message>
        <source>Position décimale</source>
        <translation>Decimal places</translation>
    </message>
    <message>
        <source>Delais dépassé</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>Fonctionnement</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Débit automatique sur insertion</source>
        <translation>Automatic debit on insertion</translation>
    </message>
    <message>
        <source>Débit automatique sur fin de temps</source>
        <translation>Automatic debit at end of time</translation>
    </message>
    <message>
        <source>Bip continu pour retrait support</source>
        <translation>Continuous beep to remove support</translation>
    </message>
    <message>
        <source>Commande présence badge</source>
        <translation>Badge present output</translation>
    </message>
    <message>
        <source>Montant des Débit</source>
        <translation>Debit amounts</translation>
    </message>
    <message>
        <source>Sur Insertion</source>
        <translation>On insertion</translation>
    </message>
    <message>
        <source>Sur Commande Automate</source>
        <translation>On PLC command</translation>
    </message>
    <message>
        <source>Sur Impulsion Bouton</source>
        <translation>On button pulse</translation>
    </message>
    <message>
        <source>Crédit à Zéro autorisé</source>
        <translation>Zero credit allowed</translation>
    </message>
    <message>
        <source>Crédit Démarrage Automatique</source>
        <translation>Automatic start credit</translation>
    </message>
    <message>
        <source>Gestion Appareils Timer</source>
        <translation>Timer devices</translation>
    </message>
    <message>
        <source>Appareil 1 (Par défaut)</source>
        <translation>Device 1 (default)</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Installé</source>
        <translation>Installed</translation>
    </message>
    <message>
        <source>Fonctionnement type</source>
        <translation>Operation type</translation>
    </message>
    <message>
        <source>Cumul Autorisé</source>
        <translation>Accumulation allowed</translation>
    </message>
    <message>
        <source>Affichage</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>Affichage crédit badge prioritaire</source>
        <translation>Badge credit display first</translation>
    </message>
    <message>
        <source>Commande  (Ordre 8-1)</source>
        <translation>Output  (order 8-1)</translation>
    </message>
    <message>
        <source>Tarifs/Durées</source>
        <translation>Prices/Durations</translation>
    </message>
    <message>
        <source>Tarif Démarrage</source>
        <translation>Start price</translation>
    </message>
    <message>
        <source>Montant</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>Durée (en seconde)</source>
        <translation>Duration (seconds)</translation>
    </message>
    <message>
        <source>Tarif Renouvellement</source>
        <translation>Renewal price</translation>
    </message>
    <message>
        <source>Appareil 2 (Pour controler 2 appareils)</source>
        <translation>Device 2 (to control 2 devices)</translation>
    </message>
    <message>
        <source>Compteurs Déportés</source>
        <translation>Remote counters</translation>
    </message>
    <message>
        <source>Impulsions</source>
        <translation>Pulses</translation>
    </message>
    <message>
        <source>Haute</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Basse</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Centralisateur</source>
        <translation>Concentrator</translation>
    </message>
    <message>
        <source>Canal 1</source>
        <translation>Channel 1</translation>
    </message>
    <message>
        <source>Type badge</source>
        <translation>Badge type</translation>
    </message>
    <message>
        <source>Type Pièce</source>
        <translation>Coin type</translation>
    </message>
    <message>
        <source>Type Jeton</source>
        <translation>Token type</translation>
    </message>
    <message>
        <source>Impulsion Variable</source>
        <translation>Variable pulse</translation>
    </message>
    <message>
        <source>Canal 2</source>
        <translation>Channel 2</translation>
    </message>
    <message>
        <source>Canal 3</source>
        <translation>Channel 3</translation>
    </message>
    <message>
        <source>Canal 4</source>
        <translation>Channel 4</translation>
    </message>
    <message>
        <source>Canal 5</source>
        <translation>Channel 5</translation>
    </message>
    <message>
        <source>Canal 6</source>
        <translation>Channel 6</translation>
    </message>
    <message>
        <source>Canal 7 (Relais1)</source>
        <translation>Channel 7 (Relay1)</translation>
    </message>
    <message>
        <source>Canal 8 (Relais2)</source>
        <translation>Channel 8 (Relay2)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Canal 7</source>
        <translation>Channel 7</translation>
    </message>
    <message>
        <source>Canal 8</source>
        <translation>Channel 8</translation>
    </message>
    <message>
        <source>Intervalle Impulsion</source>
        <translation>Pulse interval</translation>
    </message>
    <message>
        <source>Min (en centième)</source>
        <translation>Min (hundredths)</translation>
    </message>
    <message>
        <source>Max (en centième)</source>
        <translation>Max (hundredths)</translation>
    </message>
    <message>
        <source>Inhibition/Activation controlé Par Lecteur</source>
        <translation>Inhibit/Enable controlled by reader</translation>
    </message>
    <message>
        <source>Retours Inhibition</source>
        <translation>Inhibit inputs</translation>
    </message>
    <message>
        <source>Retour 1 (Connecteur Accepteur)</source>
        <translation>Input 1 (acceptor connector)</translation>
    </message>
    <message>
        <source>Etat Inhibé</source>
        <translation>Inhibited state</translation>
    </message>
    <message>
        <source>Priorité</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>Texte</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Retour 2 (Connecteur Automate)</source>
        <translation>Input 2 (PLC connector)</translation>
    </message>
    <message>
        <source>Retour 3 (Bouton)</source>
        <translation>Input 3 (button)</translation>
    </message>
    <message>
        <source>Réseau</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Adresse IP</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Mask sous-réseau</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Passerelle</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Serveur DNS 1</source>
        <translation>DNS server 1</translation>
    </message>
    <message>
        <source>Serveur DNS 2</source>
        <translation>DNS server 2</translation>
    </message>
    <message>
        <source>Port HTTP</source>
        <translation>HTTP port</translation>
    </message>
    <message>
        <source>Serveur historique</source>
        <translation>History server</translation>
    </message>
    <message>
        <source>Serveur</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>logiciel</source>
        <translation>software</translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>Config eeprom</source>
        <translation>Eeprom config</translation>
    </message>
    <message>
        <source>Divers</source>
        <translation>Miscellaneous</translation>
    </message>
    <message>
        <source>Heure</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
</context>
<context>
    <name>ParameterTransfer</name>
    <message>
        <source>Aucune modification</source>
        <translation>No change</translation>
    </message>
    <message>
        <source>Save -&gt;Echec</source>
        <translation>Save -&gt;Failed</translation>
    </message>
    <message>
        <source>Get value (</source>
        <translation>Get value (</translation>
    </message>
    <message>
        <source>Lecture Ok</source>
        <translation>Read Ok</translation>
    </message>
    <message>
        <source>Save: -&gt;Echec</source>
        <translation>Save: -&gt;Failed</translation>
    </message>
</context>
<context>
    <name>ParameterTree</name>
    <message>
        <source>Modification à sauvegarder !</source>
        <translation>Changes to save!</translation>
    </message>
</context>
<context>
    <name>PortRow</name>
    <message>
        <source>Deconnecter</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Connecter</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Reconnexion...</source>
        <translation>Reconnecting...</translation>
    </message>
</context>
<context>
    <name>QProtocole</name>
    <message>
        <source>Can&apos;t open %1, error code %2</source>
        <translation>Can&apos;t open %1, error code %2</translation>
    </message>
    <message>
        <source>Ouvert</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Fermé</source>
        <translation>Closed</translation>
    </message>
    <message>
        <source>Port perdu (%1)</source>
        <translation>Port lost (%1)</translation>
    </message>
</context>
<context>
    <name>ReaderClock</name>
    <message>
        <source>Mise à jour OK</source>
        <translation>Update OK</translation>
    </message>
    <message>
        <source>Mise à jour ECHEC</source>
        <translation>Update FAILED</translation>
    </message>
    <message>
        <source>Mise à jour ECHEC : lecteur non connecté</source>
        <translation>Update FAILED: reader not connected</translation>
    </message>
    <message>
        <source>Mise à jour ECHEC : lecteur occupé</source>
        <translation>Update FAILED: reader busy</translation>
    </message>
</context>
<context>
    <name>ReaderConfigTab</name>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>config (*.txt)</source>
        <translation>config (*.txt)</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Configuration enregistrée</source>
        <translation>Configuration saved</translation>
    </message>
    <message>
        <source>Impossible d&apos;ouvrir le fichier</source>
        <translation>Cannot open the file</translation>
    </message>
    <message>
        <source>Origine des données-&gt;Fichier</source>
        <translation>Data source-&gt;File</translation>
    </message>
    <message>
        <source>Configuration chargée</source>
        <translation>Configuration loaded</translation>
    </message>
    <message>
        <source>Sélection du fichier hex</source>
        <translation>Choose the hex file</translation>
    </message>
    <message>
        <source>Prog (*.hex)</source>
        <translation>Prog (*.hex)</translation>
    </message>
    <message>
        <source>MAJ Heure/Date</source>
        <translation>Set Time/Date</translation>
    </message>
</context>
<context>
    <name>SupportStatus</name>
    <message>
        <source>En Liste Noire</source>
        <translation>Blacklisted</translation>
    </message>
    <message>
        <source>Crédit En Erreur</source>
        <translation>Credit Error</translation>
    </message>
    <message>
        <source>Date Validité Erreur</source>
        <translation>Validity Date Error</translation>
    </message>
    <message>
        <source>Dernière écriture erreur</source>
        <translation>Last write error</translation>
    </message>
    <message>
        <source>Intégrité erreur</source>
        <translation>Integrity error</translation>
    </message>
    <message>
        <source>Lecture erreur(</source>
        <translation>Read error(</translation>
    </message>
    <message>
        <source>Support Inconnu</source>
        <translation>Unknown Support</translation>
    </message>
    <message>
        <source>Sécurité inconnue</source>
        <translation>Unknown security</translation>
    </message>
    <message>
        <source>Erreur protocole</source>
        <translation>Protocol error</translation>
    </message>
    <message>
        <source>Support OK</source>
        <translation>Support OK</translation>
    </message>
</context>
<context>
    <name>ZonesEditor</name>
    <message>
        <source>ZONE %1:
</source>
        <translation>ZONE %1:
</translation>
    </message>
    <message>
        <source>ZONE %1:</source>
        <translation>ZONE %1:</translation>
    </message>
    <message>
        <source>Accès</source>
        <translation>Access</translation>
    </message>
    <message>
        <source>Numéro Compteur
associé (0=Illimité)</source>
        <translation>Counter number
used (0=Unlimited)</translation>
    </message>
    <message>
        <source>Numéro Anti-passback
Associé</source>
        <translation>Anti-passback
number</translation>
    </message>
    <message>
        <source>Valeur par défaut</source>
        <translation>Default value</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Attention</source>
        <translation>Warning</translation>
    </message>
</context>
</TS>
