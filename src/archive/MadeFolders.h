#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QByteArray>
#include <optional>
#include <sys/types.h>
#include <vector>

// The folders an extraction makes on the way to where it unpacks, so that a failed one takes
// away what it made and nothing else. Below the deepest folder of the path that exists, each
// missing one is made (folderMode()) and opened in turn without following links, and noted by
// its inode; one found there (another process made it meanwhile) is not ours.
//
// Thread-safety: one object, one thread.
class MadeFolders {
public:
    // Makes what is missing of `path` (absolute, itself included); `opened` gets `path` (read
    // access). Fails, with nothing it made left behind, on a file in the way or a refusal.
    static std::optional<MadeFolders> make(const QByteArray &path, Fd *opened, Error *error);

    MadeFolders(MadeFolders &&) noexcept = default;
    MadeFolders &operator=(MadeFolders &&) noexcept = default;

    // Removes its folders that are empty and still the ones it made, deepest first; stops at
    // the first one that is not (a folder holding anything keeps those above it).
    void removeEmpty();

private:
    struct Step {
        QByteArray name;
        bool made = false;
        dev_t device = 0;
        ino_t inode = 0;
    };

    MadeFolders() = default;

    Fd m_baseFd;              // the deepest folder of the path that existed
    std::vector<Step> m_steps; // from there down to the path, one folder inside the other
};
