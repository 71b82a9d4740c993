<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AppDelegate</name>
    <message>
        <source>There is no item %1 in the home folder; the home folder is shown instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To bring files in, open them with Ombrisk from another application, or drop them here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quitting stopped this work before it ended; nothing of it was kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no archive %1 in the home folder; the home folder is shown instead.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArchiveContentsExtraction</name>
    <message>
        <source>Extracting from “%1”…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n item extracted to “%1”.</numerusform>
            <numerusform>%n items extracted to “%1”.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ArchiveContentsViewController</name>
    <message>
        <source>Unicode (UTF-8)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DOS Latin US (CP437)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DOS Cyrillic (CP866)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows Cyrillic (CP1251)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chinese Simplified (GBK)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Japanese (Shift-JIS)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korean (EUC-KR)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows Western (Windows-1252)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No private folder could be made for the entry. Check that the temporary folder can be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name Encoding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names this zip doesn&apos;t mark as Unicode are read with the code page chosen, in this list and in what is extracted from it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArchiveEntryCopy</name>
    <message>
        <source>No private folder could be made for the entry.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArchiveErrors</name>
    <message>
        <source>password protected zip file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>password protected rar file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>password protected 7z file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>password protected archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>incorrect password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive was not unpacked: its entry “%1” %2. Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space: the archive unpacks to %1 but only %2 are free. Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk filled up while unpacking. Nothing was kept; free some space and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk filled up while unpacking “%1”. Nothing was kept; free some space and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this kind of zip encryption is not supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this kind of RAR encryption is not supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled. Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive can&apos;t be read; it may be damaged or incomplete (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be written: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The helper program %1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is not an archive of a kind that can be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder of the same name is in the archive too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a hard link to a file outside the archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not an archive of this kind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds more data than it declares</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a link pointing out of the destination folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file of that name is in the way of the destination folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it crashed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no private folder could be made</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data fails its authentication check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is shorter than it declares</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is a folder; a zip archive can&apos;t replace it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The zip archive “%1” can&apos;t be one of the items it packs, nor lie inside them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can&apos;t be packed: %2. No zip was made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive was not unpacked: its entry “%1” would replace %2 of the destination folder. Nothing was changed; move that item away or unpack into another folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>has a link or a file in the place of one of its folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a special file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is no longer a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a fifo, socket or device, which a zip can&apos;t hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>%n more</numerusform>
            <numerusform>%n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it had already replaced could not be put back: %2. They are in the Trash, in the folder “%3”.</source>
        <translation>
            <numerusform>The archive was not unpacked: the merge stopped at “%1”, and %n item it had already replaced could not be put back: %2. It is in the Trash, in the folder “%3”.</numerusform>
            <numerusform>The archive was not unpacked: the merge stopped at “%1”, and %n items it had already replaced could not be put back: %2. They are in the Trash, in the folder “%3”.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it had already replaced could not be put back: %2. They are in the folder “%3” in the destination.</source>
        <translation>
            <numerusform>The archive was not unpacked: the merge stopped at “%1”, and %n item it had already replaced could not be put back: %2. It is in the folder “%3” in the destination.</numerusform>
            <numerusform>The archive was not unpacked: the merge stopped at “%1”, and %n items it had already replaced could not be put back: %2. They are in the folder “%3” in the destination.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it had already replaced could not be put back: %2. They are in the hidden folder “%3”.</source>
        <translation>
            <numerusform>The archive was not unpacked: the merge stopped at “%1”, and %n item it had already replaced could not be put back: %2. It is in the hidden folder “%3”.</numerusform>
            <numerusform>The archive was not unpacked: the merge stopped at “%1”, and %n items it had already replaced could not be put back: %2. They are in the hidden folder “%3”.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is not a file: a folder, fifo or device is never read as an archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the zip is split across several files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Zip64 end record is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its end record contradicts itself</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the central directory is not where its end record says</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a zip file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its central directory does not hold the entries its end record counts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a central directory record is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a central directory record is cut short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an entry lacks its Zip64 sizes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its names are too long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data fails its CRC check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the entry is cut short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its compression method (%1) is not supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its local header is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” already exists; nothing was packed. Choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a link to “%1”, which is not there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a link to “%1”, a folder or special file outside the items packed; pack that itself instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive has no entry “%1”; it may have changed since it was listed. Open it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive was not unpacked: the disk does not allow the name of its entry “%1” (disks made for Windows refuse ? : * &quot; &lt; &gt; | and names ending in a dot or a space). Nothing was changed; unpack onto another disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file of that name is in the way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be read: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” could not be listed: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The private folder for unpacking into “%1” could not be set up: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The unpacked items could not be gone through to move them into place: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BusInstanceChannel</name>
    <message>
        <source>Ombrisk is already running for this folder but did not answer (%1). End it, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message numerus="yes">
        <source>%Ln byte(s)</source>
        <translation>
            <numerusform>%Ln byte</numerusform>
            <numerusform>%Ln bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ComicCover</name>
    <message>
        <source>“%1” holds no picture to show.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CompressDialog</name>
    <message>
        <source>Compress file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter password for this file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CompressQueue</name>
    <message>
        <source>Opening “%1”…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed, and no reason was given.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CopyIntoFolder</name>
    <message>
        <source>Copying...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DefaultApplication</name>
    <message>
        <source>“%1” could not be opened: no application for it was found. Install one that opens files of this kind.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EntryChecks</name>
    <message>
        <source>has a NUL character in its name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>has an absolute path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>climbs out of the destination folder with “..”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>has an empty name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a link with no target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a link to an absolute path outside the destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a link whose target holds a NUL character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a link pointing out of the destination folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a device, fifo or socket, which is never unpacked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>has the set-user-ID or set-group-ID bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is nested more than %1 levels deep</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EntryChecks::EntrySetChecker</name>
    <message>
        <source>would be written through a symbolic link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a link that would replace a folder of the archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a hard link to a file outside the archive</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>The cache folder could not be marked for backup tools: %1. Thumbnails may end up in backups.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The root folder can&apos;t be removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name is empty. Type a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“.” can&apos;t be used as a name: it stands for the folder itself. Choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“..” can&apos;t be used as a name: it stands for the enclosing folder. Choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name holds a NUL character, which no file name may contain. Type the name again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name can&apos;t contain “/”. Choose a name without it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder name can&apos;t start with “/”. Type a name without it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check that you may change this item and its folder, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free some space, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a shorter name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No item was given to work on. This is a fault of the application; please report it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The path of the item holds a NUL character, which no file name may contain.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name of spaces alone can&apos;t be seen in the list. Type a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be moved: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be copied to the other disk: %2. Nothing was moved; the original is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was copied to its new place, but the original could not be removed: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be replaced: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” no longer exists. Refresh the list and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” could not be made because a file stands in its way. Rename or remove the file, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” could not be made: %2. %3</source>
        <extracomment>%1 is the folder, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be removed completely: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is already an item named “%1” in this folder. Choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be renamed: %2. %3</source>
        <extracomment>%1 is the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” can&apos;t be moved into itself or one of its own folders. Choose another destination.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An item named “%1” already exists there. Rename or remove one of them, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can&apos;t replace “%2”, because “%2” holds it. Choose another destination.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” leads through a link to a place outside this folder. Choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder named “%1” already exists here. Choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilePreviewController</name>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilePreviewView</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InboxCopy</name>
    <message>
        <source>“%1” could not be copied: %2. Check that it can be read and that there is space left, then hand it over again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is not a file. Only files can be handed over to Ombrisk.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IncomingFile</name>
    <message>
        <source>“%1” is not in the Inbox. Hand the file over to Ombrisk again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be brought into the home folder. %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemCopy</name>
    <message>
        <source>Check that you may read it and add items to the destination, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free some space, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The copy of “%1” was cancelled; nothing of it was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is a pipe, socket or device, which can&apos;t be copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be copied: “%2” in it is a pipe, socket or device, which can&apos;t be copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be copied: %2. %3</source>
        <extracomment>%1 the item, %2 the system&apos;s reason, %3 what to do (a sentence).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be copied: “%2” in it failed: %3. %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can&apos;t be copied into itself. Choose another folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was not copied: an item of that name came into the folder meanwhile. Nothing was replaced; try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemDeletion</name>
    <message>
        <source>Move to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete from local folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” will be moved to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) will be moved to the Trash.</source>
        <translation>
            <numerusform>%n item will be moved to the Trash.</numerusform>
            <numerusform>%n items will be moved to the Trash.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” will be deleted and cannot be recovered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) will be deleted and cannot be recovered.</source>
        <translation>
            <numerusform>%n item will be deleted and cannot be recovered.</numerusform>
            <numerusform>%n items will be deleted and cannot be recovered.</numerusform>
        </translation>
    </message>
    <message>
        <source>Moving to the Trash...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was moved to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were moved to the Trash.</source>
        <translation>
            <numerusform>%n item was moved to the Trash.</numerusform>
            <numerusform>%n items were moved to the Trash.</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Putting back...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Trash now holds %1. Empty it on the Trash screen to free the space.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KPDocumentPickerPage</name>
    <message>
        <source>Position in the list</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KPDocumentPickerViewController</name>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder is Empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Results Found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select None</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) selected</source>
        <translation>
            <numerusform>%n item selected</numerusform>
            <numerusform>%n items selected</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>The two counts of the footer, &quot;1 folder, 3 files&quot;; %1 is the folders&apos;, %2 the files&apos;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s)</source>
        <translation>
            <numerusform>%n folder</numerusform>
            <numerusform>%n folders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files or folders found</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) found.</source>
        <translation>
            <numerusform>%n item found.</numerusform>
            <numerusform>%n items found.</numerusform>
        </translation>
    </message>
    <message>
        <source>Edit mode: select the items to act on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit mode ended.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <source>Unknown option: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--window-size wants WIDTHxHEIGHT, such as 420x760</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListingArchiveWorkflows</name>
    <message>
        <source>“%1” already exists; the archive is saved as “%2”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packing “%1”…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is packed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were replaced; they are in the Trash, in “%1”.</source>
        <translation>
            <numerusform>%n item was replaced; it is in the Trash, in “%1”.</numerusform>
            <numerusform>%n items were replaced; they are in the Trash, in “%1”.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were replaced; they are kept in “%1”.</source>
        <translation>
            <numerusform>%n item was replaced; it is kept in “%1”.</numerusform>
            <numerusform>%n items were replaced; they are kept in “%1”.</numerusform>
        </translation>
    </message>
    <message>
        <source>Unpacking “%1”…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is unpacked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unpacking “%1” was cancelled; its folder was not made.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListingFileActions</name>
    <message>
        <source>Delete failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” will move where you paste it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n items will move where you paste them.</source>
        <translation>
            <numerusform>%n item will move where you paste it.</numerusform>
            <numerusform>%n items will move where you paste them.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is copied: paste it into any folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n items are copied: paste them into any folder.</source>
        <translation>
            <numerusform>%n item is copied: paste it into any folder.</numerusform>
            <numerusform>%n items are copied: paste them into any folder.</numerusform>
        </translation>
    </message>
    <message>
        <source>There is nothing to paste. Copy or cut some items first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListingToolbar</name>
    <message>
        <source>Loading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LocalFilePreviewViewController</name>
    <message>
        <source>Rename failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With Default App</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LocalFolderSelectorViewController</name>
    <message>
        <source>Select file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Save Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LocalStorageViewController</name>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is kept but not shown. Names beginning with a dot are hidden.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With Default App</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can&apos;t be shown here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop files here to bring them into the home folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MoveIntoFolder</name>
    <message>
        <source>“%1” can&apos;t replace the folder holding it. Choose another destination.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing took the place of “%1”: the item of that name there could not be moved to the Trash. %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NameClashQuestion</name>
    <message>
        <source>“%1” already exists in “%2”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If you replace it, the item already there is moved to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply to all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NavigationView</name>
    <message>
        <source>Back to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewFolderDialog</name>
    <message>
        <source>Create Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a name for this folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Password Protected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter password for this file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfDocumentPreview</name>
    <message>
        <source>This PDF is protected by a password and cannot be shown here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PDF is protected in a way that cannot be shown here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PDF cannot be shown: it is damaged or not a PDF after all.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfDocumentView</name>
    <message>
        <source>PDF document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Picker</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PickerHeader</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ascending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Descending</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PickerRow</name>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info about %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureDecoder</name>
    <message>
        <source>Cannot decode %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a picture that can be read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PicturePagerView</name>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressOverlayView</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Working</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PropertiesSheet</name>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packed Size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PropertiesSheetView</name>
    <message>
        <source>Properties of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a new name and press Enter to rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture of %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SectionIndexStrip</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section index</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SocketInstanceChannel</name>
    <message>
        <source>Ombrisk is already running for this folder but did not answer. End it, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lock file %1 could not be opened: %2. This start runs on its own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lock file %1 could not be locked: %2. This start runs on its own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ombrisk could not listen on %1 (%2); a later start will run on its own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None of %1 is a folder of yours alone, so Ombrisk can&apos;t tell whether it already runs; this start runs on its own.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StagingFolder</name>
    <message>
        <source>Unfinished unpacking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unfinished unpacking of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replaced by %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a single item name</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextExcerpt</name>
    <message>
        <source>The file cannot be read: %1. Check that it still exists and is readable.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextPreview</name>
    <message>
        <source>The rest of the file (%1) is not shown.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextPreviewView</name>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailCache</name>
    <message>
        <source>Invalid cache key &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Trash</name>
    <message>
        <source>“%1” could not be moved to the Trash: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be put back: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be deleted: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can&apos;t be moved to the Trash: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is no longer there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” can&apos;t be put back: its folder “%2” is on another disk now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the trash folder “%1” can&apos;t be used (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the disk at “%1” has no trash folder this user can use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its folder can&apos;t be looked at</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The trash folder “%1” can&apos;t be opened: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrashViewController</name>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted items stay here until you empty the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Permanently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted from “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restoring...</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) were put back where they were.</source>
        <translation>
            <numerusform>%n item was put back where it was.</numerusform>
            <numerusform>%n items were put back where they were.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is back in “%2”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is back in “%2” as “%3”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) in the Trash will be deleted and cannot be recovered.</source>
        <translation>
            <numerusform>%n item in the Trash will be deleted and cannot be recovered.</numerusform>
            <numerusform>%n items in the Trash will be deleted and cannot be recovered.</numerusform>
        </translation>
    </message>
    <message>
        <source>Deleting...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Ombrisk already runs for this folder and took the files; %1 applies to a first start only.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
