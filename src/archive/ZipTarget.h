#pragma once

#include <Error.h>
#include <QString>

// Where a new zip is written: first into a hidden file of its own beside the target, then
// renamed to the target only when complete, so a failure or a cancel leaves whatever was there
// untouched and no partial zip behind. An item already at the target is never replaced unless
// replacing was asked for, not even one that appears while the zip is written (the final rename
// refuses to replace). A folder is never replaced.
//
// Thread-safety: one object per zip, used by one thread.
class ZipTarget {
public:
    enum class Existing { Refuse, Replace };

    ZipTarget(QString targetPath, Existing existing);
    ~ZipTarget();
    ZipTarget(const ZipTarget &) = delete;
    ZipTarget &operator=(const ZipTarget &) = delete;

    // Fails with InvalidZipTarget when the target is a folder, or is taken and may not be
    // replaced.
    bool check(Error *error) const;
    // Makes the hidden file to write to (workPath()), empty.
    bool reserve(Error *error);
    const QString &workPath() const { return m_workPath; }
    // Renames the finished work file to the target.
    bool putInPlace(Error *error);

    const QString &path() const { return m_target; }

private:
    QString m_target;
    Existing m_existing;
    QString m_workPath; // empty once put in place, or before reserve()
};
