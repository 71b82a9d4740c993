#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <functional>

// Pull-to-refresh at the top of a list: pulling at least `pullDistance` beyond the top starts
// refreshing and runs the action; the owner ends it once the new content is in.
//
// Thread-safety: main thread only.
class RefreshControl : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Refresh controls are made by their lists")
    Q_PROPERTY(bool refreshing READ isRefreshing NOTIFY refreshingChanged)
    Q_PROPERTY(double pullDistance READ pullDistance CONSTANT)

public:
    static constexpr double pullDistance() { return 64; }

    RefreshControl(std::function<void()> valueChangedAction, QObject *parent = nullptr)
        : QObject(parent), m_action(std::move(valueChangedAction))
    {
    }

    bool isRefreshing() const { return m_refreshing; }
    // The user pulled: shows the wheel and runs the action (once per pull).
    Q_INVOKABLE void pulled();
    // The user let go `distance` beyond the top: pulled, if that was far enough.
    Q_INVOKABLE void released(double distance);
    void endRefreshing();

signals:
    void refreshingChanged();

private:
    bool m_refreshing = false;
    std::function<void()> m_action;
};
