#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

// One entry of a navigation bar or a toolbar: a titled or pictured button, a flexible space
// that shares out the free width, or a text label. A tap (`trigger`) runs the action while the
// item is enabled.
//
// Thread-safety: main thread only.
class BarButtonItem : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Bar button items are made by their screens")
    Q_PROPERTY(Kind kind READ kind CONSTANT)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY changed)
    Q_PROPERTY(QString imageName READ imageName CONSTANT)
    Q_PROPERTY(Style style READ style CONSTANT)
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY changed)
    Q_PROPERTY(bool boldTitle READ hasBoldTitle WRITE setBoldTitle NOTIFY changed)
    Q_PROPERTY(double titleFontSize READ titleFontSize WRITE setTitleFontSize NOTIFY changed)
    Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY changed)

public:
    enum class Kind { Button, Trash, FlexibleSpace, Label };
    Q_ENUM(Kind)
    enum class Style { Plain, Done };
    Q_ENUM(Style)

    // An action that calls `tapped` on `target` while `target` lives.
    template <class Target>
    static std::function<void()> calling(Target *target, void (Target::*tapped)())
    {
        return [weakTarget = QPointer<Target>(target), tapped] {
            if (weakTarget)
                (weakTarget.data()->*tapped)();
        };
    }

    static BarButtonItem *titled(const QString &title, Style style, std::function<void()> action,
                                 QObject *parent);
    static BarButtonItem *pictured(const QString &imageName, Style style,
                                   std::function<void()> action, QObject *parent);
    static BarButtonItem *trash(std::function<void()> action, QObject *parent);
    static BarButtonItem *flexibleSpace(QObject *parent);
    // A text shown in the bar; `title` holds the text, `titleFontSize` its size.
    static BarButtonItem *label(const QString &text, double fontSize, QObject *parent);

    Kind kind() const { return m_kind; }
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString imageName() const { return m_imageName; }
    Style style() const { return m_style; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool hasBoldTitle() const { return m_boldTitle; }
    void setBoldTitle(bool bold);
    double titleFontSize() const { return m_titleFontSize; }
    void setTitleFontSize(double size);

    // What the button is called for assistive tools and in its tooltip: the title, or for a
    // picture the name its screen gives it.
    QString accessibleName() const { return m_accessibleName.isEmpty() ? m_title : m_accessibleName; }
    void setAccessibleName(const QString &name);

    // What a tap or click does: the action, when enabled and there is one.
    Q_INVOKABLE void trigger();

signals:
    void changed();

private:
    BarButtonItem(Kind kind, QObject *parent);

    Kind m_kind;
    Style m_style = Style::Plain;
    QString m_title;
    QString m_imageName;
    QString m_accessibleName;
    bool m_enabled = true;
    bool m_boldTitle = false;
    double m_titleFontSize = 17;
    std::function<void()> m_action;
};
