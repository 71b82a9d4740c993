#include "KeepBothMove.h"

#include "FileOperations.h"
#include "FreeItemName.h"

#include <QFileInfo>

namespace KeepBothMove {

std::optional<QString> moveInto(const QString &source, const QString &folder, const QString &name,
                                Error *error)
{
    // Another writer would have to take each free name in the moment between choice and move;
    // a few turns are plenty, and the loop can't spin on a failure of another kind.
    constexpr int attempts = 5;
    Error failure;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const QString target = folder + u'/' + FreeItemName::in(folder, name);
        failure = {};
        if (FileOperations::moveItemAtPath(source, target, false, &failure))
            return target;
        const bool overtaken = failure.code == FileOperations::ItemExists ||
                               QFileInfo(target).exists() || QFileInfo(target).isSymLink();
        if (!overtaken)
            break;
    }
    fail(error, failure);
    return std::nullopt;
}

} // namespace KeepBothMove
