#pragma once

#include "ViewController.h"

// A stack of screens: the bottom one is the root, the top one is shown with a back button to
// the one below. The stack owns its screens; a popped screen is deleted once the current event
// is done. Pushing and popping run the appearance life cycle in the toolkit's order:
// the new screen's viewDidLoad (first time), the old top's viewWillDisappear, the new top's
// viewWillAppear, the old top's viewDidDisappear, the new top's viewDidAppear. The stack's own
// appearance is passed on to its top screen. All pages fill the same area (`pageSize`, as the
// view lays it out): a pushed screen without a size takes it before its view loads, so that what
// it sizes for its page (a picture decoded for the screen) is right from the start.
//
// Thread-safety: main thread only.
class NavigationController : public ViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Navigation stacks are made in C++")
    Q_PROPERTY(QList<ViewController *> viewControllers READ viewControllers NOTIFY stackChanged)
    Q_PROPERTY(ViewController *topViewController READ topViewController NOTIFY stackChanged)
    Q_PROPERTY(bool toolbarHidden READ isToolbarHidden NOTIFY toolbarHiddenChanged)
    Q_PROPERTY(QSizeF pageSize READ pageSize WRITE setPageSize NOTIFY pageSizeChanged)

public:
    explicit NavigationController(ViewController *root, QObject *parent = nullptr);

    QList<ViewController *> viewControllers() const;
    ViewController *topViewController() const;

    void pushViewController(ViewController *controller, bool animated);
    Q_INVOKABLE void popViewController(bool animated = true);

    bool isToolbarHidden() const { return m_toolbarHidden; }
    void setToolbarHidden(bool hidden, bool animated);

    // The area every page of the stack fills; empty until the view is laid out. A screen's own
    // `viewSize` may be smaller: a page can keep its content to a readable column.
    QSizeF pageSize() const { return m_pageSize; }
    void setPageSize(QSizeF size);

    QUrl pageUrl() const override;

signals:
    void stackChanged();
    void toolbarHiddenChanged();
    void pageSizeChanged();

protected:
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    QList<QPointer<ViewController>> m_stack;
    bool m_toolbarHidden = true;
    QSizeF m_pageSize;
};
