#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <AppDirectories.h>
#include <QTest>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

int ArchiveFixtures::run(const QString &folder, const QString &program,
                         const QStringList &arguments, const QByteArray &input, QByteArray *output)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return -1;
    process.write(input);
    process.closeWriteChannel();
    // No limit of our own: a loaded machine makes big archives slowly, and a tool cut off here
    // would look as if it had ended well. CTest's timeout bounds the whole test.
    const bool finished = process.waitForFinished(-1);
    const auto text = process.readAll();
    if (output)
        *output = text;
    return finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int ArchiveFixtures::python(const QString &folder, const QString &script)
{
    QByteArray output;
    const int code =
        run(folder, QStringLiteral("python3"), {QStringLiteral("-c"), script}, {}, &output);
    if (code != 0)
        qWarning("python failed: %s", output.constData());
    return code;
}

int ArchiveFixtures::makeTar(const QString &folder, const QString &entries, const QString &name)
{
    return python(folder, tarPrelude + entries + "\nt.close()\nimport os\nos.rename('h.tar', '" +
                              name + "')\n");
}

void ArchiveFixtures::makeZip(const QString &archive, const QMap<QString, QByteArray> &files,
                              const QString &password)
{
    QTemporaryDir scratch;
    const QString content = scratch.filePath(QStringLiteral("content"));
    for (auto it = files.begin(); it != files.end(); ++it)
        writeFile(content + u'/' + it.key(), it.value());
    QStringList arguments{QStringLiteral("-qr")};
    if (!password.isEmpty())
        arguments << QStringLiteral("-P") << password;
    const QString made = scratch.filePath(QStringLiteral("made.zip"));
    QCOMPARE(run(content, QStringLiteral("zip"), arguments << made << QStringLiteral(".")), 0);
    QDir().mkpath(QFileInfo(archive).absolutePath());
    QVERIFY(QFile::rename(made, archive));
}

void ArchiveFixtures::writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray ArchiveFixtures::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList ArchiveFixtures::tree(const QString &folder)
{
    QStringList items;
    const QDir root(folder);
    QDirIterator walk(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        walk.next();
        const auto info = walk.fileInfo();
        const auto name = root.relativeFilePath(info.filePath());
        if (info.isSymLink())
            items << name + QStringLiteral(" -> ") + info.symLinkTarget().remove(folder + u'/');
        else
            items << (info.isDir() ? name + u'/' : name);
    }
    items.sort();
    return items;
}

QStringList ArchiveFixtures::stagingFoldersIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".ombrisk-unpacking-*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::System);
}

int ArchiveFixtures::runAsNobody(const QStringList &command, QByteArray *output,
                                 const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                              QStringLiteral("--clear-groups")} +
                      command);
    process.waitForFinished(60000);
    *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void ArchiveFixtures::giveToNobody(const QString &path)
{
    QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
}

void ArchiveFixtures::useRootForEngine(const QString &root)
{
    AppDirectories::useRoot(root);
    qputenv("OMBRISK_ROOT", QFile::encodeName(root));
}

QList<QByteArray> ArchiveFixtures::rawFiles(const QByteArray &folder)
{
    QList<QByteArray> files;
    DIR *listing = ::opendir(folder.constData());
    while (const dirent *item = listing ? ::readdir(listing) : nullptr) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        if (item->d_type == DT_DIR) {
            for (const auto &inner : rawFiles(folder + '/' + name))
                files << name + '/' + inner;
            continue;
        }
        QByteArray content;
        if (const int fd = ::open(folder + '/' + name, O_RDONLY | O_CLOEXEC); fd >= 0) {
            char buffer[256];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                content.append(buffer, n);
            ::close(fd);
        }
        files << name + '=' + content;
    }
    if (listing)
        ::closedir(listing);
    std::sort(files.begin(), files.end());
    return files;
}

Error ArchiveFixtures::unpack(const QString &archive, const QString &dest, const QString &password,
                              ArchiveProgressDelegate *delegate, ExtractionResult *result)
{
    Error error;
    if (ArchiverManager::decompressAtPath(archive, dest, password, &error, delegate, result))
        return {};
    return error ? error
                 : Error(QStringLiteral("test"), -1, QStringLiteral("failed, saying nothing"));
}

void ArchiveFixtures::addBackendRows(const QString &baseName)
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("command");
    const auto row = [&](const char *backend, const QString &extension, const QString &command) {
        const QString archive = baseName + extension;
        const QString packing = command.isEmpty() ? command : "cd src && " + command.arg(archive);
        QTest::newRow(backend) << archive << packing;
    };
    row("libzip", ".zip", "zip -q -r ../%1 .");
    row("libarchive", ".tar.gz", "bsdtar -czf ../%1 .");
    row("7zz", ".7z", "7zz a -bd ../%1 .");
    // No tool here writes RAR: a real one comes from the corpus, whatever src holds.
    const QString corpus = corpusDir();
    row("unar", ".rar",
        corpus.isEmpty() ? QString() : "cp '" + corpus + "/rar5-plain-multi.rar' ../%1");
}

QString ArchiveFixtures::corpusDir()
{
    const QString dir = QStringLiteral(OMBRISK_CORPUS_DIR);
    return QFileInfo(dir + QStringLiteral("/MANIFEST.md")).exists() ? dir : QString();
}

QByteArray ArchiveFixtures::noise(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed * 2654435761u + 1;
    for (auto &byte : bytes) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        byte = char(state);
    }
    return bytes;
}

void ArchiveFixtures::RecordingDelegate::archiveProgressChanged(const ArchiveProgress &progress)
{
    reports << progress;
}

bool ArchiveFixtures::RecordingDelegate::isArchiveCancelled()
{
    return m_cancelAfter >= 0 && reports.size() >= m_cancelAfter;
}

const QString ArchiveFixtures::tarPrelude =
    QStringLiteral("import tarfile, io\n"
                   "def add(t, name, type=tarfile.REGTYPE, data=b'', **fields):\n"
                   "  i = tarfile.TarInfo(name); i.type = type\n"
                   "  i.size = len(data) if type == tarfile.REGTYPE else 0\n"
                   "  for k, v in fields.items(): setattr(i, k, v)\n"
                   "  t.addfile(i, io.BytesIO(data) if type == tarfile.REGTYPE else None)\n"
                   "t = tarfile.open('h.tar', 'w')\n");
