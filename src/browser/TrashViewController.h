#pragma once

#include "Error.h"
#include "KPDocumentPickerViewController.h"

#include <QList>

struct TrashEntry;

// The Trash screen: what lies in the trashes this program uses (Trash::trashDirectoriesInUse),
// the latest deleted first, in rows like the listing's: the name, the badge or thumbnail, and
// under it the folder it came from, its size and when it was deleted. A tap on a row (or its
// menu) offers to put it back or to delete it for good; in edit mode the toolbar's "Restore"
// and "Delete Permanently" act on the selected rows, Delete asks to delete them for good;
// outside it "Empty Trash" deletes every item listed, after a sheet that counts them. Restoring
// puts an item back where it was, keeping both where the name is taken there and making its
// folder again where it is gone.
//
// Trashed folders are not opened: a folder row is one item. The trashes are read on a worker;
// restoring and deleting run on the file actions' worker behind the overlay (FileActionJob),
// and the screen lists again once they are over.
//
// Thread-safety: main thread only.
class TrashViewController : public KPDocumentPickerViewController,
                            public KPDocumentPickerViewControllerDataSource {
    Q_OBJECT

public:
    explicit TrashViewController(QObject *parent = nullptr);

    BarButtonItem *emptyTrashBarButtonItem() const { return m_emptyButton; }
    BarButtonItem *restoreBarButtonItem() const { return m_restoreButton; }
    BarButtonItem *deletePermanentlyBarButtonItem() const { return m_deleteButton; }

    // The trash entry of a row of this screen.
    static TrashEntry entryOf(const KPDocumentPickerItemPtr &item);
    // The folder `path` lies in, as the rows name it: "Documents/Photos" inside the home
    // folder, else the path itself with the user's own folder as "~".
    static QString folderShown(const QString &path);

    // Data source
    void requestItemsForFilePath(
        KPDocumentPickerViewController *picker, const QString &filePath,
        std::function<void(const KPDocumentPickerItems &)> completionHandler) override;
    std::optional<QString> titleForFilePath(KPDocumentPickerViewController *picker,
                                            const QString &filePath) override;
    void configureCell(KPDocumentPickerViewController *picker, KPDocumentPickerTableViewCell *cell,
                       const KPDocumentPickerItemPtr &item) override;

    void setEditing(bool editing, bool animated) override;
    void updateViewContent() override;
    void updateToolbarItems() override;
    void didSelectRow(TableView *tableView, IndexPath indexPath) override;
    void deleteKeyPressed(bool forGood) override;

    void restoreButtonTapped();
    void deletePermanentlyButtonTapped();
    void emptyTrashButtonTapped();
    Q_INVOKABLE void restoreAction(MenuController *sender);
    Q_INVOKABLE void deletePermanentlyAction(MenuController *sender);

protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

private:
    void configureToolbar() override;
    QList<TrashEntry> selectedEntries();
    void offerChoicesFor(const KPDocumentPickerItemPtr &item);
    void restore(const QList<TrashEntry> &entries);
    // The notice after a restore: (where each item was meant to go, where it went).
    void sayRestored(const QList<std::pair<QString, QString>> &placed);
    // The sheet `text` with the destructive `button`, then the entries deleted for good.
    void confirmErase(const QList<TrashEntry> &entries, const QString &text,
                      const QString &button);
    void erase(const QList<TrashEntry> &entries);
    // After a job: its failures said, the trash listed again, edit mode left.
    void finish(const QList<Error> &failures);

    BarButtonItem *m_emptyButton = nullptr;
    BarButtonItem *m_restoreButton = nullptr;
    BarButtonItem *m_deleteButton = nullptr;
    QList<BarButtonItem *> m_browsingToolbar, m_editingToolbar;
};
