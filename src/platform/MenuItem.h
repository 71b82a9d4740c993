#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// One entry of the shared menu: a title and the name of the action it sends, such as
// "deleteAction:". The action goes to the first object of the responder chain that has an
// invokable method of that name (without the colon) taking the sending MenuController.
class MenuItem : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Menu items are made in C++")
    Q_PROPERTY(QString title READ title CONSTANT)

public:
    MenuItem(const QString &title, const QByteArray &action, QObject *parent = nullptr)
        : QObject(parent), m_title(title), m_action(action)
    {
    }
    QString title() const { return m_title; }
    QByteArray action() const { return m_action; }

private:
    QString m_title;
    QByteArray m_action;
};
