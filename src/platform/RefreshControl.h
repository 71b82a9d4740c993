#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <functional>

// Pull-to-refresh at the top of a list: pulling far enough (QML decides) starts refreshing and
// runs the action; the owner ends it once the new content is in.
//
// Thread-safety: main thread only.
class RefreshControl : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Refresh controls are made by their lists")
    Q_PROPERTY(bool refreshing READ isRefreshing NOTIFY refreshingChanged)

public:
    RefreshControl(std::function<void()> valueChangedAction, QObject *parent = nullptr)
        : QObject(parent), m_action(std::move(valueChangedAction))
    {
    }

    bool isRefreshing() const { return m_refreshing; }
    // The user pulled: shows the wheel and runs the action (once per pull).
    Q_INVOKABLE void pulled();
    void endRefreshing();

signals:
    void refreshingChanged();

private:
    bool m_refreshing = false;
    std::function<void()> m_action;
};
