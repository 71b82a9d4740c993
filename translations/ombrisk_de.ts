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
</context>
<context>
    <name>ArchiveErrors</name>
    <message>
        <source>password protected zip file</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>password protected rar file</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>password protected 7z file</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>password protected archive</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>incorrect password</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The archive was not unpacked: its entry “%1” %2. Nothing was written.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Not enough free space: the archive unpacks to %1 but only %2 are free. Nothing was written.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The disk filled up while unpacking. Nothing was kept; free some space and try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The disk filled up while unpacking “%1”. Nothing was kept; free some space and try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>this kind of zip encryption is not supported</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>this kind of RAR encryption is not supported</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Cancelled. Nothing was changed.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The archive can't be read; it may be damaged or incomplete (%1).</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>“%1” could not be written: %2.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The helper program %1 failed: %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>“%1” is not an archive of a kind that can be opened.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>a folder of the same name is in the archive too</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a hard link to a file outside the archive</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>“%1” does not exist</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>not an archive of this kind</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 holds more data than it declares</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>unknown error</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a link pointing out of the destination folder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>a file of that name is in the way of the destination folder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>it is not installed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>it crashed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>no private folder could be made</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>the encrypted entry is cut short</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>the data is damaged</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>the data fails its authentication check</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 is shorter than it declares</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>“%1” is a folder; a zip archive can't replace it.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The zip archive “%1” can't be one of the items it packs, nor lie inside them.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>it no longer exists</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message numerus="yes">
        <source>%Ln byte(s)</source>
        <translation><numerusform>%Ln Byte</numerusform><numerusform>%Ln Byte</numerusform></translation>
    </message>
</context>
<context>
    <name>EntryChecks</name>
    <message>
        <source>has a NUL character in its name</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>has an absolute path</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>climbs out of the destination folder with “..”</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>has an empty name</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a link with no target</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a link to an absolute path outside the destination</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a link whose target holds a NUL character</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a link pointing out of the destination folder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a device, fifo or socket, which is never unpacked</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>has the set-user-ID or set-group-ID bit</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>EntryChecks::EntrySetChecker</name>
    <message>
        <source>would be written through a symbolic link</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a link that would replace a folder of the archive</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>is a hard link to a file outside the archive</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>The cache folder could not be marked for backup tools: %1. Thumbnails may end up in backups.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The folder %1 could not be made because a file stands in its way. Rename or remove the file, then try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The folder %1 could not be made</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The root folder can't be removed.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be removed completely</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>There is already an item named %1 in this folder. Choose another name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be renamed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The folder %1 can't be moved into itself or one of its own folders. Choose another destination.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>An item named %1 already exists there. Rename or remove one of them, then try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 can't replace %2, because %2 holds it. Choose another destination.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The name is empty. Type a name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>“.” can't be used as a name: it stands for the folder itself. Choose another name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>“..” can't be used as a name: it stands for the enclosing folder. Choose another name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The name holds a NUL character, which no file name may contain. Type the name again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>A name can't contain “/”. Choose a name without it.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>A folder name can't start with “/”. Type a name without it.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 leads through a link to a place outside this folder. Choose another name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>A folder named %1 already exists here. Choose another name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Check that you may change this item and its folder, then try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Free some space, then try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Choose a shorter name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>No item was given to work on. This is a fault of the application; please report it.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The path of the item holds a NUL character, which no file name may contain.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be moved</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be copied to the other disk: %2. Nothing was moved; the original is unchanged.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 was copied to its new place, but the original could not be removed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be replaced</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 no longer exists. Refresh the list and try again.</source>
        <translation type="unfinished" />
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
        <translation><numerusform>%n Objekt ausgewählt</numerusform><numerusform>%n Objekte ausgewählt</numerusform></translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>The two counts of the footer, "1 folder, 3 files"; %1 is the folders', %2 the files'.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s)</source>
        <translation><numerusform>%n Ordner</numerusform><numerusform>%n Ordner</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation><numerusform>%n Datei</numerusform><numerusform>%n Dateien</numerusform></translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>No files or folders found</source>
        <translation>Keine Dateien oder Ordner gefunden</translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <source>Usage: ombrisk [OPTION]...
A file manager and archiver for one folder tree of its own.

  --open PATH         open the folder PATH of the home folder, as "/A/B"
  --root DIR          keep the home and cache folders in DIR
  --window-size WxH   the window's size in points, as 420x760
  --screenshot FILE   save the window as a PNG once listed, then quit
  -h, --help          show this help and quit
</source>
        <translation>Aufruf: ombrisk [OPTION]...
Ein Dateimanager und Archivprogramm für einen eigenen Ordnerbaum.

  --open PFAD         den Ordner PFAD des Basisordners öffnen, etwa "/A/B"
  --root ORDNER       Basis- und Cache-Ordner in ORDNER anlegen
  --window-size BxH   die Fenstergröße in Punkten, etwa 420x760
  --screenshot DATEI  das Fenster nach dem Laden als PNG sichern, dann beenden
  -h, --help          diese Hilfe zeigen und beenden
</translation>
    </message>
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
        <translation>Bewegen …</translation>
    </message>
    <message>
        <source>Info...</source>
        <translation>Informationen …</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>Not available yet</source>
        <translation>Noch nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Documents</source>
        <translation type="unfinished">Dokumente</translation>
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
        <translation type="unfinished" />
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
    <name>ProgressOverlayView</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished">Abbrechen</translation>
    </message>
</context>
<context>
    <name>ThumbnailCache</name>
    <message>
        <source>Invalid cache key "%1"</source>
        <translation>Ungültiger Cache-Schlüssel „%1“</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
</TS>
