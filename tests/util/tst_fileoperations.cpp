#include "AppDirectories.h"
#include "ApplicationFolders.h"
#include "FileOperations.h"
#include "FolderHandle.h"
#include "FreeItemName.h"
#include "NoReplaceRename.h"
#include "Utils.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using Op = FileOperations;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every name in a folder, hidden ones too: a leftover temporary shows up here.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Every item below `folder` as "name=content", "name/" or "name -> target", sorted.
QStringList snapshot(const QString &folder)
{
    QStringList items;
    QDirIterator walk(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QFileInfo info(walk.next());
        const auto name = QDir(folder).relativeFilePath(info.filePath());
        if (info.isSymLink())
            items << name + " -> " + info.symLinkTarget();
        else
            items << (info.isDir() ? name + '/' : name + '=' + readFile(info.filePath()));
    }
    items.sort();
    return items;
}

dev_t deviceOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_dev : 0;
}

bool isLink(const QString &path)
{
    return QFileInfo(path).isSymLink();
}

} // namespace

#define QVERIFY_ERROR(error, expectedCode)                                                         \
    do {                                                                                           \
        QCOMPARE((error).domain, Op::errorDomain);                                                 \
        QCOMPARE((error).code, int(expectedCode));                                                 \
        QVERIFY(!(error).message.isEmpty());                                                       \
    } while (false)

class TestFileOperations : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    std::unique_ptr<QTemporaryDir> dir_;

    QString at(const QString &name) const { return dir_->filePath(name); }

    // A folder on another file system than dir_, or null when there is none to use.
    std::unique_ptr<QTemporaryDir> otherFileSystemDir()
    {
        auto other = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/ombrisk-XXXXXX"));
        if (!other->isValid() || deviceOf(other->path()) == deviceOf(dir_->path()))
            return nullptr;
        return other;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        qputenv("OMBRISK_ROOT", QFile::encodeName(root_.path()));
    }

    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void relativePathsLieInDocuments()
    {
        const auto documents = AppDirectories::documentsDirectory();
        QCOMPARE(documents, QDir(root_.path()).filePath(QStringLiteral("Documents")));
        QCOMPARE(Op::resolvedPath(QStringLiteral("Inbox/a.pdf")), documents + "/Inbox/a.pdf");
        QCOMPARE(Op::resolvedPath(at("x")), at("x"));

        writeFile(documents + "/Inbox/a.pdf", "pdf");
        Error error;
        QVERIFY(Op::moveItemAtPath(QStringLiteral("Inbox/a.pdf"), at("a.pdf"), &error));
        QCOMPARE(readFile(at("a.pdf")), QByteArray("pdf"));
        QVERIFY(!QFile::exists(documents + "/Inbox/a.pdf"));
    }

    void emptyPathsAreRefused()
    {
        // "" must not be taken as the Documents directory itself.
        const auto kept = AppDirectories::documentsDirectory() + "/kept.txt";
        writeFile(kept, "kept");
        Error error;
        QVERIFY(!Op::removeItemAtPath(QString(), &error));
        QVERIFY_ERROR(error, Op::InvalidPath);
        QCOMPARE(readFile(kept), QByteArray("kept"));
    }

    void createDirectories()
    {
        QVERIFY(Op::createDirectoriesForPath(at("a/b/c")));
        QVERIFY(QFileInfo(at("a/b/c")).isDir());
        QVERIFY(Op::createDirectoriesForPath(at("a/b/c"))); // existing: no failure
    }

    void moveOntoItselfIsNoOp_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("targetSuffix");
        QTest::newRow("file") << false << "";
        QTest::newRow("folder") << true << "";
        QTest::newRow("folder, trailing slash") << true << "/";
        QTest::newRow("file, dotted path") << false << "/../item";
    }

    void moveOntoItselfIsNoOp()
    {
        QFETCH(bool, folder);
        QFETCH(QString, targetSuffix);
        const auto item = at("item");
        const auto content = folder ? item + "/inner.txt" : item;
        writeFile(content, "keep");
        for (const bool overwrite : {true, false}) {
            Error error;
            QVERIFY(Op::moveItemAtPath(item, item + targetSuffix, overwrite, &error));
            QVERIFY(!error);
            QCOMPARE(readFile(content), QByteArray("keep"));
        }
        Error error;
        QVERIFY(Op::renameItemAtPath(item, QStringLiteral("item"), &error));
        QCOMPARE(readFile(content), QByteArray("keep"));
        QCOMPARE(entries(dir_->path()), QStringList{"item"});
    }

    void moveOntoHardLinkOfItselfKeepsData()
    {
        writeFile(at("a"), "data");
        QCOMPARE(
            ::link(QFile::encodeName(at("a")).constData(), QFile::encodeName(at("b")).constData()),
            0);
        QVERIFY(Op::moveItemAtPath(at("a"), at("b"), true, nullptr));
        QCOMPARE(readFile(at("b")), QByteArray("data"));
    }

    // Missing parents are made; a sibling whose name merely starts alike is not inside.
    void moveMakesMissingParents()
    {
        writeFile(at("A/x.txt"), "x");
        QVERIFY(Op::moveItemAtPath(at("A"), at("AB/new/A"), nullptr));
        QCOMPARE(readFile(at("AB/new/A/x.txt")), QByteArray("x"));
    }

    void overwritingMoveReplaces_data()
    {
        QTest::addColumn<bool>("sourceIsFolder");
        QTest::addColumn<bool>("targetIsFolder");
        QTest::newRow("file over file") << false << false;
        QTest::newRow("folder over folder") << true << true;
        QTest::newRow("file over folder") << false << true;
        QTest::newRow("folder over file") << true << false;
    }

    void overwritingMoveReplaces()
    {
        QFETCH(bool, sourceIsFolder);
        QFETCH(bool, targetIsFolder);
        writeFile(sourceIsFolder ? at("src/item/new.txt") : at("src/item"), "new");
        writeFile(targetIsFolder ? at("dst/item/old.txt") : at("dst/item"), "old");
        Error error;
        QVERIFY2(Op::moveItemAtPath(at("src/item"), at("dst/item"), true, &error),
                 qPrintable(error.message));
        QCOMPARE(readFile(sourceIsFolder ? at("dst/item/new.txt") : at("dst/item")),
                 QByteArray("new"));
        if (sourceIsFolder)
            QCOMPARE(entries(at("dst/item")), QStringList{"new.txt"});
        QCOMPARE(entries(at("dst")), QStringList{"item"}); // nothing left aside
        QCOMPARE(entries(at("src")), QStringList{});
    }

    void moveAcrossFileSystems()
    {
        const auto other = otherFileSystemDir();
        if (!other)
            QSKIP("/dev/shm is missing or on the same file system as the temporary folder");
        const auto source = other->filePath("tree");
        writeFile(source + "/sub/a.txt", "aaa");
        writeFile(source + "/b.txt", "bbb");
        QVERIFY(QFile::link(QStringLiteral("sub/a.txt"), source + "/link"));
        const QDateTime then(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC);
        QFile b(source + "/b.txt");
        QVERIFY(b.open(QIODevice::ReadWrite) && b.setFileTime(then, QFile::FileModificationTime));
        b.close();

        Error error;
        QVERIFY2(Op::moveItemAtPath(source, at("tree"), &error), qPrintable(error.message));
        QVERIFY(!QFile::exists(source));
        QCOMPARE(readFile(at("tree/sub/a.txt")), QByteArray("aaa"));
        QCOMPARE(readFile(at("tree/link")), QByteArray("aaa"));
        QVERIFY(isLink(at("tree/link")));
        QCOMPARE(QFileInfo(at("tree/b.txt")).lastModified().toUTC(), then);
        QCOMPARE(entries(dir_->path()), QStringList{"tree"});
    }

    void failedCopyAcrossFileSystemsLosesNothing_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("to a free name") << false;
        QTest::newRow("replacing an item") << true;
    }

    void failedCopyAcrossFileSystemsLosesNothing()
    {
        QFETCH(bool, overwrite);
        const auto other = otherFileSystemDir();
        if (!other)
            QSKIP("/dev/shm is missing or on the same file system as the temporary folder");
        const auto source = other->filePath("tree");
        writeFile(source + "/a.txt", "aaa");
        // A pipe can't be copied, so the copy fails half-way, whoever runs the test.
        QCOMPARE(::mkfifo(QFile::encodeName(source + "/pipe").constData(), 0600), 0);
        if (overwrite)
            writeFile(at("tree/old.txt"), "old");

        Error error;
        QVERIFY(!Op::moveItemAtPath(source, at("tree"), overwrite, &error));
        QVERIFY_ERROR(error, Op::CopyFailed);
        QCOMPARE(entries(source), (QStringList{"a.txt", "pipe"}));
        QCOMPARE(readFile(source + "/a.txt"), QByteArray("aaa"));
        QCOMPARE(entries(dir_->path()), overwrite ? QStringList{"tree"} : QStringList{});
        if (overwrite)
            QCOMPARE(readFile(at("tree/old.txt")), QByteArray("old"));
    }

    // What an operation refuses fails with its reason and leaves every item as it was: a move
    // onto a taken name or of what is not there, a folder into itself (through a link too), a
    // replacing move that would discard its source (a link replacing what it points to would
    // be left pointing at nothing), a bad new name, folders through a file or a NUL.
    void refusalsLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("operation"); // move, replace (a move that overwrites), ...
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("target"); // a path, or a name for rename
        QTest::addColumn<int>("code");
        const auto row = [](const char *tag, const char *operation, const QString &item,
                            const char *target, int code) {
            QTest::newRow(tag) << operation << item << target << code;
        };
        row("move onto a taken name", "move", "src/a.txt", "dst/a.txt", Op::ItemExists);
        row("move what is not there", "replace", "missing", "b.txt", Op::ItemNotFound);
        for (const char *operation : {"move", "replace"})
            for (const char *target : {"A/A", "A/sub/A", "toSub/A"})
                QTest::addRow("%s into itself: %s", operation, target)
                    << operation << "A" << target << int(Op::MoveIntoItself);
        row("replace a folder holding it", "replace", "A/sub/x.txt", "A/sub",
            Op::TargetHoldsSource);
        row("replace what a link points to", "replace", "link", "A/sub/x.txt",
            Op::TargetHoldsSource);
        row("rename what is not there", "rename", "missing", "x", Op::ItemNotFound);
        row("remove what is not there", "remove", "missing", "", Op::ItemNotFound);
        row("folders through a file", "folders", "file/sub", "", Op::NotAFolder);
        row("folders with a NUL", "folders", QString("a") + QChar(u'\0') + "b", "",
            Op::InvalidPath);
        const auto rename = [](const char *tag, const QString &name, int code) {
            QTest::newRow(tag) << "rename"
                               << "src/a.txt" << name << code;
        };
        rename("empty", "", Op::NameEmpty);
        rename("dot", ".", Op::NameIsDot);
        rename("dot dot", "..", Op::NameIsDotDot);
        rename("slash", "x/y", Op::NameHasSlash);
        rename("spaces", "  \t", Op::NameBlank);
        rename("parent by slash", "../escaped", Op::NameHasSlash);
        rename("nul", QString("x") + QChar(u'\0') + "y", Op::NameHasNul);
        rename("taken by a file", "other.txt", Op::NameTaken);
        rename("taken by a folder", "folder", Op::NameTaken);
        rename("taken by a dangling link", "dangling", Op::NameTaken);
    }
    void refusalsLeaveEverythingAsItWas()
    {
        QFETCH(QString, operation);
        QFETCH(QString, item);
        QFETCH(QString, target);
        QFETCH(int, code);
        writeFile(at("src/a.txt"), "new");
        writeFile(at("src/other.txt"), "other");
        QVERIFY(QDir().mkpath(at("src/folder")));
        QVERIFY(QFile::link(at("nowhere"), at("src/dangling")));
        writeFile(at("dst/a.txt"), "old");
        writeFile(at("A/sub/x.txt"), "x");
        QVERIFY(QFile::link(at("A/sub"), at("toSub")));
        QVERIFY(QFile::link(at("A/sub/x.txt"), at("link")));
        writeFile(at("file"), "x");
        const auto before = snapshot(dir_->path());
        Error error;
        bool done = true;
        if (operation == "rename")
            done = Op::renameItemAtPath(at(item), target, &error);
        else if (operation == "remove")
            done = Op::removeItemAtPath(at(item), &error);
        else if (operation == "folders")
            done = Op::createDirectoriesForPath(at(item), &error);
        else
            done = Op::moveItemAtPath(at(item), at(target), operation == "replace", &error);
        QVERIFY(!done);
        QVERIFY_ERROR(error, code);
        QCOMPARE(snapshot(dir_->path()), before);
    }

    void renameWithinFolder()
    {
        writeFile(at("dir/sub/a.txt"), "a");
        QVERIFY(Op::renameItemAtPath(at("dir/sub"), QStringLiteral("Ünïcode name"), nullptr));
        QCOMPARE(readFile(at("dir/Ünïcode name/a.txt")), QByteArray("a"));
        QCOMPARE(entries(at("dir")), QStringList{"Ünïcode name"});
    }

    void removeNeverFollowsLinks()
    {
        writeFile(at("outside/keep.txt"), "keep");
        writeFile(at("tree/sub/own.txt"), "own");
        QVERIFY(QFile::link(at("outside"), at("tree/sub/toOutsideFolder")));
        QVERIFY(QFile::link(at("outside/keep.txt"), at("tree/toOutsideFile")));
        QVERIFY(QFile::link(at("outside"), at("linkToFolder")));

        Error error;
        QVERIFY(Op::removeItemAtPath(at("linkToFolder"), &error));
        QVERIFY(!isLink(at("linkToFolder")));
        QVERIFY(Op::removeItemAtPath(at("tree"), &error));
        QVERIFY(!QFileInfo::exists(at("tree")));
        QCOMPARE(readFile(at("outside/keep.txt")), QByteArray("keep"));
        QCOMPARE(entries(dir_->path()), QStringList{"outside"});
    }

    void removeTakesDanglingLinks()
    {
        QVERIFY(QFile::link(at("nowhere"), at("dangling")));
        QVERIFY(Op::removeItemAtPath(at("dangling"), nullptr));
        QCOMPARE(entries(dir_->path()), QStringList{});
    }

    void listFilesGivesPlainFilesOnly()
    {
        writeFile(at("b.txt"), "b");
        writeFile(at(".hidden"), "h");
        writeFile(at("a.jpg"), "a");
        writeFile(at("folder/inner.txt"), "i");
        writeFile(at("c.txt"), "c");
        QVERIFY(QFile::link(at("a.jpg"), at("link.jpg")));
        // Oldest first; the same time goes by name.
        const QDateTime base = QDateTime::currentDateTime().addDays(-1);
        for (const auto &[name, minutes] : {std::pair{"b.txt", 0}, {".hidden", 5}, {"a.jpg", 5},
                                            {"c.txt", 1}}) {
            QFile file(at(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(base.addSecs(60 * minutes), QFileDevice::FileModificationTime));
        }
        QCOMPARE(Op::listFilesInDirectoryAtPath(dir_->path()),
                 (QStringList{at("b.txt"), at("c.txt"), at(".hidden"), at("a.jpg")}));
        QCOMPARE(Op::listFilesInDirectoryAtPath(at("missing")), QStringList{});
        QCOMPARE(Op::listFilesInDirectoryAtPath(at("b.txt")), QStringList{});
    }

    void newFolderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code"); // 0: accepted
        QTest::newRow("plain") << "Photos" << 0;
        QTest::newRow("nested") << "a/b" << 0;
        QTest::newRow("trailing slash") << "a/" << 0;
        QTest::newRow("blank") << " " << int(Op::NameBlank);
        QTest::newRow("blank inside") << QString("a/ \u3000/b") << int(Op::NameBlank);
        QTest::newRow("hidden") << ".cache" << 0;
        QTest::newRow("empty") << "" << int(Op::NameEmpty);
        QTest::newRow("absolute") << "/etc/x" << int(Op::FolderNameAbsolute);
        QTest::newRow("dot dot") << ".." << int(Op::NameIsDotDot);
        QTest::newRow("dot dot inside") << "a/../../b" << int(Op::NameIsDotDot);
        QTest::newRow("dot inside") << "a/./b" << int(Op::NameIsDot);
        QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(u'\0')) << int(Op::NameHasNul);
    }

    void newFolderNames()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        Error error;
        QCOMPARE(Op::validateNewFolderName(name, &error), code == 0);
        QCOMPARE(Op::createFolderNamed(at("parent"), name, &error), code == 0);
        if (code) {
            QVERIFY_ERROR(error, code);
            QCOMPARE(entries(dir_->path()), QStringList{});
        } else {
            QVERIFY(QFileInfo(at("parent/" + name)).isDir());
            QCOMPARE(entries(dir_->path()), QStringList{"parent"});
        }
    }

    void createFolderStaysInsideItsParent()
    {
        QVERIFY(QDir().mkpath(at("parent")));
        QVERIFY(QDir().mkpath(at("outside")));
        QVERIFY(QFile::link(at("outside"), at("parent/escape")));
        Error error;
        QVERIFY(!Op::createFolderNamed(at("parent"), QStringLiteral("escape/new"), &error));
        QVERIFY_ERROR(error, Op::FolderOutsideParent);
        QCOMPARE(entries(at("outside")), QStringList{});

        QVERIFY(Op::createFolderNamed(at("parent"), QStringLiteral("made"), &error));
        error = {};
        QVERIFY(!Op::createFolderNamed(at("parent"), QStringLiteral("made"), &error));
        QVERIFY_ERROR(error, Op::FolderExists);
    }

    void startMakesHomeAndTaggedCache()
    {
        const auto tag = QDir(Utils::cachePath()).filePath(QStringLiteral("CACHEDIR.TAG"));
        for (int run = 0; run < 2; ++run) {
            Error error;
            QVERIFY2(ApplicationFolders::createAtStart(&error), qPrintable(error.message));
            QVERIFY(QFileInfo(Utils::documentsPath()).isDir());
            QVERIFY(readFile(tag).startsWith("Signature: 8a477f597d28d172789f06886806bc55\n"));
        }
        QVERIFY(QFile::remove(tag));
        QVERIFY(ApplicationFolders::createAtStart());
        QVERIFY(QFile::exists(tag));
    }

    void freeNamesKeepBoth_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("given");
        QTest::newRow("folder") << QStringList{"Photos.zip/"} << "Photos.zip" << "Photos 2.zip";
        QTest::newRow("dangling link") << QStringList{"@Photos.zip"} << "Photos.zip"
                                       << "Photos 2.zip";
        QTest::newRow("gap") << QStringList{"r.pdf", "r 2.pdf", "r 4.pdf"} << "r.pdf" << "r 3.pdf";
        QTest::newRow("counts on") << QStringList{"Pack 2.zip"} << "Pack 2.zip" << "Pack 3.zip";
        QTest::newRow("counts on to three digits")
            << QStringList{"Pack 99.zip"} << "Pack 99.zip" << "Pack 100.zip";
        // Numbers the rule never adds are part of the name.
        QTest::newRow("year") << QStringList{"Holiday 2024.zip"} << "Holiday 2024.zip"
                              << "Holiday 2024 2.zip";
        QTest::newRow("year, no extension") << QStringList{"Budget 2024", "Budget 2024 2"}
                                            << "Budget 2024" << "Budget 2024 3";
        QTest::newRow("three digits") << QStringList{"Scan 100"} << "Scan 100" << "Scan 100 2";
        QTest::newRow("one") << QStringList{"Take 1"} << "Take 1" << "Take 1 2";
        QTest::newRow("leading zero") << QStringList{"Take 02"} << "Take 02" << "Take 02 2";
        QTest::newRow("no space") << QStringList{"mp3"} << "mp3" << "mp3 2";
        QTest::newRow("no extension") << QStringList{"notes"} << "notes" << "notes 2";
        QTest::newRow("hidden") << QStringList{".profile"} << ".profile" << ".profile 2";
        QTest::newRow("tar") << QStringList{"a.tar.gz"} << "a.tar.gz" << "a 2.tar.gz";
        QTest::newRow("case differs") << QStringList{"photos.zip"} << "Photos.zip" << "Photos.zip";
    }

    void freeNamesKeepBoth()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, wanted);
        QFETCH(QString, given);
        QTemporaryDir folder;
        for (const QString &item : present) {
            if (item.startsWith(u'@'))
                QVERIFY(QFile::link(folder.filePath("gone"), folder.filePath(item.mid(1))));
            else if (item.endsWith(u'/'))
                QVERIFY(QDir(folder.path()).mkdir(item.chopped(1)));
            else
                writeFile(folder.filePath(item), "x");
        }
        QCOMPARE(FreeItemName::in(folder.path(), wanted), given);
    }

    // The move taken where a disk refuses the no-replace flag: a file, a link and a folder
    // move under a free name, keeping what they are; onto a taken name (of any kind) nothing
    // moves and EEXIST says why.
    void moveWithoutTheFlagNeverReplaces_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("taken");
        for (const char *source : {"file", "@link", "folder/"}) {
            QTest::addRow("%s to a free name", source) << source << "";
            for (const char *taken : {"file", "@link", "folder/", "empty/"})
                QTest::addRow("%s onto %s", source, taken) << source << taken;
        }
    }
    void moveWithoutTheFlagNeverReplaces()
    {
        QFETCH(QString, source);
        QFETCH(QString, taken);
        QTemporaryDir from;
        QTemporaryDir to;
        const auto make = [](const QString &folder, const QString &item, const QByteArray &data) {
            const QString path = folder + "/item";
            if (item.startsWith(u'@'))
                QVERIFY(QFile::link(data, path));
            else if (item == "empty/")
                QVERIFY(QDir().mkdir(path));
            else if (item.endsWith(u'/'))
                writeFile(path + "/inside", data);
            else
                writeFile(path, data);
        };
        make(from.path(), source, "moving");
        if (!taken.isEmpty())
            make(to.path(), taken, "there");
        const auto before = entries(to.path() + "/item");
        const Fd fromFd(::open(QFile::encodeName(from.path()), O_PATH | O_DIRECTORY));
        const Fd toFd(::open(QFile::encodeName(to.path()), O_PATH | O_DIRECTORY));
        errno = 0;
        const bool moved = NoReplaceRename::moveWithoutTheFlag(fromFd.get(), "item", toFd.get(), "item");
        QCOMPARE(moved, taken.isEmpty());
        const QString kept = moved ? to.path() + "/item" : from.path() + "/item";
        if (!moved) {
            QCOMPARE(errno, EEXIST);
            QCOMPARE(entries(to.path() + "/item"), before);
            QCOMPARE(isLink(to.path() + "/item"), taken.startsWith(u'@'));
            if (taken == "file")
                QCOMPARE(readFile(to.path() + "/item"), QByteArray("there"));
        }
        QCOMPARE(QFileInfo::exists(from.path() + "/item") || isLink(from.path() + "/item"), !moved);
        if (source.startsWith(u'@'))
            QCOMPARE(std::filesystem::read_symlink(QFile::encodeName(kept).toStdString()),
                     "moving");
        else if (source.endsWith(u'/'))
            QCOMPARE(readFile(kept + "/inside"), QByteArray("moving"));
        else
            QCOMPARE(readFile(kept), QByteArray("moving"));
    }
};

QTEST_GUILESS_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
