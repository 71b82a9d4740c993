#include "TrashErrors.h"

#include <cstring>

namespace TrashErrors {

namespace {

Error make(Trash::ErrorCode code, const QString &message)
{
    return Error(Trash::errorDomain, code, message);
}

} // namespace

Error noTrash(const QString &item, const QString &reason)
{
    return make(Trash::NoTrash,
                QCoreApplication::translate("Trash", "“%1” can't be moved to the Trash: %2.")
                    .arg(item, reason));
}

Error notFound(const QString &item)
{
    return make(Trash::ItemNotFound,
                QCoreApplication::translate("Trash", "“%1” is no longer there.").arg(item));
}

Error system(const QString &sentence, const QString &item, int errorNumber)
{
    return make(Trash::SystemFailure,
                sentence.arg(item, QString::fromLocal8Bit(std::strerror(errorNumber))));
}

Error notMoved(const QString &item, int errorNumber)
{
    return system(QCoreApplication::translate("Trash", "“%1” could not be moved to the Trash: %2."),
                  item, errorNumber);
}

Error notPutBack(const QString &item, int errorNumber)
{
    return system(QCoreApplication::translate("Trash", "“%1” could not be put back: %2."), item,
                  errorNumber);
}

Error otherFileSystem(const QString &item, const QString &folder)
{
    return make(Trash::OtherFileSystem,
                QCoreApplication::translate("Trash", "“%1” can't be put back: its folder “%2” is "
                                                     "on another disk now.")
                    .arg(item, folder));
}

} // namespace TrashErrors
