#include "MainThreadReceiver.h"

#include <QCoreApplication>
#include <QThread>

QObject *mainThreadReceiver()
{
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    static auto *receiver = new QObject;
    return receiver;
}
