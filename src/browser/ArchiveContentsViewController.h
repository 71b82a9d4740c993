#pragma once

#include "ArchiveContents.h"
#include "ArchiveContentsExtraction.h"
#include "KPDocumentPickerViewController.h"

#include <QTemporaryDir>
#include <QVariantMap>
#include <functional>
#include <memory>

// A listing screen over an archive's own folder tree ("Show Contents"): the rows, sort, search,
// sections and index strip of a folder, read-only. The top level is titled with the archive's
// name, the others with their folder's; a folder row pushes the next level, a file row previews
// its entry, read alone into a private temporary file that goes with its preview screen.
//
// The screens of one archive share one state: the archive is listed once, on a worker, when the
// first screen asks (a large zip stays the engine's compact listing; rows are made per folder,
// on a worker too). A listing that needs a password (an encrypted list of entries) asks with the
// unpacking's dialog, and again after a wrong one; Cancel takes the archive's screens away. An
// encrypted entry asks when it is first previewed or extracted.
//
// Edit mode's "Extract" takes the selected rows into a folder the user picks
// (ArchiveContentsExtraction). "Name Encoding" (zips) lists the archive again with another code
// page for names not marked as UTF-8; it applies to what is extracted from these screens too.
//
// Thread-safety: main thread only; the work is done on workers over values.
class ArchiveContentsViewController : public KPDocumentPickerViewController {
    Q_OBJECT

public:
    // The top level of the archive at `archivePath` (absolute).
    explicit ArchiveContentsViewController(const QString &archivePath, QObject *parent = nullptr);
    // A folder `filePath` ("/a/b", by the names shown) of the same archive as `rootViewController`.
    Q_INVOKABLE ArchiveContentsViewController(KPDocumentPickerViewController *rootViewController,
                                              const QString &filePath, QObject *parent = nullptr);
    ~ArchiveContentsViewController() override;

    // Pushes the archive's top screen on `stack`, then one screen per folder of `innerPath`
    // ("/inner/folder"), each listed once the archive is.
    static void show(NavigationController *stack, const QString &archivePath,
                     const QString &innerPath = {});

    QString archivePath() const;
    // The listing shown, once made (null before).
    std::shared_ptr<const ArchiveContents> contents() const;
    BarButtonItem *extractBarButtonItem() const { return m_extractButton; }
    BarButtonItem *nameEncodingBarButtonItem() const { return m_nameEncodingButton; }

    // The code pages offered for names (QStringDecoder names), with their titles.
    static QList<std::pair<QByteArray, QString>> nameEncodings();
    // Lists the archive again with `encoding` and shows its top level.
    void chooseNameEncoding(const QByteArray &encoding);

    // Reads the entry of the row named `name` of this folder into a private file and previews
    // it (a picture, PDF, text or Markdown; the properties sheet for the rest).
    void previewEntryNamed(const QString &name);
    // The folder selector's choice for "Extract" (the shown picker path of the home folder):
    // asks about namesakes, then extracts the selected rows there.
    void extractSelectionInto(const QString &pickerPath);

    // The password the archive's screens share (empty until one is asked for).
    QString password() const;
    // Asks for the archive's password on the screen shown, then `then` with it kept for the
    // archive's screens; Cancel runs `cancelled`.
    void askPassword(std::function<void()> then, std::function<void()> cancelled);

    void configureToolbar() override;
    void updateFooterLabel() override;
    void updateToolbarItems() override { updateFooterLabel(); }
    void updateViewContent() override;

protected:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    struct Shared;
    // The picker's data source and delegate for this screen, kept out of its own surface: the
    // rows (`listFolder`), titles (`titleOf`), file rows' pictures, and a tapped file row's
    // preview (`readEntry`).
    class Source;

    // A file row's badge, and the thumbnail of a picture entry where entries are read alone.
    void showRowPicture(KPDocumentPickerTableViewCell *cell,
                        const KPDocumentPickerItemPtr &item) const;
    // The rows of the archive folder `filePath`, made on a worker once the archive is listed
    // (none when it could not be).
    void listFolder(const QString &filePath,
                    std::function<void(const KPDocumentPickerItems &)> completionHandler);
    // The archive's name at the top, else the folder's.
    QString titleOf(const QString &filePath) const;

    // Runs `ready` with the listing once it is made (null when it could not be).
    void withContents(std::function<void(std::shared_ptr<const ArchiveContents>)> ready);
    void load();
    void loaded(std::shared_ptr<const ArchiveContents> contents, const Error &error);
    void readEntry(quint32 node);
    // `packedSize`: what the entry takes in the archive, -1 when unknown.
    void showPreview(const QString &file, const QString &title, qint64 packedSize);
    // Removes this archive's screens from the stack.
    void closeArchive();
    ViewController *visibleScreen();

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<Source> m_source;
    ArchiveContentsExtraction *m_extraction = new ArchiveContentsExtraction(this);
    BarButtonItem *m_extractButton = nullptr;
    BarButtonItem *m_nameEncodingButton = nullptr;
};
