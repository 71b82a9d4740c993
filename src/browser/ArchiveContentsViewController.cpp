#include "ArchiveContentsViewController.h"

#include "AlertController.h"
#include "Announcer.h"
#include "ArchiverManager.h"
#include "CompressQueue.h"
#include "DispatchQueue.h"
#include "EntryChecks.h"
#include "FilePreviewController.h"
#include "FileRowPicture.h"
#include "FreeItemName.h"
#include "LocalFilePreviewViewController.h"
#include "LocalFolderListing.h"
#include "LocalFolderSelectorViewController.h"
#include "NameClashQuestion.h"
#include "NavigationController.h"
#include "NotificationCenter.h"
#include "PasswordDialog.h"
#include "Utils.h"

#include <FileNameCodec.h>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>

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

bool needsPassword(const Error &error)
{
    return error.code == ArchiveErrors::PasswordRequired ||
           error.code == ArchiveErrors::IncorrectPassword;
}

// Pictures of one archive folder are read together (up to this much), so the preview pages
// through them; beyond it the tapped one alone.
constexpr qint64 pagedPicturesBudget = 256 * 1024 * 1024;

bool isPicture(const QString &name)
{
    return Utils::isSupportPhotoFileFormat(QFileInfo(name).suffix().toLower());
}

// The entry of `node`, first, and for a picture the other pictures of its folder that are
// neither encrypted nor hostile, while they fit the budget.
QList<qsizetype> entriesToRead(const ArchiveContents &contents, quint32 node)
{
    const auto &tapped = contents.tree.node(node);
    QList<qsizetype> positions{tapped.entry};
    if (!isPicture(tapped.name))
        return positions;
    qint64 total = contents.entries.at(tapped.entry).size;
    for (const auto sibling : contents.tree.children(tapped.parent)) {
        const auto &other = contents.tree.node(sibling);
        if (sibling == node || other.isFolder || other.unsafe || other.entry < 0 ||
            !isPicture(other.name))
            continue;
        const auto entry = contents.entries.at(other.entry);
        if (entry.encrypted || entry.type != ArchiveEntry::Type::File)
            continue;
        total += entry.size;
        if (total > pagedPicturesBudget)
            break;
        positions.append(other.entry);
    }
    return positions;
}

// The copies carry their entries' dates: the sheet shows them, and the preview pages by them.
void datePictures(const ArchiveContents &contents, const QList<qsizetype> &positions,
                  const QString &folder)
{
    for (const auto position : positions) {
        const auto entry = contents.entries.at(position);
        if (!entry.modified.isValid())
            continue;
        const struct timespec times[2] = {{0, UTIME_OMIT}, {entry.modified.toSecsSinceEpoch(), 0}};
        const auto name = EntryChecks::exactName(entry.path).section(u'/', -1);
        ::utimensat(AT_FDCWD, FileNameCodec::encode(folder + u'/' + name).constData(), times, 0);
    }
}

bool itemExists(const QString &path)
{
    struct stat info {};
    return ::lstat(FileNameCodec::encode(path).constData(), &info) == 0;
}

} // namespace

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
      m_shared(std::make_shared<Shared>())
{
    m_shared->archivePath = archivePath;
}

ArchiveContentsViewController::ArchiveContentsViewController(
    KPDocumentPickerViewController *rootViewController, const QString &filePath, QObject *parent)
    : KPDocumentPickerViewController(rootViewController, filePath, parent)
{
    auto *root = qobject_cast<ArchiveContentsViewController *>(rootViewController);
    m_shared = root ? root->m_shared : std::make_shared<Shared>();
}

ArchiveContentsViewController::~ArchiveContentsViewController() = default;

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
    setDataSource(this);
    setDocumentPickerDelegate(this);
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
                self->extractSelectionInto(info.toString());
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
    if (needsPassword(error)) {
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

void ArchiveContentsViewController::requestItemsForFilePath(
    KPDocumentPickerViewController *, const QString &filePath,
    std::function<void(const KPDocumentPickerItems &)> completionHandler)
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

std::optional<QString>
ArchiveContentsViewController::titleForFilePath(KPDocumentPickerViewController *,
                                                const QString &filePath)
{
    if (filePath == QLatin1String("/"))
        return QFileInfo(m_shared->archivePath).fileName();
    return filePath.section(u'/', -1);
}

void ArchiveContentsViewController::configureCell(KPDocumentPickerViewController *,
                                                  KPDocumentPickerTableViewCell *cell,
                                                  const KPDocumentPickerItemPtr &item)
{
    if (!item->isFolder)
        FileRowPicture::showBadge(cell, item->fileName);
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

void ArchiveContentsViewController::didSelectItems(KPDocumentPickerViewController *,
                                                   const KPDocumentPickerItems &items,
                                                   const QString &)
{
    if (items.size() == 1 && !items.constFirst()->isFolder)
        readEntry(quint32(items.constFirst()->itemType));
}

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
    const QList<qsizetype> positions = entriesToRead(*contents, node);
    const QString folder = m_shared->previews.filePath(QString::number(++m_shared->previewsMade));
    const QString file = folder + u'/' + contents->tree.node(node).name;
    const QString title = contents->tree.displayName(node);
    readingQueue().asyncFirst([self, context = QPointer<QObject>(this), contents, positions, folder,
                               file, title, password = m_shared->password,
                               cancel = m_shared->cancel] {
        Error error;
        const bool read =
            QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
            ArchiverManager::readEntriesAtPath(contents->archivePath, contents->entries, positions,
                                               password, folder, &error, cancel.get(),
                                               contents->nameEncoding);
        if (read)
            datePictures(*contents, positions, folder);
        else if (!error.isSet())
            error = Error(ArchiveErrors::domain, ArchiveErrors::WriteFailed,
                          ArchiveContentsViewController::tr("No private folder could be made "
                                                            "for the entry."));
        DispatchQueue::main(context, [self, read, file, folder, title, error] {
            if (!self || !read)
                QDir(folder).removeRecursively();
            if (!self)
                return;
            if (read) {
                self->showPreview(file, title);
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

void ArchiveContentsViewController::showPreview(const QString &file, const QString &title)
{
    auto *screen = new LocalFilePreviewViewController;
    screen->setFilePath(file);
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
                self->presentFolderSelector();
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

// ----------------------------------------------------------------------------- extract

void ArchiveContentsViewController::presentFolderSelector()
{
    // Opened on the archive's own folder, each level above it on the stack below.
    const QString home = Utils::documentsPath();
    const QString archiveFolder = QFileInfo(m_shared->archivePath).path();
    auto *selector = new LocalFolderSelectorViewController(QStringLiteral("/"));
    selector->setIsDownload(true);
    auto *stack = new NavigationController(selector);
    stack->setModalPresentationStyle(ViewController::PresentationStyle::FormSheet);
    if (archiveFolder.startsWith(home + u'/')) {
        QString path;
        for (const auto &name : archiveFolder.mid(home.size()).split(u'/', Qt::SkipEmptyParts)) {
            path += u'/' + name;
            auto *level = new LocalFolderSelectorViewController(selector, path);
            level->setTitle(name);
            stack->pushViewController(level, false);
        }
    }
    present(stack, true);
}

void ArchiveContentsViewController::extractSelectionInto(const QString &pickerPath)
{
    const auto contents = m_shared->contents;
    if (!contents || !isEditing())
        return;
    const QString destination = LocalFolderListing::folderPathForPickerPath(pickerPath);
    QStringList paths, names, clashing;
    QList<int> clashes;
    for (const auto &item : selectedItems()) {
        const auto node = quint32(item->itemType);
        names << contents->tree.node(node).name;
        paths << contents->tree.pathOf(node);
        if (itemExists(destination + u'/' + names.constLast())) {
            clashes << int(names.size() - 1);
            clashing << item->fileName;
        }
    }
    QPointer<ArchiveContentsViewController> self(this);
    NameClashQuestion::ask(
        this, clashing, LocalFolderListing::titleForFilePath(pickerPath),
        [=](const QList<NameClashQuestion::Answer> &answers) {
            if (!self)
                return;
            EntrySelection selection;
            for (qsizetype i = 0, clash = 0; i < names.size(); ++i) {
                auto answer = NameClashQuestion::Answer::Replace;
                if (clash < clashes.size() && clashes.at(clash) == i)
                    answer = answers.at(clash++);
                if (answer == NameClashQuestion::Answer::Stop)
                    break;
                selection.items.append(
                    {paths.at(i), answer == NameClashQuestion::Answer::KeepBoth
                                      ? FreeItemName::in(destination, names.at(i))
                                      : names.at(i)});
            }
            if (!selection.items.isEmpty())
                self->extract(selection, destination);
        });
}

void ArchiveContentsViewController::extract(const EntrySelection &selection,
                                            const QString &destination)
{
    const auto contents = m_shared->contents;
    QPointer<ArchiveContentsViewController> self(this);
    const QString archiveName = QFileInfo(contents->archivePath).fileName();
    QPointer<NavigationController> stack(navigationController());
    CompressQueue::shared()->enqueue(
        tr("Extracting from “%1”…").arg(archiveName),
        [contents, selection, destination,
         password = m_shared->password](ArchiveProgressDelegate *progress, Error *error) {
            return ArchiverManager::extractEntriesAtPath(contents->archivePath, selection,
                                                         destination, password, error, progress,
                                                         nullptr, contents->nameEncoding);
        },
        [self, stack, selection, archiveName, destination](const Error &error) {
            if (self && self->isEditing())
                self->selectButtonTapped();
            if (!error.isSet()) {
                const QString notice =
                    tr("%n item(s) extracted to “%1”.", nullptr, int(selection.items.size()))
                        .arg(QFileInfo(destination).fileName());
                if (stack && stack->topViewController())
                    stack->topViewController()->textNotice()->show(notice);
                Announcer::announce(notice);
                return;
            }
            if (error.code == ArchiveErrors::Cancelled || !stack || !stack->topViewController())
                return;
            // An encrypted entry among them: asked as unpacking asks, and again after a wrong one.
            if (self && needsPassword(error)) {
                if (error.code == ArchiveErrors::IncorrectPassword)
                    stack->topViewController()->textNotice()->show(error.message);
                self->askPassword(
                    [self, selection, destination] {
                        if (self)
                            self->extract(selection, destination);
                    },
                    {});
                return;
            }
            stack->topViewController()->textNotice()->show(error.message);
        });
}
