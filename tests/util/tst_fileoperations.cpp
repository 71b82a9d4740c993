#include "AppDirectories.h"
#include "ApplicationFolders.h"
#include "FileOperations.h"
#include "FolderHandle.h"
#include "FreeItemName.h"
#include "NoReplaceRename.h"
#include "Utils.h"

#include <QDir>
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

    void emptyOrNulPathsAreRefused()
    {
        // "" must not be taken as the Documents directory itself.
        const auto kept = AppDirectories::documentsDirectory() + "/kept.txt";
        writeFile(kept, "kept");
        Error error;
        QVERIFY(!Op::removeItemAtPath(QString(), &error));
        QVERIFY_ERROR(error, Op::InvalidPath);
        QCOMPARE(readFile(kept), QByteArray("kept"));
        error = {};
        QVERIFY(
            !Op::createDirectoriesForPath(at(QStringLiteral("a")) + QChar(u'\0') + "b", &error));
        QVERIFY_ERROR(error, Op::InvalidPath);
        QVERIFY(!QFile::exists(at("a")));
    }

    void createDirectories()
    {
        QVERIFY(Op::createDirectoriesForPath(at("a/b/c")));
        QVERIFY(QFileInfo(at("a/b/c")).isDir());
        QVERIFY(Op::createDirectoriesForPath(at("a/b/c"))); // existing: no failure

        writeFile(at("file"), "x");
        Error error;
        QVERIFY(!Op::createDirectoriesForPath(at("file/sub"), &error));
        QVERIFY_ERROR(error, Op::NotAFolder);
        QCOMPARE(readFile(at("file")), QByteArray("x"));
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

    void moveFolderIntoItselfFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("child") << "A/A";
        QTest::newRow("grandchild") << "A/sub/A";
        QTest::newRow("through a link into it") << "toSub/A";
    }

    void moveFolderIntoItselfFails()
    {
        QFETCH(QString, target);
        writeFile(at("A/sub/file.txt"), "x");
        QVERIFY(QFile::link(at("A/sub"), at("toSub")));
        for (const bool overwrite : {false, true}) {
            Error error;
            QVERIFY(!Op::moveItemAtPath(at("A"), at(target), overwrite, &error));
            QVERIFY_ERROR(error, Op::MoveIntoItself);
            QCOMPARE(entries(at("A")), QStringList{"sub"});
            QCOMPARE(entries(at("A/sub")), QStringList{"file.txt"});
        }
        // A sibling whose name merely starts alike is not inside.
        QVERIFY(Op::moveItemAtPath(at("A"), at("AB/A"), nullptr));
        QCOMPARE(readFile(at("AB/A/sub/file.txt")), QByteArray("x"));
    }

    void moveWithoutOverwriteKeepsBoth()
    {
        writeFile(at("src/a.txt"), "new");
        writeFile(at("dst/a.txt"), "old");
        Error error;
        QVERIFY(!Op::moveItemAtPath(at("src/a.txt"), at("dst/a.txt"), &error));
        QVERIFY_ERROR(error, Op::ItemExists);
        QCOMPARE(readFile(at("src/a.txt")), QByteArray("new"));
        QCOMPARE(readFile(at("dst/a.txt")), QByteArray("old"));
    }

    void moveMakesMissingParentsAndReportsMissingSource()
    {
        writeFile(at("a.txt"), "x");
        QVERIFY(Op::moveItemAtPath(at("a.txt"), at("new/deep/a.txt"), nullptr));
        QCOMPARE(readFile(at("new/deep/a.txt")), QByteArray("x"));

        Error error;
        QVERIFY(!Op::moveItemAtPath(at("a.txt"), at("b.txt"), true, &error));
        QVERIFY_ERROR(error, Op::ItemNotFound);
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

    void overwriteNeverDiscardsTheSource()
    {
        writeFile(at("A/x.txt"), "x");
        Error error;
        QVERIFY(!Op::moveItemAtPath(at("A/x.txt"), at("A"), true, &error));
        QVERIFY_ERROR(error, Op::TargetHoldsSource);
        QCOMPARE(readFile(at("A/x.txt")), QByteArray("x"));

        // A link replacing what it points to would be left pointing at nothing.
        QVERIFY(QFile::link(at("A/x.txt"), at("link")));
        error = {};
        QVERIFY(!Op::moveItemAtPath(at("link"), at("A/x.txt"), true, &error));
        QVERIFY_ERROR(error, Op::TargetHoldsSource);
        QCOMPARE(readFile(at("A/x.txt")), QByteArray("x"));
        QVERIFY(isLink(at("link")));
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

    void renameRefusesBadNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::newRow("empty") << "" << int(Op::NameEmpty);
        QTest::newRow("dot") << "." << int(Op::NameIsDot);
        QTest::newRow("dot dot") << ".." << int(Op::NameIsDotDot);
        QTest::newRow("slash") << "x/y" << int(Op::NameHasSlash);
        QTest::newRow("spaces") << "  \t" << int(Op::NameBlank);
        QTest::newRow("parent by slash") << "../escaped" << int(Op::NameHasSlash);
        QTest::newRow("nul") << QString(QStringLiteral("x") + QChar(u'\0') + "y")
                             << int(Op::NameHasNul);
        QTest::newRow("taken by a file") << "other.txt" << int(Op::NameTaken);
        QTest::newRow("taken by a folder") << "folder" << int(Op::NameTaken);
        QTest::newRow("taken by a dangling link") << "dangling" << int(Op::NameTaken);
    }

    void renameRefusesBadNames()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        writeFile(at("dir/item.txt"), "item");
        writeFile(at("dir/other.txt"), "other");
        QVERIFY(QDir().mkpath(at("dir/folder")));
        QVERIFY(QFile::link(at("nowhere"), at("dir/dangling")));
        const auto before = entries(at("dir"));

        Error error;
        QVERIFY(!Op::renameItemAtPath(at("dir/item.txt"), name, &error));
        QVERIFY_ERROR(error, code);
        QCOMPARE(entries(at("dir")), before);
        QCOMPARE(entries(dir_->path()), QStringList{"dir"});
        QCOMPARE(readFile(at("dir/item.txt")), QByteArray("item"));
        QCOMPARE(readFile(at("dir/other.txt")), QByteArray("other"));
    }

    void renameWithinFolder()
    {
        writeFile(at("dir/sub/a.txt"), "a");
        QVERIFY(Op::renameItemAtPath(at("dir/sub"), QStringLiteral("Ünïcode name"), nullptr));
        QCOMPARE(readFile(at("dir/Ünïcode name/a.txt")), QByteArray("a"));
        QCOMPARE(entries(at("dir")), QStringList{"Ünïcode name"});

        Error error;
        QVERIFY(!Op::renameItemAtPath(at("dir/missing"), QStringLiteral("x"), &error));
        QVERIFY_ERROR(error, Op::ItemNotFound);
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

    void removeReportsMissingItemAndTakesDanglingLinks()
    {
        Error error;
        QVERIFY(!Op::removeItemAtPath(at("missing"), &error));
        QVERIFY_ERROR(error, Op::ItemNotFound);

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
        QTest::newRow("free") << QStringList{"other.zip"} << "Photos.zip" << "Photos.zip";
        QTest::newRow("file") << QStringList{"Photos.zip"} << "Photos.zip" << "Photos 2.zip";
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
