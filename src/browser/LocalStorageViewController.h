#pragma once

#include "KPDocumentPickerViewController.h"
#include "ListingArchiveWorkflows.h"
#include "ListingFileActions.h"
#include "ListingToolbar.h"
#include "LiveRelisting.h"
#include "MenuController.h"
#include "SimpleValueChangedDelegate.h"

#include <QVariantMap>

// The application's folder screen: a picker over one folder of the home folder tree, its own
// data source and delegate, with the bottom toolbar (new folder, paste or copy, compress,
// status text, move, delete) and the item menu. Opening a folder pushes another screen of this
// class; the home folder's screen has the "Trash" button that opens the Trash screen.
//
// The screen wires its rows, toolbar, menu and keys to the jobs it owns: the actions on items
// (ListingFileActions), packing and unpacking (ListingArchiveWorkflows), following the folder
// on the disk (LiveRelisting), and the intake of files other applications hand over
// (IncomingFile). A tapped file opens by its extension: a media file not at all, an archive by
// unpacking it, anything else in the preview screen. While shown, a change of the folder from
// outside lists it again within about half a second, keeping the selection, the scroll
// position and the search.
//
// Thread-safety: main thread only. A folder is read on a worker thread and delivered on the
// main thread 0.2 seconds after the request at the earliest.
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

    // The toolbar's buttons (ListingToolbar).
    BarButtonItem *createFolderBarButtonItem() const { return m_toolbar->createFolderButton(); }
    BarButtonItem *compressBarButtonItem() const { return m_toolbar->compressButton(); }
    BarButtonItem *deleteBarButtonItem() const { return m_toolbar->deleteButton(); }
    BarButtonItem *moveBarButtonItem() const { return m_toolbar->moveButton(); }
    BarButtonItem *copyBarButtonItem() const { return m_toolbar->copyButton(); }
    BarButtonItem *pasteBarButtonItem() const { return m_toolbar->pasteButton(); }

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

    // The clipboard's files into this folder (ListingFileActions::paste).
    void paste();
    void copyKeyPressed(bool cut, int flatRow) override;
    void pasteKeyPressed() override { paste(); }
    // A drag of a row carries its item (the selection's items, while editing with the row
    // selected) as file URLs; rows dropped on a folder row move into that folder, namesakes
    // asked about as a move from the folder selector.
    QVariantMap dragDataForFlatRow(int flatRow) override;
    bool acceptsDropOnFlatRow(int flatRow) override;
    void dropOnFlatRow(const QList<QUrl> &urls, int flatRow) override;

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

    // A file another application handed over into the Inbox (IncomingFile::receive). Called on
    // the root screen, whatever is shown.
    void handleFileFromURL(const QString &path);
    // How many listings the folder's changes on the disk have asked for.
    int liveRelistCount() const;

    void createFolderButtonTapped();
    void compressButtonTapped();
    void deleteButtonTapped();
    void moveBarButtonTaped();
    // The toolbar's Copy: the selection, then edit mode left so Paste shows.
    void copyButtonTapped();
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

    ListingArchiveWorkflows *archiveWorkflows() const { return m_archiveWorkflows; }
    // For the jobs this screen owns: where an item of this folder lies, the selection's paths
    // and names, leaving edit mode, and the screen on top of this screen's stack (this one when
    // it is on none), where notices of work that outlives a screen go.
    QString pathOnDisk(const KPDocumentPickerItemPtr &item) const;
    QStringList selectedPaths();
    QStringList selectedNames();
    void leaveEditing();
    ViewController *visibleScreen();

protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    // The item a menu action acts on: the data of the menu's first entry.
    static KPDocumentPickerItemPtr menuItem(MenuController *sender);
    void addTrashButton();
    KPDocumentPickerItemPtr itemAtFlatRow(int flatRow);

    // The jobs this screen owns, its children.
    ListingFileActions *m_fileActions = new ListingFileActions(this);
    ListingArchiveWorkflows *m_archiveWorkflows = new ListingArchiveWorkflows(this);
    LiveRelisting *m_liveRelisting = new LiveRelisting(this);
    ListingToolbar *m_toolbar = new ListingToolbar(this);
};
