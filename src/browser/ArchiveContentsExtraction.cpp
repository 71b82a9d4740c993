#include "ArchiveContentsExtraction.h"

#include "Announcer.h"
#include "ArchiveContentsViewController.h"
#include "ArchiverManager.h"
#include "CompressQueue.h"
#include "FreeItemName.h"
#include "HomePaths.h"
#include "LocalFolderListing.h"
#include "LocalFolderSelectorViewController.h"
#include "NameClashQuestion.h"
#include "NavigationController.h"

#include <FileNameCodec.h>
#include <QFileInfo>
#include <QPointer>
#include <sys/stat.h>

namespace {

bool itemExists(const QString &path)
{
    struct stat info {};
    return ::lstat(FileNameCodec::encode(path).constData(), &info) == 0;
}

} // namespace

ArchiveContentsExtraction::ArchiveContentsExtraction(ArchiveContentsViewController *screen)
    : QObject(screen), m_screen(screen)
{
}

void ArchiveContentsExtraction::presentFolderSelector()
{
    // Opened on the archive's own folder, each level above it on the stack below.
    const auto archiveFolder = HomePaths::listingPath(QFileInfo(m_screen->archivePath()).path());
    auto *selector = new LocalFolderSelectorViewController(QStringLiteral("/"));
    selector->setIsDownload(true);
    auto *stack = new NavigationController(selector);
    stack->setModalPresentationStyle(ViewController::PresentationStyle::FormSheet);
    if (archiveFolder) {
        QString path;
        for (const auto &name : archiveFolder->split(u'/', Qt::SkipEmptyParts)) {
            path += u'/' + name;
            auto *level = new LocalFolderSelectorViewController(selector, path);
            level->setTitle(name);
            stack->pushViewController(level, false);
        }
    }
    m_screen->present(stack, true);
}

void ArchiveContentsExtraction::extractSelectionInto(const QString &pickerPath)
{
    const auto contents = m_screen->contents();
    if (!contents || !m_screen->isEditing())
        return;
    const QString destination = HomePaths::diskPath(pickerPath);
    QStringList paths, names, clashing;
    QList<int> clashes;
    for (const auto &item : m_screen->selectedItems()) {
        const auto node = quint32(item->itemType);
        names << contents->tree.name(node);
        paths << contents->tree.pathOf(node);
        if (itemExists(destination + u'/' + names.constLast())) {
            clashes << int(names.size() - 1);
            clashing << item->fileName;
        }
    }
    QPointer<ArchiveContentsExtraction> self(this);
    NameClashQuestion::ask(
        m_screen, clashing, LocalFolderListing::titleForFilePath(pickerPath),
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

void ArchiveContentsExtraction::extract(const EntrySelection &selection,
                                        const QString &destination)
{
    const auto contents = m_screen->contents();
    QPointer<ArchiveContentsExtraction> self(this);
    const QString archiveName = QFileInfo(contents->archivePath).fileName();
    QPointer<NavigationController> stack(m_screen->navigationController());
    CompressQueue::shared()->enqueue(
        tr("Extracting from “%1”…").arg(archiveName),
        [contents, selection, destination,
         password = m_screen->password()](ArchiveProgressDelegate *progress, Error *error) {
            return ArchiverManager::extractEntriesAtPath(contents->archivePath, selection,
                                                         destination, password, error, progress,
                                                         nullptr, contents->nameEncoding);
        },
        [self, stack, selection, archiveName, destination](const Error &error) {
            if (self && self->m_screen->isEditing())
                self->m_screen->selectButtonTapped();
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
            if (self && ArchiveErrors::asksForPassword(error)) {
                if (error.code == ArchiveErrors::IncorrectPassword)
                    stack->topViewController()->textNotice()->show(error.message);
                self->m_screen->askPassword(
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
