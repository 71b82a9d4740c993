#pragma once

#include "KPDocumentPickerViewController.h"

#include <QStringList>

// A picker for choosing a folder of the home folder tree, presented modally on a navigation
// stack of its own. It lists folders only (files too in upload mode), walks into them with
// further selectors of its class, offers a new folder, and on Done announces the choice with a
// notification; it never moves anything itself.
//
// Modes, tested in this order on Done (none set: nothing is posted):
// - upload: files are listed too, rows can be selected; posts "upload" with the list of the
//   selected rows' absolute paths;
// - download: posts "download" with the shown folder's picker path;
// - move: posts "localMove" with {"dist": shown picker path, "source": `sourceFiles`}, "source"
//   left out when there are none.
// The mode and `sourceFiles` are set on the root selector before it is presented; pushed
// selectors copy them from the root when their view loads. The notification is posted once
// the stack has been dismissed, so the screen below, visible again, hears it.
//
// Thread-safety: main thread only. A folder is read synchronously: only its entries' kinds are
// needed, not their sizes or pictures.
class LocalFolderSelectorViewController : public KPDocumentPickerViewController,
                                          public KPDocumentPickerViewControllerDataSource,
                                          public KPDocumentPickerViewControllerDelegate {
    Q_OBJECT

public:
    explicit LocalFolderSelectorViewController(const QString &filePath, QObject *parent = nullptr);
    Q_INVOKABLE LocalFolderSelectorViewController(KPDocumentPickerViewController *rootViewController,
                                                  const QString &filePath,
                                                  QObject *parent = nullptr);

    bool isUpload() const { return m_isUpload; }
    void setIsUpload(bool upload) { m_isUpload = upload; }
    bool isDownload() const { return m_isDownload; }
    void setIsDownload(bool download) { m_isDownload = download; }
    bool isMoveItem() const { return m_isMoveItem; }
    void setIsMoveItem(bool move) { m_isMoveItem = move; }
    QStringList sourceFiles() const { return m_sourceFiles; }
    void setSourceFiles(const QStringList &paths) { m_sourceFiles = paths; }

    QList<BarButtonItem *> selectorToolbarItems() const { return m_selectorToolbarItems; }
    BarButtonItem *createFolderBarButtonItem() const { return m_createFolderBarButtonItem; }

    // Data source
    void requestItemsForFilePath(
        KPDocumentPickerViewController *picker, const QString &filePath,
        std::function<void(const KPDocumentPickerItems &)> completionHandler) override;
    std::optional<QString> titleForFilePath(KPDocumentPickerViewController *picker,
                                            const QString &filePath) override;
    void configureCell(KPDocumentPickerViewController *picker, KPDocumentPickerTableViewCell *cell,
                       const KPDocumentPickerItemPtr &item) override;
    // Delegate: a chosen row means nothing here; Done decides.
    void didSelectItems(KPDocumentPickerViewController *picker, const KPDocumentPickerItems &items,
                        const QString &filePath) override;

    void configureToolbar() override;
    void createFolderButtonTapped();
    void doneButtonTapped();
    void cancelButtonTapped();

protected:
    void viewDidLoad() override;
    // Escape closes the selector as Cancel does.
    void escapeWithNothingOpen() override { cancelButtonTapped(); }

private:
    // Dismisses the stack this selector is on, then runs `then`.
    void dismissStack(std::function<void()> then);
    // The notification Done posts, by mode: its name (empty: none) and object.
    std::pair<QString, QVariant> choice();
    QStringList selectedRowPaths();

    bool m_isUpload = false;
    bool m_isDownload = false;
    bool m_isMoveItem = false;
    QStringList m_sourceFiles;
    QList<BarButtonItem *> m_selectorToolbarItems;
    BarButtonItem *m_createFolderBarButtonItem = nullptr;
};
