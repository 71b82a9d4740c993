#pragma once

#include <QObject>

// A QObject of the main thread that lives as long as the process: the context through which
// work on a queue sends its results back (DispatchQueue::main). Unlike the application object,
// it still exists when a result arrives while the application is ending; the result is then
// simply never run. Call it on the main thread, before queuing the work.
QObject *mainThreadReceiver();
