#pragma once

#include <QObject>
#include <QString>
#include <optional>

class LocalStorageViewController;
class ViewController;
struct ExtractionResult;

// The listing screen's packing and unpacking: the compress and password dialogs, the jobs on
// the shared compress queue (CompressQueue), where results land (always at the top of the home
// folder) and which screens list again afterwards. An unpacking pushes the destination's screen
// at once; a job that ends without the folder (failed, cancelled, a wrong password) pops that
// screen again, if it is still the one shown, before saying why. When a job ends the screen
// that started it lists again, and so does the destination's screen if it is the one shown; a
// failure is said in a notice on the screen shown, and a wrong password asks again.
//
// Thread-safety: main thread only; the jobs get plain values and report back on the main
// thread.
class ListingArchiveWorkflows : public QObject {
    Q_OBJECT

public:
    explicit ListingArchiveWorkflows(LocalStorageViewController *screen);

    // The compress dialog for the screen's selection, then the packing into a zip at the top
    // of the home folder under a free name.
    void compressSelection();
    // The unpacking route for the archive at `archivePath` (absolute) into the folder
    // `destinationPath` (absolute): asks for a password first where the archive needs one,
    // then unpacks on the shared compress queue and pushes the destination's screen.
    void unpackArchiveAtPath(const QString &archivePath, const QString &destinationPath);

    // The folder a file named `fileName` unpacks into, at the top of the home folder and named
    // after it without its last extension ("Pack.ZIP" → "Pack", "a.tar.gz" → "a.tar"); nothing
    // when the name is of no archive kind, or is a hidden name like ".zip". A name that would
    // leave no ordinary item name ("..zip" → ".", "...zip" → "..", "  .zip" → spaces) unpacks
    // into "<the whole name> contents" instead.
    static std::optional<QString> unpackingDestination(const QString &fileName);

private:
    // The name typed into the compress dialog, resolved to a free name at the top.
    void compressAs(const QString &typedName, const QString &defaultName, const QString &password);
    // Packs the selected rows into a zip at `archivePath` (an empty password packs without),
    // with `successNotice` for the shown screen once the zip is made.
    void pack(const QString &archivePath, const QString &password, const QString &successNotice);
    void openPasswordDialogForFile(const QString &archivePath, const QString &destinationPath);
    // Queues the unpacking and pushes the destination's screen at once (unless it is shown).
    void decompress(const QString &archivePath, const QString &destinationPath,
                    const QString &password);
    // What the notice after an unpacking says of the items it replaced and where they are kept.
    static QString replacedNotice(const ExtractionResult &result);
    void pushListingScreen(const QString &pickerPath);

    LocalStorageViewController *m_screen;
};
