#pragma once

#include <QObject>
#include <QVariant>

class ViewController;

// Told by a screen that it changed something its presenter shows (a rename on the properties
// sheet), so the presenter can read it again. A QObject adopts it with
// Q_INTERFACES(SimpleValueChangedDelegate); screens hold it weakly, as a QObject, and ask
// `qobject_cast` whether it answers before calling.
class SimpleValueChangedDelegate {
public:
    virtual ~SimpleValueChangedDelegate() = default;
    virtual void didChangedValue(ViewController *viewController, const QVariant &value) = 0;
};

#define SimpleValueChangedDelegate_iid "org.ombrisk.SimpleValueChangedDelegate"
Q_DECLARE_INTERFACE(SimpleValueChangedDelegate, SimpleValueChangedDelegate_iid)
