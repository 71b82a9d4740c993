<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AppDelegate</name>
    <message>
        <source>There is no item %1 in the home folder; the home folder is shown instead.</source>
        <translation>Im Basisordner gibt es kein Objekt %1; stattdessen wird der Basisordner gezeigt.</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>To bring files in, open them with Ombrisk from another application, or drop them here.</source>
        <translation>Dateien kommen hierher, wenn sie in einer anderen Anwendung mit Ombrisk geöffnet oder hierher gezogen werden.</translation>
    </message>
    <message>
        <source>Quitting stopped this work before it ended; nothing of it was kept: %1</source>
        <translation>Das Beenden hat diese Arbeit vor ihrem Ende abgebrochen; nichts davon wurde behalten: %1</translation>
    </message>
    <message>
        <source>There is no archive %1 in the home folder; the home folder is shown instead.</source>
        <translation>Im Basisordner gibt es kein Archiv %1; stattdessen wird der Basisordner gezeigt.</translation>
    </message>
</context>
<context>
    <name>ArchiveContentsExtraction</name>
    <message>
        <source>Extracting from “%1”…</source>
        <translation>Entnehmen aus „%1“ …</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n Objekt nach „%1“ entnommen.</numerusform>
            <numerusform>%n Objekte nach „%1“ entnommen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ArchiveContentsViewController</name>
    <message>
        <source>Unicode (UTF-8)</source>
        <translation>Unicode (UTF-8)</translation>
    </message>
    <message>
        <source>DOS Latin US (CP437)</source>
        <translation>DOS Latin US (CP437)</translation>
    </message>
    <message>
        <source>DOS Cyrillic (CP866)</source>
        <translation>DOS Kyrillisch (CP866)</translation>
    </message>
    <message>
        <source>Windows Cyrillic (CP1251)</source>
        <translation>Windows Kyrillisch (CP1251)</translation>
    </message>
    <message>
        <source>Chinese Simplified (GBK)</source>
        <translation>Chinesisch vereinfacht (GBK)</translation>
    </message>
    <message>
        <source>Japanese (Shift-JIS)</source>
        <translation>Japanisch (Shift-JIS)</translation>
    </message>
    <message>
        <source>Korean (EUC-KR)</source>
        <translation>Koreanisch (EUC-KR)</translation>
    </message>
    <message>
        <source>Windows Western (Windows-1252)</source>
        <translation>Windows Westeuropäisch (Windows-1252)</translation>
    </message>
    <message>
        <source>No private folder could be made for the entry. Check that the temporary folder can be written.</source>
        <translation>Für den Eintrag konnte kein privater Ordner angelegt werden. Prüfen Sie, ob in den temporären Ordner geschrieben werden kann.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>Extract</source>
        <translation>Entnehmen</translation>
    </message>
    <message>
        <source>Name Encoding</source>
        <translation>Namenskodierung</translation>
    </message>
    <message>
        <source>Names this zip doesn&apos;t mark as Unicode are read with the code page chosen, in this list and in what is extracted from it.</source>
        <translation>Namen, die dieses Zip-Archiv nicht als Unicode kennzeichnet, werden mit der gewählten Codepage gelesen, in dieser Liste und in dem, was daraus entnommen wird.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ArchiveEntryCopy</name>
    <message>
        <source>No private folder could be made for the entry.</source>
        <translation>Für den Eintrag konnte kein privater Ordner angelegt werden.</translation>
    </message>
</context>
<context>
    <name>ArchiveErrors</name>
    <message>
        <source>password protected zip file</source>
        <translation>passwortgeschützte Zip-Datei</translation>
    </message>
    <message>
        <source>password protected rar file</source>
        <translation>passwortgeschützte RAR-Datei</translation>
    </message>
    <message>
        <source>password protected 7z file</source>
        <translation>passwortgeschützte 7z-Datei</translation>
    </message>
    <message>
        <source>password protected archive</source>
        <translation>passwortgeschütztes Archiv</translation>
    </message>
    <message>
        <source>incorrect password</source>
        <translation>falsches Passwort</translation>
    </message>
    <message>
        <source>The archive was not unpacked: its entry “%1” %2. Nothing was written.</source>
        <translation>Das Archiv wurde nicht entpackt: Sein Eintrag „%1“ %2. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Not enough free space: the archive unpacks to %1 but only %2 are free. Nothing was written.</source>
        <translation>Nicht genug freier Speicher: Entpackt braucht das Archiv %1, frei sind nur %2. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The disk filled up while unpacking. Nothing was kept; free some space and try again.</source>
        <translation>Der Datenträger wurde beim Entpacken voll. Es wurde nichts behalten; schaffen Sie Platz und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The disk filled up while unpacking “%1”. Nothing was kept; free some space and try again.</source>
        <translation>Der Datenträger wurde beim Entpacken von „%1“ voll. Es wurde nichts behalten; schaffen Sie Platz und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>this kind of zip encryption is not supported</source>
        <translation>diese Art der Zip-Verschlüsselung wird nicht unterstützt</translation>
    </message>
    <message>
        <source>this kind of RAR encryption is not supported</source>
        <translation>diese Art der RAR-Verschlüsselung wird nicht unterstützt</translation>
    </message>
    <message>
        <source>Cancelled. Nothing was changed.</source>
        <translation>Abgebrochen. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The archive can&apos;t be read; it may be damaged or incomplete (%1).</source>
        <translation>Das Archiv kann nicht gelesen werden; es ist vielleicht beschädigt oder unvollständig (%1).</translation>
    </message>
    <message>
        <source>“%1” could not be written: %2.</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>The helper program %1 failed: %2</source>
        <translation>Das Hilfsprogramm %1 ist gescheitert: %2</translation>
    </message>
    <message>
        <source>“%1” is not an archive of a kind that can be opened.</source>
        <translation>„%1“ ist kein Archiv einer Art, die geöffnet werden kann.</translation>
    </message>
    <message>
        <source>a folder of the same name is in the archive too</source>
        <translation>ein gleichnamiger Ordner ist ebenfalls im Archiv</translation>
    </message>
    <message>
        <source>is a hard link to a file outside the archive</source>
        <translation>ist ein harter Link auf eine Datei außerhalb des Archivs</translation>
    </message>
    <message>
        <source>“%1” does not exist</source>
        <translation>„%1“ existiert nicht</translation>
    </message>
    <message>
        <source>not an archive of this kind</source>
        <translation>kein Archiv dieser Art</translation>
    </message>
    <message>
        <source>%1 holds more data than it declares</source>
        <translation>%1 enthält mehr Daten als angegeben</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>is a link pointing out of the destination folder</source>
        <translation>ist eine Verknüpfung, die aus dem Zielordner hinaus zeigt</translation>
    </message>
    <message>
        <source>a file of that name is in the way of the destination folder</source>
        <translation>eine gleichnamige Datei steht dem Zielordner im Weg</translation>
    </message>
    <message>
        <source>it is not installed</source>
        <translation>es ist nicht installiert</translation>
    </message>
    <message>
        <source>it crashed</source>
        <translation>es ist abgestürzt</translation>
    </message>
    <message>
        <source>no private folder could be made</source>
        <translation>es konnte kein privater Ordner angelegt werden</translation>
    </message>
    <message>
        <source>the data is damaged</source>
        <translation>die Daten sind beschädigt</translation>
    </message>
    <message>
        <source>the data fails its authentication check</source>
        <translation>die Daten bestehen ihre Echtheitsprüfung nicht</translation>
    </message>
    <message>
        <source>%1 is shorter than it declares</source>
        <translation>%1 ist kürzer als angegeben</translation>
    </message>
    <message>
        <source>“%1” is a folder; a zip archive can&apos;t replace it.</source>
        <translation>„%1“ ist ein Ordner; ein Zip-Archiv kann ihn nicht ersetzen.</translation>
    </message>
    <message>
        <source>The zip archive “%1” can&apos;t be one of the items it packs, nor lie inside them.</source>
        <translation>Das Zip-Archiv „%1“ kann weder eines der Objekte sein, die es packt, noch in ihnen liegen.</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>es existiert nicht mehr</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be packed: %2. No zip was made.</source>
        <translation>„%1“ kann nicht gepackt werden: %2. Es wurde kein Zip-Archiv erstellt.</translation>
    </message>
    <message>
        <source>The archive was not unpacked: its entry “%1” would replace %2 of the destination folder. Nothing was changed; move that item away or unpack into another folder.</source>
        <translation>Das Archiv wurde nicht entpackt: Sein Eintrag „%1“ würde %2 im Zielordner ersetzen. Es wurde nichts verändert; verschieben Sie dieses Objekt oder entpacken Sie in einen anderen Ordner.</translation>
    </message>
    <message>
        <source>has a link or a file in the place of one of its folders</source>
        <translation>hat eine Verknüpfung oder Datei an der Stelle eines seiner Ordner</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>einen Ordner</translation>
    </message>
    <message>
        <source>a link</source>
        <translation>eine Verknüpfung</translation>
    </message>
    <message>
        <source>a file</source>
        <translation>eine Datei</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>eine Spezialdatei</translation>
    </message>
    <message>
        <source>it is no longer a file</source>
        <translation>es ist keine Datei mehr</translation>
    </message>
    <message>
        <source>it is a fifo, socket or device, which a zip can&apos;t hold</source>
        <translation>es ist eine FIFO, ein Socket oder ein Gerät, was ein Zip-Archiv nicht aufnehmen kann</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>%n weiteres</numerusform>
            <numerusform>%n weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it had already replaced could not be put back: %2. They are in the Trash, in the folder “%3”.</source>
        <translation>
            <numerusform>Das Archiv wurde nicht entpackt: Das Zusammenführen hielt bei „%1“ an, und %n bereits ersetztes Objekt konnte nicht zurückgelegt werden: %2. Es liegt im Papierkorb, im Ordner „%3“.</numerusform>
            <numerusform>Das Archiv wurde nicht entpackt: Das Zusammenführen hielt bei „%1“ an, und %n bereits ersetzte Objekte konnten nicht zurückgelegt werden: %2. Sie liegen im Papierkorb, im Ordner „%3“.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it had already replaced could not be put back: %2. They are in the folder “%3” in the destination.</source>
        <translation>
            <numerusform>Das Archiv wurde nicht entpackt: Das Zusammenführen hielt bei „%1“ an, und %n bereits ersetztes Objekt konnte nicht zurückgelegt werden: %2. Es liegt im Ordner „%3“ im Ziel.</numerusform>
            <numerusform>Das Archiv wurde nicht entpackt: Das Zusammenführen hielt bei „%1“ an, und %n bereits ersetzte Objekte konnten nicht zurückgelegt werden: %2. Sie liegen im Ordner „%3“ im Ziel.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it had already replaced could not be put back: %2. They are in the hidden folder “%3”.</source>
        <translation>
            <numerusform>Das Archiv wurde nicht entpackt: Das Zusammenführen hielt bei „%1“ an, und %n bereits ersetztes Objekt konnte nicht zurückgelegt werden: %2. Es liegt im versteckten Ordner „%3“.</numerusform>
            <numerusform>Das Archiv wurde nicht entpackt: Das Zusammenführen hielt bei „%1“ an, und %n bereits ersetzte Objekte konnten nicht zurückgelegt werden: %2. Sie liegen im versteckten Ordner „%3“.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is not a file: a folder, fifo or device is never read as an archive.</source>
        <translation>„%1“ ist keine Datei: Ein Ordner, eine FIFO oder ein Gerät wird nie als Archiv gelesen.</translation>
    </message>
    <message>
        <source>the zip is split across several files</source>
        <translation>das Zip-Archiv ist auf mehrere Dateien verteilt</translation>
    </message>
    <message>
        <source>the Zip64 end record is missing</source>
        <translation>der Zip64-Endeintrag fehlt</translation>
    </message>
    <message>
        <source>its end record contradicts itself</source>
        <translation>sein Endeintrag widerspricht sich selbst</translation>
    </message>
    <message>
        <source>the central directory is not where its end record says</source>
        <translation>das zentrale Verzeichnis liegt nicht dort, wo sein Endeintrag es angibt</translation>
    </message>
    <message>
        <source>it is not a zip file</source>
        <translation>es ist keine Zip-Datei</translation>
    </message>
    <message>
        <source>its central directory does not hold the entries its end record counts</source>
        <translation>sein zentrales Verzeichnis enthält nicht die Einträge, die sein Endeintrag zählt</translation>
    </message>
    <message>
        <source>a central directory record is missing</source>
        <translation>ein Eintrag des zentralen Verzeichnisses fehlt</translation>
    </message>
    <message>
        <source>a central directory record is cut short</source>
        <translation>ein Eintrag des zentralen Verzeichnisses ist abgeschnitten</translation>
    </message>
    <message>
        <source>an entry lacks its Zip64 sizes</source>
        <translation>einem Eintrag fehlen seine Zip64-Größen</translation>
    </message>
    <message>
        <source>its names are too long</source>
        <translation>seine Namen sind zu lang</translation>
    </message>
    <message>
        <source>the data fails its CRC check</source>
        <translation>die Daten bestehen ihre CRC-Prüfung nicht</translation>
    </message>
    <message>
        <source>the entry is cut short</source>
        <translation>der Eintrag ist abgeschnitten</translation>
    </message>
    <message>
        <source>its compression method (%1) is not supported</source>
        <translation>seine Kompressionsmethode (%1) wird nicht unterstützt</translation>
    </message>
    <message>
        <source>its local header is missing</source>
        <translation>sein lokaler Kopf fehlt</translation>
    </message>
    <message>
        <source>“%1” already exists; nothing was packed. Choose another name.</source>
        <translation>„%1“ existiert bereits; es wurde nichts gepackt. Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>it is a link to “%1”, which is not there</source>
        <translation>es ist eine Verknüpfung auf „%1“, das nicht vorhanden ist</translation>
    </message>
    <message>
        <source>it is a link to “%1”, a folder or special file outside the items packed; pack that itself instead</source>
        <translation>es ist eine Verknüpfung auf „%1“, einen Ordner oder eine Spezialdatei außerhalb der gepackten Objekte; packen Sie stattdessen dieses selbst</translation>
    </message>
    <message>
        <source>The archive has no entry “%1”; it may have changed since it was listed. Open it again.</source>
        <translation>Das Archiv hat keinen Eintrag „%1“; es hat sich vielleicht geändert, seit es gelesen wurde. Öffnen Sie es erneut.</translation>
    </message>
    <message>
        <source>The archive was not unpacked: the disk does not allow the name of its entry “%1” (disks made for Windows refuse ? : * &quot; &lt; &gt; | and names ending in a dot or a space). Nothing was changed; unpack onto another disk.</source>
        <translation>Das Archiv wurde nicht entpackt: Der Datenträger erlaubt den Namen seines Eintrags „%1“ nicht (für Windows eingerichtete Datenträger lehnen ? : * &quot; &lt; &gt; | und Namen ab, die auf einen Punkt oder ein Leerzeichen enden). Es wurde nichts verändert; entpacken Sie auf einen anderen Datenträger.</translation>
    </message>
    <message>
        <source>a file of that name is in the way</source>
        <translation>eine gleichnamige Datei steht im Weg</translation>
    </message>
    <message>
        <source>“%1” could not be read: %2.</source>
        <translation>„%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The folder “%1” could not be listed: %2.</source>
        <translation>Der Inhalt des Ordners „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The private folder for unpacking into “%1” could not be set up: %2.</source>
        <translation>Der private Ordner zum Entpacken nach „%1“ konnte nicht eingerichtet werden: %2.</translation>
    </message>
    <message>
        <source>The unpacked items could not be gone through to move them into place: %1.</source>
        <translation>Die entpackten Objekte konnten nicht durchgegangen werden, um sie an ihren Platz zu bringen: %1.</translation>
    </message>
</context>
<context>
    <name>BusInstanceChannel</name>
    <message>
        <source>Ombrisk is already running for this folder but did not answer (%1). End it, then try again.</source>
        <translation>Ombrisk läuft für diesen Ordner schon, antwortet aber nicht (%1). Bitte es beenden und dann erneut versuchen.</translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message numerus="yes">
        <source>%Ln byte(s)</source>
        <translation>
            <numerusform>%Ln Byte</numerusform>
            <numerusform>%Ln Byte</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ComicCover</name>
    <message>
        <source>“%1” holds no picture to show.</source>
        <translation>„%1“ enthält kein Bild, das gezeigt werden kann.</translation>
    </message>
</context>
<context>
    <name>CompressDialog</name>
    <message>
        <source>Compress file</source>
        <translation>Datei komprimieren</translation>
    </message>
    <message>
        <source>Please enter password for this file.</source>
        <translation>Bitte das Passwort für diese Datei eingeben.</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CompressQueue</name>
    <message>
        <source>Opening “%1”…</source>
        <translation>„%1“ wird geöffnet …</translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation>Wird abgeschlossen …</translation>
    </message>
    <message>
        <source>%1 failed, and no reason was given.</source>
        <translation>%1 ist fehlgeschlagen, ohne dass ein Grund genannt wurde.</translation>
    </message>
</context>
<context>
    <name>CopyIntoFolder</name>
    <message>
        <source>Copying...</source>
        <translation>Wird kopiert …</translation>
    </message>
</context>
<context>
    <name>DefaultApplication</name>
    <message>
        <source>“%1” could not be opened: no application for it was found. Install one that opens files of this kind.</source>
        <translation>„%1“ konnte nicht geöffnet werden: Es wurde keine Anwendung dafür gefunden. Installieren Sie eine, die Dateien dieser Art öffnet.</translation>
    </message>
</context>
<context>
    <name>EntryChecks</name>
    <message>
        <source>has a NUL character in its name</source>
        <translation>hat ein NUL-Zeichen im Namen</translation>
    </message>
    <message>
        <source>has an absolute path</source>
        <translation>hat einen absoluten Pfad</translation>
    </message>
    <message>
        <source>climbs out of the destination folder with “..”</source>
        <translation>steigt mit „..“ aus dem Zielordner heraus</translation>
    </message>
    <message>
        <source>has an empty name</source>
        <translation>hat einen leeren Namen</translation>
    </message>
    <message>
        <source>is a link with no target</source>
        <translation>ist eine Verknüpfung ohne Ziel</translation>
    </message>
    <message>
        <source>is a link to an absolute path outside the destination</source>
        <translation>ist eine Verknüpfung auf einen absoluten Pfad außerhalb des Ziels</translation>
    </message>
    <message>
        <source>is a link whose target holds a NUL character</source>
        <translation>ist eine Verknüpfung, deren Ziel ein NUL-Zeichen enthält</translation>
    </message>
    <message>
        <source>is a link pointing out of the destination folder</source>
        <translation>ist eine Verknüpfung, die aus dem Zielordner hinaus zeigt</translation>
    </message>
    <message>
        <source>is a device, fifo or socket, which is never unpacked</source>
        <translation>ist ein Gerät, eine FIFO oder ein Socket, was nie entpackt wird</translation>
    </message>
    <message>
        <source>has the set-user-ID or set-group-ID bit</source>
        <translation>hat das Set-User-ID- oder Set-Group-ID-Bit</translation>
    </message>
    <message>
        <source>is nested more than %1 levels deep</source>
        <translation>ist mehr als %1 Ebenen tief verschachtelt</translation>
    </message>
</context>
<context>
    <name>EntryChecks::EntrySetChecker</name>
    <message>
        <source>would be written through a symbolic link</source>
        <translation>würde durch eine symbolische Verknüpfung geschrieben</translation>
    </message>
    <message>
        <source>is a link that would replace a folder of the archive</source>
        <translation>ist eine Verknüpfung, die einen Ordner des Archivs ersetzen würde</translation>
    </message>
    <message>
        <source>is a hard link to a file outside the archive</source>
        <translation>ist ein harter Link auf eine Datei außerhalb des Archivs</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>The cache folder could not be marked for backup tools: %1. Thumbnails may end up in backups.</source>
        <translation>Der Zwischenspeicher-Ordner ließ sich für Sicherungsprogramme nicht kennzeichnen: %1. Vorschaubilder können in Sicherungen landen.</translation>
    </message>
    <message>
        <source>The root folder can&apos;t be removed.</source>
        <translation>Der oberste Ordner lässt sich nicht entfernen.</translation>
    </message>
    <message>
        <source>The name is empty. Type a name.</source>
        <translation>Der Name ist leer. Bitte einen Namen eingeben.</translation>
    </message>
    <message>
        <source>“.” can&apos;t be used as a name: it stands for the folder itself. Choose another name.</source>
        <translation>„.“ kann kein Name sein: Es steht für den Ordner selbst. Bitte einen anderen Namen wählen.</translation>
    </message>
    <message>
        <source>“..” can&apos;t be used as a name: it stands for the enclosing folder. Choose another name.</source>
        <translation>„..“ kann kein Name sein: Es steht für den übergeordneten Ordner. Bitte einen anderen Namen wählen.</translation>
    </message>
    <message>
        <source>The name holds a NUL character, which no file name may contain. Type the name again.</source>
        <translation>Der Name enthält ein NUL-Zeichen, das in keinem Dateinamen stehen darf. Bitte den Namen erneut eingeben.</translation>
    </message>
    <message>
        <source>A name can&apos;t contain “/”. Choose a name without it.</source>
        <translation>Ein Name darf kein „/“ enthalten. Bitte einen Namen ohne wählen.</translation>
    </message>
    <message>
        <source>A folder name can&apos;t start with “/”. Type a name without it.</source>
        <translation>Ein Ordnername darf nicht mit „/“ beginnen. Bitte einen Namen ohne eingeben.</translation>
    </message>
    <message>
        <source>Check that you may change this item and its folder, then try again.</source>
        <translation>Bitte prüfen, ob Sie dieses Objekt und seinen Ordner ändern dürfen, und es dann erneut versuchen.</translation>
    </message>
    <message>
        <source>Free some space, then try again.</source>
        <translation>Bitte Platz schaffen und erneut versuchen.</translation>
    </message>
    <message>
        <source>Choose a shorter name.</source>
        <translation>Bitte einen kürzeren Namen wählen.</translation>
    </message>
    <message>
        <source>Try again.</source>
        <translation>Bitte erneut versuchen.</translation>
    </message>
    <message>
        <source>No item was given to work on. This is a fault of the application; please report it.</source>
        <translation>Es wurde kein Objekt zum Bearbeiten angegeben. Das ist ein Fehler der Anwendung; bitte melden Sie ihn.</translation>
    </message>
    <message>
        <source>The path of the item holds a NUL character, which no file name may contain.</source>
        <translation>Der Pfad des Objekts enthält ein NUL-Zeichen, das in keinem Dateinamen stehen darf.</translation>
    </message>
    <message>
        <source>A name of spaces alone can&apos;t be seen in the list. Type a name.</source>
        <translation>Ein Name nur aus Leerzeichen ist in der Liste nicht zu sehen. Bitte einen Namen eingeben.</translation>
    </message>
    <message>
        <source>“%1” could not be moved: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>„%1“ ließ sich nicht verschieben: %2. %3</translation>
    </message>
    <message>
        <source>“%1” could not be copied to the other disk: %2. Nothing was moved; the original is unchanged.</source>
        <translation>„%1“ ließ sich nicht auf das andere Laufwerk kopieren: %2. Nichts wurde verschoben; das Original ist unverändert.</translation>
    </message>
    <message>
        <source>“%1” was copied to its new place, but the original could not be removed: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>„%1“ wurde an seinen neuen Ort kopiert, aber das Original ließ sich nicht entfernen: %2. %3</translation>
    </message>
    <message>
        <source>“%1” could not be replaced: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>„%1“ ließ sich nicht ersetzen: %2. %3</translation>
    </message>
    <message>
        <source>“%1” no longer exists. Refresh the list and try again.</source>
        <translation>„%1“ gibt es nicht mehr. Bitte die Liste aktualisieren und es erneut versuchen.</translation>
    </message>
    <message>
        <source>The folder “%1” could not be made because a file stands in its way. Rename or remove the file, then try again.</source>
        <translation>Der Ordner „%1“ ließ sich nicht anlegen, weil eine Datei im Weg ist. Bitte die Datei umbenennen oder entfernen und es dann erneut versuchen.</translation>
    </message>
    <message>
        <source>The folder “%1” could not be made: %2. %3</source>
        <extracomment>%1 is the folder, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>Der Ordner „%1“ ließ sich nicht anlegen: %2. %3</translation>
    </message>
    <message>
        <source>“%1” could not be removed completely: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>„%1“ ließ sich nicht vollständig entfernen: %2. %3</translation>
    </message>
    <message>
        <source>There is already an item named “%1” in this folder. Choose another name.</source>
        <translation>In diesem Ordner gibt es schon ein Objekt namens „%1“. Bitte einen anderen Namen wählen.</translation>
    </message>
    <message>
        <source>“%1” could not be renamed: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>„%1“ ließ sich nicht umbenennen: %2. %3</translation>
    </message>
    <message>
        <source>The folder “%1” can&apos;t be moved into itself or one of its own folders. Choose another destination.</source>
        <translation>Der Ordner „%1“ lässt sich nicht in sich selbst oder einen seiner eigenen Ordner verschieben. Bitte ein anderes Ziel wählen.</translation>
    </message>
    <message>
        <source>An item named “%1” already exists there. Rename or remove one of them, then try again.</source>
        <translation>Dort gibt es schon ein Objekt namens „%1“. Bitte eines davon umbenennen oder entfernen und es dann erneut versuchen.</translation>
    </message>
    <message>
        <source>“%1” can&apos;t replace “%2”, because “%2” holds it. Choose another destination.</source>
        <translation>„%1“ kann „%2“ nicht ersetzen, weil „%2“ es enthält. Bitte ein anderes Ziel wählen.</translation>
    </message>
    <message>
        <source>“%1” leads through a link to a place outside this folder. Choose another name.</source>
        <translation>„%1“ führt über eine Verknüpfung an einen Ort außerhalb dieses Ordners. Bitte einen anderen Namen wählen.</translation>
    </message>
    <message>
        <source>A folder named “%1” already exists here. Choose another name.</source>
        <translation>Hier gibt es schon einen Ordner namens „%1“. Bitte einen anderen Namen wählen.</translation>
    </message>
</context>
<context>
    <name>FilePreviewController</name>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>FilePreviewView</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>InboxCopy</name>
    <message>
        <source>“%1” could not be copied: %2. Check that it can be read and that there is space left, then hand it over again.</source>
        <translation>„%1“ ließ sich nicht kopieren: %2. Bitte prüfen, ob die Datei lesbar und noch Platz frei ist, und sie dann erneut übergeben.</translation>
    </message>
    <message>
        <source>“%1” is not a file. Only files can be handed over to Ombrisk.</source>
        <translation>„%1“ ist keine Datei. An Ombrisk lassen sich nur Dateien übergeben.</translation>
    </message>
</context>
<context>
    <name>IncomingFile</name>
    <message>
        <source>“%1” is not in the Inbox. Hand the file over to Ombrisk again.</source>
        <translation>„%1“ liegt nicht im Eingang (Inbox). Bitte die Datei erneut an Ombrisk übergeben.</translation>
    </message>
    <message>
        <source>“%1” could not be brought into the home folder. %2</source>
        <translation>„%1“ ließ sich nicht in den Basisordner bringen. %2</translation>
    </message>
</context>
<context>
    <name>ItemCopy</name>
    <message>
        <source>Check that you may read it and add items to the destination, then try again.</source>
        <translation>Prüfen Sie, ob Sie es lesen und dem Ziel Objekte hinzufügen dürfen, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Free some space, then try again.</source>
        <translation>Schaffen Sie Platz und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Try again.</source>
        <translation>Versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The copy of “%1” was cancelled; nothing of it was kept.</source>
        <translation>Das Kopieren von „%1“ wurde abgebrochen; nichts davon wurde behalten.</translation>
    </message>
    <message>
        <source>“%1” is a pipe, socket or device, which can&apos;t be copied.</source>
        <translation>„%1“ ist eine Pipe, ein Socket oder ein Gerät und kann nicht kopiert werden.</translation>
    </message>
    <message>
        <source>“%1” could not be copied: “%2” in it is a pipe, socket or device, which can&apos;t be copied.</source>
        <translation>„%1“ konnte nicht kopiert werden: „%2“ darin ist eine Pipe, ein Socket oder ein Gerät und kann nicht kopiert werden.</translation>
    </message>
    <message>
        <source>“%1” could not be copied: %2. %3</source>
        <extracomment>%1 the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation>„%1“ konnte nicht kopiert werden: %2. %3</translation>
    </message>
    <message>
        <source>“%1” could not be copied: “%2” in it failed: %3. %4</source>
        <translation>„%1“ konnte nicht kopiert werden: „%2“ darin ist gescheitert: %3. %4</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be copied into itself. Choose another folder.</source>
        <translation>„%1“ kann nicht in sich selbst kopiert werden. Wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>“%1” was not copied: an item of that name came into the folder meanwhile. Nothing was replaced; try again.</source>
        <translation>„%1“ wurde nicht kopiert: Inzwischen kam ein gleichnamiges Objekt in den Ordner. Es wurde nichts ersetzt; versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>ItemDeletion</name>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb</translation>
    </message>
    <message>
        <source>Delete from local folder</source>
        <translation>Aus dem lokalen Ordner löschen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>“%1” will be moved to the Trash.</source>
        <translation>„%1“ wird in den Papierkorb verschoben.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) will be moved to the Trash.</source>
        <translation>
            <numerusform>%n Objekt wird in den Papierkorb verschoben.</numerusform>
            <numerusform>%n Objekte werden in den Papierkorb verschoben.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” will be deleted and cannot be recovered.</source>
        <translation>„%1“ wird gelöscht und kann nicht wiederhergestellt werden.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) will be deleted and cannot be recovered.</source>
        <translation>
            <numerusform>%n Objekt wird gelöscht und kann nicht wiederhergestellt werden.</numerusform>
            <numerusform>%n Objekte werden gelöscht und können nicht wiederhergestellt werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Moving to the Trash...</source>
        <translation>Wird in den Papierkorb verschoben …</translation>
    </message>
    <message>
        <source>Deleting...</source>
        <translation>Wird gelöscht …</translation>
    </message>
    <message>
        <source>“%1” was moved to the Trash.</source>
        <translation>„%1“ wurde in den Papierkorb verschoben.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were moved to the Trash.</source>
        <translation>
            <numerusform>%n Objekt wurde in den Papierkorb verschoben.</numerusform>
            <numerusform>%n Objekte wurden in den Papierkorb verschoben.</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Putting back...</source>
        <translation>Wird zurückgelegt …</translation>
    </message>
    <message>
        <source>The Trash now holds %1. Empty it on the Trash screen to free the space.</source>
        <translation>Der Papierkorb enthält jetzt %1. Zum Freigeben des Platzes den Papierkorb leeren.</translation>
    </message>
</context>
<context>
    <name>KPDocumentPickerPage</name>
    <message>
        <source>Position in the list</source>
        <translation>Position in der Liste</translation>
    </message>
</context>
<context>
    <name>KPDocumentPickerViewController</name>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Folder is Empty</source>
        <translation>Ordner ist leer</translation>
    </message>
    <message>
        <source>No Results Found</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>Select None</source>
        <translation>Keine auswählen</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) selected</source>
        <translation>
            <numerusform>%n Objekt ausgewählt</numerusform>
            <numerusform>%n Objekte ausgewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>The two counts of the footer, &quot;1 folder, 3 files&quot;; %1 is the folders&apos;, %2 the files&apos;.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s)</source>
        <translation>
            <numerusform>%n Ordner</numerusform>
            <numerusform>%n Ordner</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>No files or folders found</source>
        <translation>Keine Dateien oder Ordner gefunden</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) found.</source>
        <translation>
            <numerusform>%n Objekt gefunden.</numerusform>
            <numerusform>%n Objekte gefunden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Edit mode: select the items to act on.</source>
        <translation>Auswahl: die Objekte auswählen, mit denen etwas geschehen soll.</translation>
    </message>
    <message>
        <source>Edit mode ended.</source>
        <translation>Auswahl beendet.</translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <source>Unknown option: %1</source>
        <translation>Unbekannte Option: %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--window-size wants WIDTHxHEIGHT, such as 420x760</source>
        <translation>--window-size erwartet BREITExHÖHE, etwa 420x760</translation>
    </message>
    <message>
        <source>Usage: ombrisk [OPTION]... [FILE|URL]...
A file manager and archiver for one folder tree of its own.
Each FILE is copied to the top of the home folder (an archive is unpacked
there); when Ombrisk already runs for the same folder tree, it takes the
files and comes to the front, and this start ends.

  --open PATH         open PATH of the home folder, as &quot;/A/B&quot;: a folder is
                      shown, a file opened as a tap on it opens it
  --info PATH         show the properties of the item PATH of the home folder
  --contents PATH     show what the archive PATH of the home folder holds;
                      an inner folder may follow, as &quot;/A/Pack.zip/docs&quot;
  --root DIR          keep the home and cache folders in DIR
  --window-size WxH   the window&apos;s size in points, as 420x760
  --screenshot FILE   save the window as a PNG once listed, then quit
  -h, --help          show this help and quit
</source>
        <translation>Aufruf: ombrisk [OPTION]... [DATEI|URL]...
Ein Dateimanager und Archivprogramm für einen eigenen Ordnerbaum.
Jede DATEI wird oben in den Basisordner kopiert (ein Archiv wird dort
entpackt); läuft Ombrisk schon für denselben Ordnerbaum, nimmt es die
Dateien an und kommt nach vorn, und dieser Start endet.

  --open PFAD         PFAD des Basisordners öffnen, etwa &quot;/A/B&quot;: ein Ordner wird
                      gezeigt, eine Datei geöffnet wie bei einem Tippen darauf
  --info PFAD         die Eigenschaften des Objekts PFAD im Basisordner zeigen
  --contents PFAD     zeigen, was das Archiv PFAD des Basisordners enthält;
                      ein innerer Ordner darf folgen, etwa &quot;/A/Pack.zip/docs&quot;
  --root ORDNER       Basis- und Cache-Ordner in ORDNER anlegen
  --window-size BxH   die Fenstergröße in Punkten, etwa 420x760
  --screenshot DATEI  das Fenster nach dem Auflisten als PNG sichern, dann beenden
  -h, --help          diese Hilfe zeigen und beenden
</translation>
    </message>
</context>
<context>
    <name>ListingArchiveWorkflows</name>
    <message>
        <source>“%1” already exists; the archive is saved as “%2”.</source>
        <translation>„%1“ gibt es schon; das Archiv wird als „%2“ gesichert.</translation>
    </message>
    <message>
        <source>Packing “%1”…</source>
        <translation>„%1“ wird gepackt …</translation>
    </message>
    <message>
        <source>“%1” is packed.</source>
        <translation>„%1“ ist gepackt.</translation>
    </message>
    <message>
        <source>%1 contents</source>
        <translation>%1 Inhalt</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were replaced; they are in the Trash, in “%1”.</source>
        <translation>
            <numerusform>%n Objekt wurde ersetzt; es liegt im Papierkorb, in „%1“.</numerusform>
            <numerusform>%n Objekte wurden ersetzt; sie liegen im Papierkorb, in „%1“.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were replaced; they are kept in “%1”.</source>
        <translation>
            <numerusform>%n Objekt wurde ersetzt; es bleibt in „%1“ erhalten.</numerusform>
            <numerusform>%n Objekte wurden ersetzt; sie bleiben in „%1“ erhalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Unpacking “%1”…</source>
        <translation>„%1“ wird entpackt …</translation>
    </message>
    <message>
        <source>“%1” is unpacked.</source>
        <translation>„%1“ ist entpackt.</translation>
    </message>
    <message>
        <source>Unpacking “%1” was cancelled; its folder was not made.</source>
        <translation>Das Entpacken von „%1“ wurde abgebrochen; sein Ordner wurde nicht angelegt.</translation>
    </message>
</context>
<context>
    <name>ListingFileActions</name>
    <message>
        <source>Delete failed</source>
        <translation>Löschen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Please enter a name.</source>
        <translation>Bitte einen Namen eingeben.</translation>
    </message>
    <message>
        <source>New Name</source>
        <translation>Neuer Name</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Rename failed</source>
        <translation>Umbenennen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation>Verschieben fehlgeschlagen</translation>
    </message>
    <message>
        <source>“%1” will move where you paste it.</source>
        <translation>„%1“ wird dorthin verschoben, wo Sie es einfügen.</translation>
    </message>
    <message numerus="yes">
        <source>%n items will move where you paste them.</source>
        <translation>
            <numerusform>%n Objekt wird dorthin verschoben, wo Sie es einfügen.</numerusform>
            <numerusform>%n Objekte werden dorthin verschoben, wo Sie sie einfügen.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is copied: paste it into any folder.</source>
        <translation>„%1“ ist kopiert: Fügen Sie es in einen beliebigen Ordner ein.</translation>
    </message>
    <message numerus="yes">
        <source>%n items are copied: paste them into any folder.</source>
        <translation>
            <numerusform>%n Objekt ist kopiert: Fügen Sie es in einen beliebigen Ordner ein.</numerusform>
            <numerusform>%n Objekte sind kopiert: Fügen Sie sie in einen beliebigen Ordner ein.</numerusform>
        </translation>
    </message>
    <message>
        <source>There is nothing to paste. Copy or cut some items first.</source>
        <translation>Es gibt nichts einzufügen. Kopieren oder schneiden Sie zuerst Objekte aus.</translation>
    </message>
    <message>
        <source>Paste failed</source>
        <translation>Einfügen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Duplicate failed</source>
        <translation>Duplizieren fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>ListingToolbar</name>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Compress</source>
        <translation>Komprimieren</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>LocalFilePreviewViewController</name>
    <message>
        <source>Rename failed</source>
        <translation>Umbenennen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open With Default App</source>
        <translation>Mit Standard-App öffnen</translation>
    </message>
</context>
<context>
    <name>LocalFolderSelectorViewController</name>
    <message>
        <source>Select file</source>
        <translation>Datei auswählen</translation>
    </message>
    <message>
        <source>Select Save Folder</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>LocalStorageViewController</name>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Umbenennen …</translation>
    </message>
    <message>
        <source>Move...</source>
        <translation>Verschieben …</translation>
    </message>
    <message>
        <source>Info...</source>
        <translation>Informationen …</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>“%1” is kept but not shown. Names beginning with a dot are hidden.</source>
        <translation>„%1“ bleibt erhalten, wird aber nicht angezeigt. Namen, die mit einem Punkt beginnen, sind verborgen.</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Open With Default App</source>
        <translation>Mit Standard-App öffnen</translation>
    </message>
    <message>
        <source>Show Contents</source>
        <translation>Inhalt zeigen</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be shown here.</source>
        <translation>„%1“ kann hier nicht gezeigt werden.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Drop files here to bring them into the home folder</source>
        <translation>Dateien hier ablegen, um sie in den Basisordner zu bringen</translation>
    </message>
</context>
<context>
    <name>MoveIntoFolder</name>
    <message>
        <source>“%1” can&apos;t replace the folder holding it. Choose another destination.</source>
        <translation>„%1“ kann den Ordner, in dem es liegt, nicht ersetzen. Bitte ein anderes Ziel wählen.</translation>
    </message>
    <message>
        <source>Moving...</source>
        <translation>Wird verschoben …</translation>
    </message>
    <message>
        <source>Nothing took the place of “%1”: the item of that name there could not be moved to the Trash. %2</source>
        <translation>Nichts hat den Platz von „%1“ eingenommen: Das gleichnamige Objekt dort konnte nicht in den Papierkorb verschoben werden. %2</translation>
    </message>
</context>
<context>
    <name>NameClashQuestion</name>
    <message>
        <source>“%1” already exists in “%2”.</source>
        <translation>„%1“ ist in „%2“ bereits vorhanden.</translation>
    </message>
    <message>
        <source>If you replace it, the item already there is moved to the Trash.</source>
        <translation>Beim Ersetzen wird das bereits vorhandene Objekt in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <source>Apply to all</source>
        <translation>Für alle übernehmen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation>Beide behalten</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
</context>
<context>
    <name>NavigationView</name>
    <message>
        <source>Back to %1</source>
        <translation>Zurück zu %1</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
</context>
<context>
    <name>NewFolderDialog</name>
    <message>
        <source>Create Folder</source>
        <translation>Ordner erstellen</translation>
    </message>
    <message>
        <source>Please enter a name for this folder.</source>
        <translation>Bitte einen Namen für diesen Ordner eingeben.</translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation>Ordnername</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Password Protected</source>
        <translation>Passwortgeschützt</translation>
    </message>
    <message>
        <source>Please enter password for this file.</source>
        <translation>Bitte das Passwort für diese Datei eingeben.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PdfDocumentPreview</name>
    <message>
        <source>This PDF is protected by a password and cannot be shown here.</source>
        <translation>Dieses PDF ist durch ein Passwort geschützt und kann hier nicht gezeigt werden.</translation>
    </message>
    <message>
        <source>This PDF is protected in a way that cannot be shown here.</source>
        <translation>Dieses PDF ist auf eine Weise geschützt, die hier nicht gezeigt werden kann.</translation>
    </message>
    <message>
        <source>This PDF cannot be shown: it is damaged or not a PDF after all.</source>
        <translation>Dieses PDF kann nicht gezeigt werden: Es ist beschädigt oder gar kein PDF.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>PdfDocumentView</name>
    <message>
        <source>PDF document</source>
        <translation>PDF-Dokument</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
</context>
<context>
    <name>Picker</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
</context>
<context>
    <name>PickerHeader</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Ascending</source>
        <translation>Aufsteigend</translation>
    </message>
    <message>
        <source>Descending</source>
        <translation>Absteigend</translation>
    </message>
</context>
<context>
    <name>PickerRow</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Info about %1</source>
        <translation>Info zu %1</translation>
    </message>
</context>
<context>
    <name>PictureDecoder</name>
    <message>
        <source>Cannot decode %1: %2</source>
        <translation>%1 lässt sich nicht entschlüsseln: %2</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be read</source>
        <translation>%1 ist kein lesbares Bild</translation>
    </message>
</context>
<context>
    <name>PicturePagerView</name>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Wird geladen</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>Dieses Bild kann nicht gezeigt werden.</translation>
    </message>
</context>
<context>
    <name>ProgressOverlayView</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Working</source>
        <translation>In Arbeit</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>PropertiesSheet</name>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Packed Size</source>
        <translation>Gepackte Größe</translation>
    </message>
</context>
<context>
    <name>PropertiesSheetView</name>
    <message>
        <source>Properties of %1</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Type a new name and press Enter to rename</source>
        <translation>Neuen Namen eingeben und mit der Eingabetaste umbenennen</translation>
    </message>
    <message>
        <source>Picture of %1</source>
        <translation>Bild von %1</translation>
    </message>
</context>
<context>
    <name>SectionIndexStrip</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Section index</source>
        <translation>Abschnittsindex</translation>
    </message>
</context>
<context>
    <name>SocketInstanceChannel</name>
    <message>
        <source>Ombrisk is already running for this folder but did not answer. End it, then try again.</source>
        <translation>Ombrisk läuft für diesen Ordner schon, antwortet aber nicht. Bitte es beenden und dann erneut versuchen.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be opened: %2. This start runs on its own.</source>
        <translation>Die Sperrdatei %1 ließ sich nicht öffnen: %2. Dieser Start läuft für sich.</translation>
    </message>
    <message>
        <source>The lock file %1 could not be locked: %2. This start runs on its own.</source>
        <translation>Die Sperrdatei %1 ließ sich nicht sperren: %2. Dieser Start läuft für sich.</translation>
    </message>
    <message>
        <source>Ombrisk could not listen on %1 (%2); a later start will run on its own.</source>
        <translation>Ombrisk kann an %1 nicht lauschen (%2); ein späterer Start läuft für sich.</translation>
    </message>
    <message>
        <source>None of %1 is a folder of yours alone, so Ombrisk can&apos;t tell whether it already runs; this start runs on its own.</source>
        <translation>Keiner der Ordner %1 gehört allein Ihnen, daher kann Ombrisk nicht erkennen, ob es bereits läuft; dieser Start läuft für sich.</translation>
    </message>
</context>
<context>
    <name>StagingFolder</name>
    <message>
        <source>Unfinished unpacking</source>
        <translation>Unvollständiges Entpacken</translation>
    </message>
    <message>
        <source>Unfinished unpacking of %1</source>
        <translation>Unvollständiges Entpacken von %1</translation>
    </message>
    <message>
        <source>Replaced by %1</source>
        <translation>Ersetzt durch %1</translation>
    </message>
    <message>
        <source>it is not a single item name</source>
        <translation>es ist kein einzelner Objektname</translation>
    </message>
</context>
<context>
    <name>TextExcerpt</name>
    <message>
        <source>The file cannot be read: %1. Check that it still exists and is readable.</source>
        <translation>Die Datei kann nicht gelesen werden: %1. Bitte prüfen, ob sie noch existiert und lesbar ist.</translation>
    </message>
</context>
<context>
    <name>TextPreview</name>
    <message>
        <source>The rest of the file (%1) is not shown.</source>
        <translation>Der Rest der Datei (%1) wird nicht gezeigt.</translation>
    </message>
</context>
<context>
    <name>TextPreviewView</name>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Zeilen</translation>
    </message>
</context>
<context>
    <name>ThumbnailCache</name>
    <message>
        <source>Invalid cache key &quot;%1&quot;</source>
        <translation>Ungültiger Cache-Schlüssel „%1“</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>Trash</name>
    <message>
        <source>“%1” could not be moved to the Trash: %2.</source>
        <translation>„%1“ konnte nicht in den Papierkorb verschoben werden: %2.</translation>
    </message>
    <message>
        <source>“%1” could not be put back: %2.</source>
        <translation>„%1“ konnte nicht zurückgelegt werden: %2.</translation>
    </message>
    <message>
        <source>“%1” could not be deleted: %2.</source>
        <translation>„%1“ konnte nicht gelöscht werden: %2.</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be moved to the Trash: %2.</source>
        <translation>„%1“ kann nicht in den Papierkorb verschoben werden: %2.</translation>
    </message>
    <message>
        <source>“%1” is no longer there.</source>
        <translation>„%1“ ist nicht mehr da.</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be put back: its folder “%2” is on another disk now.</source>
        <translation>„%1“ kann nicht zurückgelegt werden: Sein Ordner „%2“ liegt jetzt auf einem anderen Datenträger.</translation>
    </message>
    <message>
        <source>the trash folder “%1” can&apos;t be used (%2)</source>
        <translation>der Papierkorb-Ordner „%1“ kann nicht verwendet werden (%2)</translation>
    </message>
    <message>
        <source>the disk at “%1” has no trash folder this user can use</source>
        <translation>der Datenträger unter „%1“ hat keinen Papierkorb-Ordner, den dieser Benutzer verwenden kann</translation>
    </message>
    <message>
        <source>its folder can&apos;t be looked at</source>
        <translation>sein Ordner kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The trash folder “%1” can&apos;t be opened: %2.</source>
        <translation>Der Papierkorb-Ordner „%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
</context>
<context>
    <name>TrashViewController</name>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>Deleted items stay here until you empty the Trash.</source>
        <translation>Gelöschte Objekte bleiben hier, bis der Papierkorb geleert wird.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>Empty Trash</source>
        <translation>Papierkorb leeren</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Delete Permanently</source>
        <translation>Endgültig löschen</translation>
    </message>
    <message>
        <source>From %1</source>
        <translation>Aus %1</translation>
    </message>
    <message>
        <source>Deleted from “%1”.</source>
        <translation>Gelöscht aus „%1“.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Restoring...</source>
        <translation>Wird wiederhergestellt …</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were put back where they were.</source>
        <translation>
            <numerusform>%n Objekt wurde an seinen Platz zurückgelegt.</numerusform>
            <numerusform>%n Objekte wurden an ihren Platz zurückgelegt.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is back in “%2”.</source>
        <translation>„%1“ ist wieder in „%2“.</translation>
    </message>
    <message>
        <source>“%1” is back in “%2” as “%3”.</source>
        <translation>„%1“ ist wieder in „%2“, als „%3“.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) in the Trash will be deleted and cannot be recovered.</source>
        <translation>
            <numerusform>%n Objekt im Papierkorb wird gelöscht und kann nicht wiederhergestellt werden.</numerusform>
            <numerusform>%n Objekte im Papierkorb werden gelöscht und können nicht wiederhergestellt werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Deleting...</source>
        <translation>Wird gelöscht …</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Ombrisk already runs for this folder and took the files; %1 applies to a first start only.</source>
        <translation>Ombrisk läuft für diesen Ordner schon und hat die Dateien übernommen; %1 gilt nur für einen ersten Start.</translation>
    </message>
</context>
</TS>
