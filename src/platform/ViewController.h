#pragma once

#include "BarButtonItem.h"
#include "TextNotice.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>

class NavigationController;

// A screen: its title and bar buttons, its toolbar entries, its editing flag, its text notice,
// and the appearance life cycle. The view is "loaded" the first time the screen is about to be
// shown (or `loadViewIfNeeded` is called): `viewDidLoad` runs once, before the first
// `viewWillAppear`. A screen never draws itself; `pageUrl` names the QML file that does.
//
// Presenting: `present` shows another controller above this one (an alert, a navigation stack);
// a controller that covers the screen (`coversPresenter`) makes the screens below disappear and
// reappear in the life cycle, an alert does not.
//
// Thread-safety: main thread only.
class ViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screens are made in C++")
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QList<BarButtonItem *> leftBarButtonItems READ leftBarButtonItems NOTIFY
                   navigationItemChanged)
    Q_PROPERTY(QList<BarButtonItem *> rightBarButtonItems READ rightBarButtonItems NOTIFY
                   navigationItemChanged)
    Q_PROPERTY(bool hidesBackButton READ hidesBackButton NOTIFY navigationItemChanged)
    Q_PROPERTY(QList<BarButtonItem *> toolbarItems READ toolbarItems NOTIFY toolbarItemsChanged)
    Q_PROPERTY(bool editing READ isEditing NOTIFY editingChanged)
    Q_PROPERTY(TextNotice *textNotice READ textNotice CONSTANT)
    Q_PROPERTY(QSizeF viewSize READ viewSize WRITE setViewSize NOTIFY viewSizeChanged)
    Q_PROPERTY(QUrl pageUrl READ pageUrl CONSTANT)
    Q_PROPERTY(bool coversPresenter READ coversPresenter CONSTANT)
    Q_PROPERTY(PresentationStyle modalPresentationStyle READ modalPresentationStyle CONSTANT)
    Q_PROPERTY(ViewController *presentedViewController READ presentedViewController NOTIFY
                   presentedViewControllerChanged)

public:
    // How a presented screen shows: over the whole window, or as a sheet (a centred panel over
    // the dimmed presenter on a wide window, the whole window on a narrow one). A sheet leaves
    // the presenter in the life cycle as visible.
    enum class PresentationStyle { FullScreen, FormSheet };
    Q_ENUM(PresentationStyle)

    explicit ViewController(QObject *parent = nullptr);
    ~ViewController() override;

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    QList<BarButtonItem *> leftBarButtonItems() const { return m_leftItems; }
    void setLeftBarButtonItems(const QList<BarButtonItem *> &items);
    QList<BarButtonItem *> rightBarButtonItems() const { return m_rightItems; }
    void setRightBarButtonItems(const QList<BarButtonItem *> &items);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides);
    // The title the back button of screens pushed above this one shows; empty for an arrow
    // alone. Unset (null) means this screen's own title.
    QString backButtonTitle() const { return m_backButtonTitle; }
    void setBackButtonTitle(const QString &title);
    Q_INVOKABLE QString backButtonTitleOfScreenBelow() const;

    QList<BarButtonItem *> toolbarItems() const { return m_toolbarItems; }
    void setToolbarItems(const QList<BarButtonItem *> &items);

    bool isEditing() const { return m_editing; }
    virtual void setEditing(bool editing, bool animated);

    TextNotice *textNotice() { return &m_textNotice; }

    QSizeF viewSize() const { return m_viewSize; }
    void setViewSize(QSizeF size);

    virtual QUrl pageUrl() const { return {}; }
    // Whether being presented hides the presenting screens (a full screen) rather than
    // floating above them (an alert).
    virtual bool coversPresenter() const
    {
        return m_modalPresentationStyle == PresentationStyle::FullScreen;
    }
    // Set before presenting.
    PresentationStyle modalPresentationStyle() const { return m_modalPresentationStyle; }
    void setModalPresentationStyle(PresentationStyle style) { m_modalPresentationStyle = style; }

    // The stack this screen is on, or null; a screen presented inside a stack reports it.
    NavigationController *navigationController() const;

    bool isViewLoaded() const { return m_viewLoaded; }
    void loadViewIfNeeded();

    // Appearance as the container drives it; each pair calls the hooks below once.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    bool isVisible() const { return m_visible; }

    void present(ViewController *controller, bool animated, std::function<void()> completion = {});
    Q_INVOKABLE void dismiss(bool animated = true);
    void dismiss(bool animated, std::function<void()> completion);
    ViewController *presentedViewController() const { return m_presented; }
    ViewController *presentingViewController() const { return m_presenting; }

signals:
    void titleChanged();
    void navigationItemChanged();
    void toolbarItemsChanged();
    void editingChanged();
    void viewSizeChanged();
    void presentedViewControllerChanged();

protected:
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) { Q_UNUSED(animated) }
    virtual void viewDidAppear(bool animated) { Q_UNUSED(animated) }
    virtual void viewWillDisappear(bool animated) { Q_UNUSED(animated) }
    virtual void viewDidDisappear(bool animated) { Q_UNUSED(animated) }
    virtual void viewDidLayoutSubviews() {}

private:
    friend class NavigationController;

    QString m_title;
    QList<BarButtonItem *> m_leftItems, m_rightItems, m_toolbarItems;
    bool m_hidesBackButton = false;
    QString m_backButtonTitle; // null: this screen's title
    bool m_editing = false;
    PresentationStyle m_modalPresentationStyle = PresentationStyle::FullScreen;
    TextNotice m_textNotice;
    QSizeF m_viewSize;
    bool m_viewLoaded = false;
    bool m_visible = false;
    int m_transition = 0; // 1 appearing, -1 disappearing, 0 none
    bool m_transitionAnimated = false;
    QPointer<NavigationController> m_navigationController;
    QPointer<ViewController> m_presented;
    QPointer<ViewController> m_presenting;
};
