// The QML module Ombrisk.Platform: its types, and the accessible interface of Qt Quick's
// buttons, put in place for every engine that imports the module.
#include "AccessibleControl.h"

#include <QtQml/qqmlextensionplugin.h>

extern void qml_register_types_Ombrisk_Platform();
Q_GHS_KEEP_REFERENCE(qml_register_types_Ombrisk_Platform)

class Ombrisk_PlatformPlugin : public QQmlEngineExtensionPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlEngineExtensionInterface_iid)

public:
    explicit Ombrisk_PlatformPlugin(QObject *parent = nullptr) : QQmlEngineExtensionPlugin(parent)
    {
        volatile auto registration = &qml_register_types_Ombrisk_Platform;
        Q_UNUSED(registration)
    }

    void initializeEngine(QQmlEngine *engine, const char *uri) override
    {
        Q_UNUSED(engine)
        Q_UNUSED(uri)
        AccessibleControl::installFactory();
    }
};

#include "PlatformPlugin.moc"
