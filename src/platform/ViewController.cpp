#include "ViewController.h"

#include "NavigationController.h"

ViewController::ViewController(QObject *parent) : QObject(parent), m_textNotice(this) {}

ViewController::~ViewController()
{
    if (m_presented)
        delete m_presented.data();
}

void ViewController::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged();
}

void ViewController::setLeftBarButtonItems(const QList<BarButtonItem *> &items)
{
    if (items == m_leftItems)
        return;
    m_leftItems = items;
    emit navigationItemChanged();
}

void ViewController::setRightBarButtonItems(const QList<BarButtonItem *> &items)
{
    if (items == m_rightItems)
        return;
    m_rightItems = items;
    emit navigationItemChanged();
}

void ViewController::setHidesBackButton(bool hides)
{
    if (hides == m_hidesBackButton)
        return;
    m_hidesBackButton = hides;
    emit navigationItemChanged();
}

void ViewController::setBackButtonTitle(const QString &title)
{
    m_backButtonTitle = title;
    emit navigationItemChanged();
}

QString ViewController::backButtonTitleOfScreenBelow() const
{
    const auto *stack = navigationController();
    if (!stack)
        return {};
    const auto screens = stack->viewControllers();
    const auto at = screens.indexOf(const_cast<ViewController *>(this));
    if (at < 1)
        return {};
    const auto *below = screens.at(at - 1);
    return below->m_backButtonTitle.isNull() ? below->title() : below->m_backButtonTitle;
}

void ViewController::setToolbarItems(const QList<BarButtonItem *> &items)
{
    m_toolbarItems = items;
    emit toolbarItemsChanged();
}

void ViewController::setEditing(bool editing, bool animated)
{
    Q_UNUSED(animated)
    if (editing == m_editing)
        return;
    m_editing = editing;
    emit editingChanged();
}

void ViewController::setViewSize(QSizeF size)
{
    if (size == m_viewSize)
        return;
    m_viewSize = size;
    emit viewSizeChanged();
    if (m_viewLoaded)
        viewDidLayoutSubviews();
}

NavigationController *ViewController::navigationController() const
{
    if (m_navigationController)
        return m_navigationController;
    // A stack presented by a screen on another stack is not that screen's stack.
    return qobject_cast<NavigationController *>(const_cast<ViewController *>(this));
}

void ViewController::loadViewIfNeeded()
{
    if (m_viewLoaded)
        return;
    m_viewLoaded = true;
    viewDidLoad();
    if (!m_viewSize.isEmpty())
        viewDidLayoutSubviews();
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated)
{
    if (appearing == m_visible && m_transition == 0)
        return;
    m_transition = appearing ? 1 : -1;
    m_transitionAnimated = animated;
    if (appearing) {
        loadViewIfNeeded();
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
}

void ViewController::endAppearanceTransition()
{
    if (m_transition == 0)
        return;
    const bool appearing = m_transition > 0;
    m_transition = 0;
    m_visible = appearing;
    if (appearing)
        viewDidAppear(m_transitionAnimated);
    else
        viewDidDisappear(m_transitionAnimated);
}

void ViewController::present(ViewController *controller, bool animated,
                             std::function<void()> completion)
{
    // Like the toolkit: a screen on a stack presents through its stack, and the top of a
    // presented chain presents.
    if (m_navigationController) {
        m_navigationController->present(controller, animated, std::move(completion));
        return;
    }
    if (m_presented) {
        m_presented->present(controller, animated, std::move(completion));
        return;
    }
    controller->setParent(this);
    controller->m_presenting = this;
    m_presented = controller;
    const bool covers = controller->coversPresenter();
    if (covers)
        beginAppearanceTransition(false, animated);
    controller->beginAppearanceTransition(true, animated);
    emit presentedViewControllerChanged();
    if (covers)
        endAppearanceTransition();
    controller->endAppearanceTransition();
    if (completion)
        completion();
}

void ViewController::dismiss(bool animated)
{
    dismiss(animated, {});
}

void ViewController::dismiss(bool animated, std::function<void()> completion)
{
    // Called on the presented controller or on its presenter, as the toolkit allows.
    if (!m_presented && !m_presenting && m_navigationController) {
        m_navigationController->dismiss(animated, std::move(completion));
        return;
    }
    ViewController *presented = m_presented ? m_presented.data() : this;
    ViewController *presenter = presented->m_presenting;
    if (!presenter)
        return;
    if (presented->m_presented)
        presented->dismiss(false);
    const bool covers = presented->coversPresenter();
    presented->beginAppearanceTransition(false, animated);
    if (covers)
        presenter->beginAppearanceTransition(true, animated);
    presenter->m_presented = nullptr;
    presented->m_presenting = nullptr;
    emit presenter->presentedViewControllerChanged();
    presented->endAppearanceTransition();
    if (covers)
        presenter->endAppearanceTransition();
    presented->deleteLater();
    if (completion)
        completion();
}
