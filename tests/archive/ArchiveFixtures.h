#pragma once

#include <ArchiveProgress.h>
#include <Error.h>
#include <ExtractionResult.h>
#include <QByteArray>
#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// Helpers the archive tests share: real tools run in a folder, files written and read, a
// folder's tree as text, the shared corpus.
namespace ArchiveFixtures {

// Runs a program with arguments in `folder`; stdin gets `input`. Returns its exit code
// (-1 when it could not start). Output goes to `output` when given.
int run(const QString &folder, const QString &program, const QStringList &arguments,
        const QByteArray &input = {}, QByteArray *output = nullptr);

// Python that makes the tar archive h.tar entry by entry: add(t, name, type, data,
// field=value...); the script goes on after it and ends with t.close().
extern const QString tarPrelude;

// Makes the tar archive `name` in `folder` from `entries`, add() calls after tarPrelude.
// Returns python's exit code.
int makeTar(const QString &folder, const QString &entries, const QString &name = "h.tar");

// Makes the zip `archive` with the zip tool from `files` (entry name → content), protected by
// `password` when given; the archive's folder is made.
void makeZip(const QString &archive, const QMap<QString, QByteArray> &files,
             const QString &password = {});

// Runs a Python script (python3 -c) in `folder`; for hostile archives made with zipfile and
// tarfile. Returns the exit code.
int python(const QString &folder, const QString &script);

void writeFile(const QString &path, const QByteArray &content);
QByteArray readFile(const QString &path);

// Every item below `folder`, sorted: "a.txt", "sub/", "link -> target".
QStringList tree(const QString &folder);

// The staging folders (by name) at the top level of `folder`.
QStringList stagingFoldersIn(const QString &folder);

// Runs `command` (program and arguments) as the user nobody, when the test runs as root, so
// permissions hold; output and errors merged into `output`. Returns the exit code.
int runAsNobody(const QStringList &command, QByteArray *output,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
void giveToNobody(const QString &path);

// The engine's folders (trash, staging records) inside `root`, for this process and for the
// tools it starts (OMBRISK_ROOT), so no test reaches the user's own.
void useRootForEngine(const QString &root);

// The files below `folder` as the disk names them (bytes, which need not be UTF-8), each with
// its content: "sub/caf\xe9.txt=content", sorted.
QList<QByteArray> rawFiles(const QByteArray &folder);

// The corpus folder, or empty when it is absent.
QString corpusDir();

// Unpacks `archive` into `dest` through the engine: the error it gave, none when it succeeded.
Error unpack(const QString &archive, const QString &dest, const QString &password = {},
             ArchiveProgressDelegate *delegate = nullptr, ExtractionResult *result = nullptr);

// The archive kinds by the backend that reads them, as rows "archive" and "command": the
// command, run in a folder holding "src", packs what src holds into that folder as the archive
// (the RAR row copies one of the corpus instead, and has no command without it: see
// FETCH_BACKEND_ROW).
void addBackendRows(const QString &baseName);

// Bytes that don't compress (a fixed pseudo-random sequence).
QByteArray noise(qsizetype size, quint32 seed = 1);

// Records every progress report; cancels once `cancelAfter` reports arrived (-1: never).
class RecordingDelegate : public ArchiveProgressDelegate {
public:
    explicit RecordingDelegate(int cancelAfter = -1) : m_cancelAfter(cancelAfter) {}
    void archiveProgressChanged(const ArchiveProgress &progress) override;
    bool isArchiveCancelled() override;

    QList<ArchiveProgress> reports;

private:
    int m_cancelAfter;
};

} // namespace ArchiveFixtures

// Fails the test with the error's message when `error` is set.
#define VERIFY_OK(error)                                                                           \
    do {                                                                                           \
        const Error e_ = (error);                                                                  \
        QVERIFY2(!e_, qPrintable(e_.message));                                                     \
    } while (false)

// Fails the test unless `error` has the code `expected`.
#define VERIFY_CODE(error, expected)                                                               \
    do {                                                                                           \
        const Error e_ = (error);                                                                  \
        QVERIFY2(e_.code == (expected), qPrintable(QString::number(e_.code) + ": " + e_.message)); \
    } while (false)

// Fetches a backend row's "archive" and "command"; skips the row that needs the corpus when
// the corpus is not there.
#define FETCH_BACKEND_ROW()                                                                        \
    QFETCH(QString, archive);                                                                      \
    QFETCH(QString, command);                                                                      \
    if (command.isEmpty())                                                                         \
    REQUIRE_CORPUS()

// Skips the test when the shared corpus is not there.
#define REQUIRE_CORPUS()                                                                           \
    do {                                                                                           \
        if (ArchiveFixtures::corpusDir().isEmpty())                                                \
            QSKIP("The shared archive corpus (" OMBRISK_CORPUS_DIR                                 \
                  ") is absent; the corpus tests need it.");                                       \
    } while (false)
