// libvips first: its headers use names that Qt defines as macros.
#include <gmodule.h>
#include <vips/vips.h>

#include "VipsStart.h"

#include <QByteArray>
#include <QHash>
#include <QtGlobal>
#include <mutex>

namespace VipsStart {

void start()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // libvips takes its module folder from the install prefix and the last part of its
        // library folder ("/usr" and "x86_64-linux-gnu"). Its own prefix spelled with "/." at
        // the end still finds its translations (prefix/share/locale), but no module folder.
        // A prefix the user set is kept, modules and all.
        const QByteArray chosen = qgetenv("VIPSHOME");
        if (chosen.isEmpty())
            qputenv("VIPSHOME", OMBRISK_VIPS_PREFIX "/.");
        const bool started = VIPS_INIT("ombrisk") == 0;
        // Child processes see what libvips itself would leave them. (libvips sets the variable
        // as it starts too, from whichever thread starts it.)
        qputenv("VIPSHOME", chosen.isEmpty() ? QByteArray(OMBRISK_VIPS_PREFIX) : chosen);
        if (!started)
            qFatal("libvips cannot start: %s", vips_error_buffer());
        // Files change under the same name in a file manager: never serve an earlier decode.
        vips_cache_set_max(0);
    });
}

void openModule(const char *name)
{
    start();
    static std::mutex mutex;
    static QHash<QByteArray, bool> tried;
    const std::lock_guard lock(mutex);
    if (std::exchange(tried[name], true))
        return;
    const QByteArray path = QByteArray(OMBRISK_VIPS_LIBDIR) +
                            QByteArray("/vips-modules-%1.%2/vips-")
                                .replace("%1", QByteArray::number(vips_version(0)))
                                .replace("%2", QByteArray::number(vips_version(1))) +
                            name + ".so";
    // A module registers its loaders as it opens and keeps itself loaded.
    g_module_open(path.constData(), G_MODULE_BIND_LAZY);
}

} // namespace VipsStart
