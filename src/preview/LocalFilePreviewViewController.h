#pragma once

#include "FilePreviewController.h"
#include "PropertiesSheet.h"
#include "ViewController.h"

#include <QPointer>
#include <QStringList>

// The preview screen of one file, with its properties sheet laid over the previewer. In
// preview mode a file the previewer can show brings the previewer to the front for good (a
// picture paged through every picture of its folder, starting at it); in properties-only mode
// (`isOnlyShowFileProperty`), and for a file the previewer cannot show, the sheet stays in front:
// the picture or badge, the name to rename on Enter, the size (and packed size of an archive's
// entry) and the dates.
//
// The title names the item in front: the picture paged to while paging. After a successful
// rename `filePath` and the title follow the new name, so a further rename or a later
// appearance works on the item as it now is.
//
// The bar's "Open" opens the item in front with the desktop's application for its kind.
//
// Nothing of the folder is read on the main thread: the pictures to page through are listed on
// a queue while the opened picture is already being decoded (at the page's pixel size, known
// from the stack before the page is drawn); the previewer gets its items once the list is in.
// Other files, and properties-only mode, list nothing.
//
// Thread-safety: main thread only.
class LocalFilePreviewViewController : public ViewController,
                                       public FilePreviewControllerDataSource {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screens are made in C++")
    Q_PROPERTY(QString filePath READ filePath NOTIFY filePathChanged)
    Q_PROPERTY(FilePreviewController *previewController READ previewController CONSTANT)
    Q_PROPERTY(PropertiesSheet *sheet READ sheet CONSTANT)
    Q_PROPERTY(bool contentShown READ isContentShown NOTIFY contentShownChanged)
    Q_PROPERTY(bool renamable READ isRenamable CONSTANT)

public:
    explicit LocalFilePreviewViewController(QObject *parent = nullptr);

    QString filePath() const { return m_filePath; }
    // Set by the caller before the screen is shown.
    void setFilePath(const QString &path);
    bool isOnlyShowFileProperty() const { return m_onlyShowFileProperty; }
    void setOnlyShowFileProperty(bool only) { m_onlyShowFileProperty = only; }
    // Whether the name field renames the file (not a private copy of an archive's entry). Set
    // before the screen is shown.
    bool isRenamable() const { return m_renamable; }
    void setRenamable(bool renamable) { m_renamable = renamable; }
    // For a private copy of an archive's entry: what the entry takes in the archive, shown on
    // the sheet under its size; -1 when unknown. Set before the screen is shown.
    void setPackedSize(qint64 bytes) { m_sheet.setPackedSize(bytes); }
    // Held weakly; told after every rename attempt if it adopts SimpleValueChangedDelegate.
    QObject *simpleValueChangedDelegate() const { return m_simpleValueChangedDelegate; }
    void setSimpleValueChangedDelegate(QObject *delegate) { m_simpleValueChangedDelegate = delegate; }

    FilePreviewController *previewController() { return &m_previewController; }
    PropertiesSheet *sheet() { return &m_sheet; }

    // The pictures of the folder of `filePath` to page through: its files (not sub-folders)
    // whose extension is a picture kind and whose name does not begin with ".", in the reverse
    // of the folder's listing order (FileOperations::listFilesInDirectoryAtPath), so newest
    // first. Reads the folder: any thread, but not the main one.
    static QStringList getAllPhotoFiles(const QString &filePath);
    // Brings the previewer to the front at the file, with the pictures listed so far, unless
    // it cannot show the file.
    void preview();

    // The name field's Done: renames the item to `text` in its folder. A failure shows its
    // reason (or "Rename failed") for 2.2 seconds and keeps the field in use; a success lets
    // the field go (`nameFieldResignRequested`). The delegate is told either way. Always true.
    Q_INVOKABLE bool textFieldShouldReturn(const QString &text);

    // What a screenshot waits for: the previewer's item, or the sheet with its picture.
    bool isContentShown() const;

    int numberOfPreviewItems(FilePreviewController *controller) override;
    QString previewItemAtIndex(FilePreviewController *controller, int index) override;

    QUrl pageUrl() const override;

signals:
    void filePathChanged();
    void nameFieldResignRequested();
    void contentShownChanged();

protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

private:
    bool pagesThroughPictures() const;
    // The item in front (the picture paged to), and its name.
    QString shownPath() const;
    QString shownName() const;
    // "Open" on the bar (a file's): the item in front with the desktop's application.
    void addOpenButton();
    void previewPictureOfFolder();
    void followViewSize();
    void tellDelegate();

    QString m_filePath;
    bool m_onlyShowFileProperty = false;
    bool m_renamable = true;
    QPointer<QObject> m_simpleValueChangedDelegate;
    bool m_toolbarWasHidden = true;
    QStringList m_fileUrls;
    FilePreviewController m_previewController;
    PropertiesSheet m_sheet;
};
