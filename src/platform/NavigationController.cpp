#include "NavigationController.h"

NavigationController::NavigationController(ViewController *root, QObject *parent)
    : ViewController(parent)
{
    root->setParent(this);
    root->m_navigationController = this;
    m_stack.append(root);
}

QList<ViewController *> NavigationController::viewControllers() const
{
    QList<ViewController *> screens;
    for (const auto &screen : m_stack)
        if (screen)
            screens.append(screen);
    return screens;
}

ViewController *NavigationController::topViewController() const
{
    return m_stack.isEmpty() ? nullptr : m_stack.last().data();
}

void NavigationController::pushViewController(ViewController *controller, bool animated)
{
    ViewController *old = topViewController();
    controller->setParent(this);
    controller->m_navigationController = this;
    // Every page of the stack fills the same area: the new one knows its size before its view
    // loads. Without a laid-out view, the screen below tells it.
    if (controller->viewSize().isEmpty())
        controller->setViewSize(!m_pageSize.isEmpty() ? m_pageSize
                                : old                 ? old->viewSize()
                                                      : QSizeF());
    controller->loadViewIfNeeded();
    const bool shown = isVisible();
    if (shown && old)
        old->beginAppearanceTransition(false, animated);
    m_stack.append(controller);
    if (shown)
        controller->beginAppearanceTransition(true, animated);
    emit stackChanged();
    if (shown && old)
        old->endAppearanceTransition();
    if (shown)
        controller->endAppearanceTransition();
}

void NavigationController::popViewController(bool animated)
{
    if (m_stack.size() < 2)
        return;
    ViewController *old = topViewController();
    ViewController *below = m_stack.at(m_stack.size() - 2);
    const bool shown = isVisible();
    if (shown) {
        old->beginAppearanceTransition(false, animated);
        below->beginAppearanceTransition(true, animated);
    }
    m_stack.removeLast();
    emit stackChanged();
    if (shown) {
        old->endAppearanceTransition();
        below->endAppearanceTransition();
    }
    old->m_navigationController = nullptr;
    old->deleteLater();
}

void NavigationController::setToolbarHidden(bool hidden, bool animated)
{
    Q_UNUSED(animated)
    if (hidden == m_toolbarHidden)
        return;
    m_toolbarHidden = hidden;
    emit toolbarHiddenChanged();
}

void NavigationController::setPageSize(QSizeF size)
{
    if (size == m_pageSize)
        return;
    m_pageSize = size;
    emit pageSizeChanged();
}

QUrl NavigationController::pageUrl() const
{
    return QUrl(QStringLiteral("qrc:/Ombrisk/Platform/qml/NavigationView.qml"));
}

void NavigationController::viewWillAppear(bool animated)
{
    if (auto *top = topViewController())
        top->beginAppearanceTransition(true, animated);
}

void NavigationController::viewDidAppear(bool animated)
{
    Q_UNUSED(animated)
    if (auto *top = topViewController())
        top->endAppearanceTransition();
}

void NavigationController::viewWillDisappear(bool animated)
{
    if (auto *top = topViewController())
        top->beginAppearanceTransition(false, animated);
}

void NavigationController::viewDidDisappear(bool animated)
{
    Q_UNUSED(animated)
    if (auto *top = topViewController())
        top->endAppearanceTransition();
}
