#include "ArchiveContentsViewController.h"

#include "AlertController.h"
#include "ArchiveContentsExtraction.h"
#include "ArchiveEntryCopy.h"
#include "ArchiveEntryPicture.h"
#include "ArchiveErrors.h"
#include "DispatchQueue.h"
#include "FilePreviewController.h"
#include "FileRowPicture.h"
#include "LocalFilePreviewViewController.h"
#include "NavigationController.h"
#include "NotificationCenter.h"
#include "PasswordDialog.h"
#include "Thumbnail.h"

#include <QDir>
#include <QFileInfo>
#include <atomic>

namespace {

const QString downloadNotification = QStringLiteral("download");

DispatchQueue &readingQueue()
{
    static auto *queue = new DispatchQueue(QStringLiteral("ArchiveContentsViewController.queue"));
    return *queue;
}

// Tells the engine to stop once the screens are gone.
class CancelFlag : public ArchiveProgressDelegate {
public:
    void archiveProgressChanged(const ArchiveProgress &) override {}
    bool isArchiveCancelled() override { return m_cancelled; }
    void cancel() { m_cancelled = true; }

private:
    std::atomic<bool> m_cancelled = false;
};

} // namespace

class ArchiveContentsViewController::Source final
    : public KPDocumentPickerViewControllerDataSource,
      public KPDocumentPickerViewControllerDelegate {
public:
    explicit Source(ArchiveContentsViewController *screen) : m_screen(screen) {}

    void requestItemsForFilePath(KPDocumentPickerViewController *, const QString &filePath,
                                 std::function<void(const KPDocumentPickerItems &)> done) override
    {
        m_screen->listFolder(filePath, std::move(done));
    }
    std::optional<QString> titleForFilePath(KPDocumentPickerViewController *,
                                            const QString &filePath) override
    {
        return m_screen->titleOf(filePath);
    }
    void configureCell(KPDocumentPickerViewController *, KPDocumentPickerTableViewCell *cell,
                       const KPDocumentPickerItemPtr &item) override
    {
        if (!item->isFolder)
            m_screen->showRowPicture(cell, item);
    }
    void didSelectItems(KPDocumentPickerViewController *, const KPDocumentPickerItems &items,
                        const QString &) override
    {
        if (items.size() == 1 && !items.constFirst()->isFolder)
            m_screen->readEntry(quint32(items.constFirst()->itemType));
    }

private:
    ArchiveContentsViewController *m_screen;
};

struct ArchiveContentsViewController::Shared {
    QString archivePath;
    QString password;
    QByteArray nameEncoding;
    std::shared_ptr<const ArchiveContents> contents;
    bool loading = false;
    QList<std::function<void(std::shared_ptr<const ArchiveContents>)>> waiting;
    std::shared_ptr<CancelFlag> cancel = std::make_shared<CancelFlag>();
    // The entries read for previews, each in a folder of its own (QTemporaryDir makes it 0700).
    QTemporaryDir previews{QDir::tempPath() + QStringLiteral("/ombrisk-entries-XXXXXX")};
    int previewsMade = 0;

    ~Shared() { cancel->cancel(); }
};

ArchiveContentsViewController::ArchiveContentsViewController(const QString &archivePath,
                                                             QObject *parent)
    : KPDocumentPickerViewController(QStringLiteral("/"), parent),
      m_shared(std::make_shared<Shared>()), m_source(std::make_unique<Source>(this))
{
    m_shared->archivePath = archivePath;
}

ArchiveContentsViewController::ArchiveContentsViewController(
    KPDocumentPickerViewController *rootViewController, const QString &filePath, QObject *parent)
    : KPDocumentPickerViewController(rootViewController, filePath, parent),
      m_source(std::make_unique<Source>(this))
{
    auto *root = qobject_cast<ArchiveContentsViewController *>(rootViewController);
    m_shared = root ? root->m_shared : std::make_shared<Shared>();
}

ArchiveContentsViewController::~ArchiveContentsViewController()
{
    // The picker's own destructor asks its data source, which goes with this part.
    setDataSource(nullptr);
    setDocumentPickerDelegate(nullptr);
}

void ArchiveContentsViewController::extractSelectionInto(const QString &pickerPath)
{
    m_extraction->extractSelectionInto(pickerPath);
}

QString ArchiveContentsViewController::password() const
{
    return m_shared->password;
}

void ArchiveContentsViewController::show(NavigationController *stack, const QString &archivePath,
                                         const QString &innerPath)
{
    if (!stack)
        return;
    auto *root = new ArchiveContentsViewController(archivePath);
    stack->pushViewController(root, true);
    QString path;
    for (const auto &name : innerPath.split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + name;
        auto *level = new ArchiveContentsViewController(root, path);
        level->setTitle(name);
        stack->pushViewController(level, false);
    }
}

QString ArchiveContentsViewController::archivePath() const
{
    return m_shared->archivePath;
}

void ArchiveContentsViewController::showRowPicture(KPDocumentPickerTableViewCell *cell,
                                                   const KPDocumentPickerItemPtr &item) const
{
    FileRowPicture::showBadge(cell, item->fileName);
    const auto contents = m_shared->contents;
    const qint64 position = contents ? contents->entryOf(item) : -1;
    if (position < 0 || !ArchiveEntryPicture::readsEntriesAlone(contents->archivePath) ||
        contents->tree.node(quint32(item->itemType)).unsafe)
        return;
    const ArchiveEntry entry = contents->entries.at(position);
    if (!ArchiveEntryPicture::isPicture(entry))
        return;
    Thumbnail::setImageOfEntry(
        cell->imageView(), contents->archivePath, entry.path,
        [contents, position](const QString &, QSize bounds, Error *error) {
            return ArchiveEntryPicture::decodeToFit(contents->archivePath, contents->entries,
                                                    position, contents->password,
                                                    contents->nameEncoding, bounds, error);
        });
}

std::shared_ptr<const ArchiveContents> ArchiveContentsViewController::contents() const
{
    return m_shared->contents;
}

QList<std::pair<QByteArray, QString>> ArchiveContentsViewController::nameEncodings()
{
    return {{"UTF-8", tr("Unicode (UTF-8)")},
            {"IBM437", tr("DOS Latin US (CP437)")},
            {"IBM866", tr("DOS Cyrillic (CP866)")},
            {"windows-1251", tr("Windows Cyrillic (CP1251)")},
            {"GBK", tr("Chinese Simplified (GBK)")},
            {"Shift_JIS", tr("Japanese (Shift-JIS)")},
            {"EUC-KR", tr("Korean (EUC-KR)")},
            {"windows-1252", tr("Windows Western (Windows-1252)")}};
}

// ----------------------------------------------------------------------------- life cycle

void ArchiveContentsViewController::viewDidLoad()
{
    KPDocumentPickerViewController::viewDidLoad();
    setDataSource(m_source.get());
    setDocumentPickerDelegate(m_source.get());
    setBackButtonTitle(QStringLiteral(""));
    showNewestFirst();
    configureToolbar();
}

void ArchiveContentsViewController::viewDidAppear(bool animated)
{
    KPDocumentPickerViewController::viewDidAppear(animated);
    QPointer<ArchiveContentsViewController> self(this);
    NotificationCenter::defaultCenter()->addObserver(
        this, downloadNotification, [self](const QVariant &info) {
            if (self)
                self->m_extraction->extractSelectionInto(info.toString());
        });
}

void ArchiveContentsViewController::viewDidDisappear(bool animated)
{
    KPDocumentPickerViewController::viewDidDisappear(animated);
    NotificationCenter::defaultCenter()->removeObserver(this, downloadNotification);
}

ViewController *ArchiveContentsViewController::visibleScreen()
{
    auto *stack = navigationController();
    return stack && stack->topViewController() ? stack->topViewController() : this;
}

void ArchiveContentsViewController::closeArchive()
{
    auto *stack = navigationController();
    while (stack && qobject_cast<ArchiveContentsViewController *>(stack->topViewController()) &&
           stack->viewControllers().size() > 1) {
        const auto *top = static_cast<ArchiveContentsViewController *>(stack->topViewController());
        if (top->m_shared != m_shared)
            break;
        stack->popViewController(true);
    }
}

// ----------------------------------------------------------------------------- listing

void ArchiveContentsViewController::withContents(
    std::function<void(std::shared_ptr<const ArchiveContents>)> ready)
{
    if (m_shared->contents) {
        ready(m_shared->contents);
        return;
    }
    m_shared->waiting.append(std::move(ready));
    if (!m_shared->loading)
        load();
}

void ArchiveContentsViewController::load()
{
    m_shared->loading = true;
    QPointer<ArchiveContentsViewController> self(this);
    readingQueue().asyncFirst([self, context = QPointer<QObject>(this),
                               path = m_shared->archivePath, password = m_shared->password,
                               encoding = m_shared->nameEncoding, cancel = m_shared->cancel] {
        Error error;
        auto contents = ArchiveContents::load(path, password, encoding, &error, cancel.get());
        DispatchQueue::main(context, [self, contents, error] {
            if (self)
                self->loaded(contents, error);
        });
    });
}

void ArchiveContentsViewController::loaded(std::shared_ptr<const ArchiveContents> contents,
                                           const Error &error)
{
    m_shared->loading = false;
    if (ArchiveErrors::asksForPassword(error)) {
        if (error.code == ArchiveErrors::IncorrectPassword)
            visibleScreen()->textNotice()->show(error.message);
        QPointer<ArchiveContentsViewController> self(this);
        askPassword(
            [self] {
                if (self)
                    self->load();
            },
            [self] {
                if (self)
                    self->loaded(nullptr, ArchiveErrors::cancelled());
            });
        return;
    }
    m_shared->contents = contents;
    const auto waiting = std::exchange(m_shared->waiting, {});
    for (const auto &ready : waiting)
        ready(contents);
    if (contents)
        return;
    closeArchive();
    if (error.code != ArchiveErrors::Cancelled)
        visibleScreen()->textNotice()->show(error.message);
}

void ArchiveContentsViewController::askPassword(std::function<void()> then,
                                                std::function<void()> cancelled)
{
    const auto shared = m_shared;
    PasswordDialog::present(
        visibleScreen(),
        [shared, then](const QString &password) {
            shared->password = password;
            then();
        },
        std::move(cancelled));
}

void ArchiveContentsViewController::listFolder(
    const QString &filePath, std::function<void(const KPDocumentPickerItems &)> completionHandler)
{
    QPointer<ArchiveContentsViewController> self(this);
    withContents([self, filePath,
                  completionHandler](std::shared_ptr<const ArchiveContents> contents) {
        if (!contents) {
            completionHandler({});
            return;
        }
        // A folder of 200,000 rows takes a while to make: not on the main thread.
        readingQueue().asyncFirst([context = QPointer<QObject>(self), contents, filePath,
                                   completionHandler] {
            const auto folder = contents->folderAt(filePath);
            const auto items = folder ? contents->itemsOf(*folder) : KPDocumentPickerItems();
            DispatchQueue::main(context, [completionHandler, items] { completionHandler(items); });
        });
    });
}

QString ArchiveContentsViewController::titleOf(const QString &filePath) const
{
    if (filePath == QLatin1String("/"))
        return QFileInfo(m_shared->archivePath).fileName();
    return filePath.section(u'/', -1);
}

// ----------------------------------------------------------------------------- name encoding

void ArchiveContentsViewController::chooseNameEncoding(const QByteArray &encoding)
{
    if (encoding == m_shared->nameEncoding && m_shared->contents)
        return;
    m_shared->nameEncoding = encoding;
    m_shared->contents.reset();
    // Folder names may read differently now: the top level is shown again.
    auto *stack = navigationController();
    while (stack && stack->topViewController() != rootViewController() &&
           qobject_cast<ArchiveContentsViewController *>(stack->topViewController()))
        stack->popViewController(false);
    if (auto *root = qobject_cast<ArchiveContentsViewController *>(rootViewController()))
        root->reloadItemsFromDataSource();
}

// ----------------------------------------------------------------------------- preview

void ArchiveContentsViewController::previewEntryNamed(const QString &name)
{
    for (const auto &item : items())
        if (item->fileName == name && !item->isFolder) {
            readEntry(quint32(item->itemType));
            return;
        }
}

void ArchiveContentsViewController::readEntry(quint32 node)
{
    const auto contents = m_shared->contents;
    if (!contents || node >= quint32(contents->tree.size()) || contents->tree.node(node).entry < 0)
        return;
    const auto position = contents->tree.node(node).entry;
    const auto entry = contents->entries.at(position);
    QPointer<ArchiveContentsViewController> self(this);
    if (entry.encrypted && m_shared->password.isEmpty()) {
        askPassword(
            [self, node] {
                if (self)
                    self->readEntry(node);
            },
            {});
        return;
    }
    if (!m_shared->previews.isValid()) {
        textNotice()->show(tr("No private folder could be made for the entry. Check that the "
                              "temporary folder can be written."));
        return;
    }
    const QString folder = m_shared->previews.filePath(QString::number(++m_shared->previewsMade));
    const QString file = folder + u'/' + contents->tree.name(node);
    const QString title = contents->tree.displayName(node);
    readingQueue().asyncFirst([self, context = QPointer<QObject>(this), contents, node, folder,
                               file, title, packedSize = entry.packedSize,
                               password = m_shared->password, cancel = m_shared->cancel] {
        Error error;
        const bool read =
            ArchiveEntryCopy::read(*contents, node, password, folder, cancel.get(), &error);
        DispatchQueue::main(context, [self, read, file, folder, title, packedSize, error] {
            if (!self || !read)
                QDir(folder).removeRecursively();
            if (!self)
                return;
            if (read) {
                self->showPreview(file, title, packedSize);
                return;
            }
            if (error.code == ArchiveErrors::Cancelled)
                return;
            self->textNotice()->show(error.message);
            if (error.code == ArchiveErrors::IncorrectPassword)
                self->m_shared->password.clear();
        });
    });
}

void ArchiveContentsViewController::showPreview(const QString &file, const QString &title,
                                                qint64 packedSize)
{
    auto *screen = new LocalFilePreviewViewController;
    screen->setFilePath(file);
    screen->setPackedSize(packedSize);
    screen->setOnlyShowFileProperty(!FilePreviewController::canPreviewItem(file));
    screen->setRenamable(false);
    screen->setTitle(title);
    // The private copy goes with the screen that shows it.
    const QString folder = QFileInfo(file).path();
    connect(screen, &QObject::destroyed, [folder] { QDir(folder).removeRecursively(); });
    navigationController()->pushViewController(screen, true);
}

// ----------------------------------------------------------------------------- toolbar

void ArchiveContentsViewController::configureToolbar()
{
    if (!toolBarLabel)
        toolBarLabel = BarButtonItem::label(tr("Loading..."), 12, this);
    QPointer<ArchiveContentsViewController> self(this);
    m_extractButton = BarButtonItem::titled(
        tr("Extract"), BarButtonItem::Style::Done,
        [self] {
            if (self)
                self->m_extraction->presentFolderSelector();
        },
        this);
    m_extractButton->setEnabled(false);
    QList<BarButtonItem *> items{BarButtonItem::flexibleSpace(this), toolBarLabel.data(),
                                 BarButtonItem::flexibleSpace(this), m_extractButton};
    if (ArchiveKinds::kindForPath(m_shared->archivePath) == ArchiveKind::Zip) {
        m_nameEncodingButton = BarButtonItem::titled(
            tr("Name Encoding"), BarButtonItem::Style::Plain,
            [self] {
                if (!self)
                    return;
                auto *sheet = new AlertController(
                    tr("Name Encoding"),
                    tr("Names this zip doesn't mark as Unicode are read with the code page "
                       "chosen, in this list and in what is extracted from it."),
                    AlertController::Style::ActionSheet);
                sheet->addAction(tr("Cancel"), AlertAction::Style::Cancel);
                for (const auto &[encoding, title] : nameEncodings())
                    sheet->addAction(title, AlertAction::Style::Default, [self, encoding] {
                        if (self)
                            self->chooseNameEncoding(encoding);
                    });
                self->present(sheet, true);
            },
            this);
        items.prepend(m_nameEncodingButton);
    }
    setToolbarItems(items);
    if (auto *stack = navigationController())
        stack->setToolbarHidden(false, true);
}

void ArchiveContentsViewController::updateViewContent()
{
    resetHeaderConstraints();
    if (selectButton())
        selectButton()->setEnabled(!items().isEmpty());
    updateFooterLabel();
}

void ArchiveContentsViewController::updateFooterLabel()
{
    KPDocumentPickerViewController::updateFooterLabel();
    if (m_extractButton)
        m_extractButton->setEnabled(isEditing() &&
                                    !tableView()->indexPathsForSelectedRows().isEmpty());
}
