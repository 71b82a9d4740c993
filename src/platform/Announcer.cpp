#include "Announcer.h"

#include <QQmlEngine>

Announcer *Announcer::shared()
{
    static Announcer announcer;
    return &announcer;
}

Announcer *Announcer::create(QQmlEngine *, QJSEngine *)
{
    QQmlEngine::setObjectOwnership(shared(), QQmlEngine::CppOwnership);
    return shared();
}

void Announcer::announce(const QString &text)
{
    auto *announcer = shared();
    announcer->m_text = text;
    emit announcer->announced();
}
