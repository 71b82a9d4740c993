#pragma once

#include "KPDocumentPickerViewController.h"
#include "Error.h"
#include "MenuController.h"
#include "SimpleValueChangedDelegate.h"

#include <QVariantMap>

// The application's folder screen: a picker over one folder of the home folder tree, its own
// data source and delegate, with the bottom toolbar (new folder, compress, status text, move,
// delete) and the four-entry item menu. Opening a folder pushes another screen of this class.
//
// Actions: copy, cut and paste through the system clipboard (FileClipboard) and duplicate
// (CopyIntoFolder; a paste after a cut moves), open with the desktop's application, new folder, delete (toolbar, item menu and Delete key, into the trash after a sheet
// that names what goes; Shift+Delete for good: ItemDeletion), rename, move through the folder
// selector (asking about each namesake in the destination: MoveIntoFolder), and the properties
// screen. Deleting and moving run on a worker behind the progress overlay (FileActionJob); the
// folder is listed again, and edit mode left where the action says so, only once they are
// over. A rename is a single system call and runs at once. The home folder's screen has the
// "Trash" button that opens the Trash screen.
//
// Packing and unpacking run on the shared compress queue (CompressQueue), their results always
// at the top of the home folder. A tapped file opens by its extension: a media file not at
// all, an archive by unpacking it (asking for a password first where needed) with the
// destination's screen pushed at once, anything else in the preview screen. When a job ends the
// screen that started it lists again, and so does the destination's screen if it is the one
// shown; a failure is said in a notice on the screen shown, and a wrong password asks again.
//
// While shown, the folder is watched (FolderWatch): a change from outside lists it again within
// about half a second, a burst of changes a few times, keeping the selection, the scroll
// position and the search.
//
// Thread-safety: main thread only. A folder is read on a worker thread and delivered on the
// main thread 0.2 seconds after the request at the earliest.
class CompressQueue;
class FolderWatch;
struct ExtractionResult;

class LocalStorageViewController : public KPDocumentPickerViewController,
                                   public KPDocumentPickerViewControllerDataSource,
                                   public KPDocumentPickerViewControllerDelegate,
                                   public SimpleValueChangedDelegate {
    Q_OBJECT
    Q_INTERFACES(SimpleValueChangedDelegate)

public:
    static constexpr double listingDelay = 0.2;

    explicit LocalStorageViewController(const QString &filePath, QObject *parent = nullptr);
    Q_INVOKABLE LocalStorageViewController(KPDocumentPickerViewController *rootViewController,
                                           const QString &filePath, QObject *parent = nullptr);

    BarButtonItem *createFolderBarButtonItem() const { return m_createFolderButton; }
    BarButtonItem *compressBarButtonItem() const { return m_compressButton; }
    BarButtonItem *deleteBarButtonItem() const { return m_deleteButton; }
    BarButtonItem *moveBarButtonItem() const { return m_moveButton; }
    // "Copy" (the selection) while editing, "Paste" in its place otherwise; in the toolbar from
    // 400 points of width.
    BarButtonItem *copyBarButtonItem() const { return m_copyButton; }
    BarButtonItem *pasteBarButtonItem() const { return m_pasteButton; }
    QList<BarButtonItem *> normalToolbarItems() const { return m_normalToolbarItems; }

    // Data source
    void requestItemsForFilePath(
        KPDocumentPickerViewController *picker, const QString &filePath,
        std::function<void(const KPDocumentPickerItems &)> completionHandler) override;
    std::optional<QString> titleForFilePath(KPDocumentPickerViewController *picker,
                                            const QString &filePath) override;
    void configureCell(KPDocumentPickerViewController *picker, KPDocumentPickerTableViewCell *cell,
                       const KPDocumentPickerItemPtr &item) override;
    // Delegate
    void didSelectItems(KPDocumentPickerViewController *picker, const KPDocumentPickerItems &items,
                        const QString &filePath) override;

    void updateViewContent() override;
    void setEditing(bool editing, bool animated) override;
    void configureToolbar() override;
    void updateFooterLabel() override;
    void selectAllButtonTapped() override;
    void didSelectRow(TableView *tableView, IndexPath indexPath) override;
    void didDeselectRow(TableView *tableView, IndexPath indexPath) override;
    void accessoryButtonTapped(TableView *tableView, IndexPath indexPath) override;

    // The item menu's entries; each finds its item in the menu's first entry.
    Q_INVOKABLE void deleteAction(MenuController *sender);
    Q_INVOKABLE void renameAction(MenuController *sender);
    Q_INVOKABLE void moveAction(MenuController *sender);
    Q_INVOKABLE void infoAction(MenuController *sender);
    // Not "copyAction:": a cell answers that one itself (and does nothing with it).
    Q_INVOKABLE void copyItemAction(MenuController *sender);
    Q_INVOKABLE void duplicateAction(MenuController *sender);
    Q_INVOKABLE void openWithAction(MenuController *sender);

    // Copying (LocalStorageViewControllerCopying.cpp). The items at `paths` go on the system
    // clipboard, to be copied where pasted (moved, after a cut); a notice says so.
    void copyItems(const QStringList &paths, bool cut);
    // The toolbar's Copy: the selection, then edit mode left so Paste shows.
    void copyButtonTapped();
    // The clipboard's files into this folder, copied (moved after a cut) behind the overlay,
    // namesakes asked about; a cut's clipboard is emptied once all have moved.
    void paste();
    void copyKeyPressed(bool cut, int flatRow) override;
    void pasteKeyPressed() override { paste(); }
    // A drag of a row carries its item (the selection's items, while editing with the row
    // selected) as file URLs; rows dropped on a folder row move into that folder, namesakes
    // asked about as a move from the folder selector.
    QVariantMap dragDataForFlatRow(int flatRow) override;
    bool acceptsDropOnFlatRow(int flatRow) override;
    void dropOnFlatRow(const QList<QUrl> &urls, int flatRow) override;
    // Opens the item at `path` with the desktop's application for its kind (the portal's when
    // sandboxed, as Qt does it); a failure is said in a notice.
    void openWithDefaultApp(const QString &path);

    // "Show Contents", on the rows of archives the engine reads.
    Q_INVOKABLE void showContentsAction(MenuController *sender);

    // Pushes the contents screens of the archive `name` of this folder, down to the archive
    // folder `innerPath` ("/inner/folder"; empty: its top).
    void showContentsOfArchiveNamed(const QString &name, const QString &innerPath = {});

    // A screen above changed an item of this folder (a rename): the folder is listed again.
    void didChangedValue(ViewController *viewController, const QVariant &value) override;

    // Opens the file `fileName` of this folder as a tap on its row does.
    void openFileNamed(const QString &fileName);
    // Pushes the properties sheet of the item `name` of this folder (a file or a folder).
    void showPropertiesOfItemNamed(const QString &name);

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
    // What the notice after an unpacking says of the items it replaced and where they are kept.
    static QString replacedNotice(const ExtractionResult &result);
    void openPasswordDialogForFile(const QString &archivePath, const QString &destinationPath);
    // Queues the unpacking and pushes the destination's screen at once (unless it is shown);
    // a job that ends without the folder (failed, cancelled, a wrong password) pops that
    // screen again, if it is still the one shown, before saying why.
    void decompress(const QString &archivePath, const QString &destinationPath,
                    const QString &password);
    // Packs the selected rows into a zip at `archivePath`; an empty password packs without.
    void compress(const QString &archivePath, const QString &password);
    static CompressQueue *sharedCompressQueue();
    // The overlay's "Cancel" stops the compress queue's work; running it again changes nothing.
    void configureHUD();

    // A file another application handed over, copied into the Inbox under `path`'s last
    // component: moved to the top of the home folder, keeping both where the name is taken,
    // then unpacked when an archive; this folder is listed again `incomingRelistDelay` seconds
    // later either way (an archive whose password is not given stays too). Called on the root
    // screen, whatever is shown. In IncomingFile.cpp.
    void handleFileFromURL(const QString &path);
    static constexpr double incomingRelistDelay = 1.0;
    // How many listings the folder's changes on the disk have asked for.
    int liveRelistCount() const { return m_liveRelistCount; }

    void createFolderButtonTapped();
    void compressButtonTapped();
    void deleteButtonTapped();
    void moveBarButtonTaped();
    void showProperty(const KPDocumentPickerItemPtr &item);
    // The folder selector's choice ("localMove"): {"dist": picker path, "source": absolute
    // paths}. An item meeting a namesake in the destination asks first; one notice per failing
    // item.
    void moveSelectorFinished(const QVariantMap &userInfo);

    // The keyboard, as the page forwards it: Delete asks to move the selection to the trash
    // while editing, Shift+Delete to delete it for good; F2 renames the row with the keyboard.
    void deleteKeyPressed(bool forGood) override;
    void renameKeyPressed(int flatRow) override;
    // Ctrl+Enter on an archive's row: its contents.
    void contentsKeyPressed(int flatRow) override;

protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    void setSelectionButtonsEnabled(bool enabled);

    // The item a menu action acts on: the data of the menu's first entry.
    static KPDocumentPickerItemPtr menuItem(MenuController *sender);
    QString pathOnDisk(const KPDocumentPickerItemPtr &item) const;
    QStringList selectedPaths();
    void deleteSelection(bool forGood);
    void addTrashButton();
    void presentFolderSelector(const QStringList &sourceFiles);
    void updatePasteButton();
    KPDocumentPickerItemPtr itemAtFlatRow(int flatRow);
    // Moves `sources` into the folder at picker path `destination`, as chosen in the selector
    // or by a drop: notices for failures, edit mode left, the folder listed again.
    void moveInto(const QStringList &sources, const QString &destination);
    // The watched folder changed: listed again, one listing at a time, the selection kept.
    void folderChangedOnDisk();
    void restoreKeptSelection();
    // The toolbar for browsing or for editing (Paste or Copy in one place).
    void showToolbarFor(bool editing);
    void showFailures(const QList<Error> &failures, const QString &fallback);
    void leaveEditing();
    void presentRenameDialog(const KPDocumentPickerItemPtr &item);
    void rename(const KPDocumentPickerItemPtr &item, const QString &newName);
    // The name typed into the compress dialog, resolved to a free name at the top.
    void compressAs(const QString &typedName, const QString &defaultName, const QString &password);
    // `compress`, with a notice for the shown screen once the zip is made.
    void pack(const QString &archivePath, const QString &password, const QString &successNotice);
    // The screen on top of this screen's stack (this one when it is on none).
    ViewController *visibleScreen();
    void pushListingScreen(const QString &pickerPath);

    BarButtonItem *m_createFolderButton = nullptr;
    BarButtonItem *m_compressButton = nullptr;
    BarButtonItem *m_deleteButton = nullptr;
    BarButtonItem *m_moveButton = nullptr;
    BarButtonItem *m_copyButton = nullptr;
    BarButtonItem *m_pasteButton = nullptr;
    FolderWatch *m_folderWatch = nullptr;
    QStringList m_keptSelection; // names selected when the folder changed on the disk
    bool m_changedWhileListing = false;
    bool m_changedDuringJob = false; // the folder changed while a file job ran
    bool m_liveListingUnshown = false;
    int m_liveRelistCount = 0;
    QList<BarButtonItem *> m_normalToolbarItems;
};
