#pragma once

#include "ActivityIndicator.h"
#include "BarButtonItem.h"
#include "DispatchQueue.h"
#include "KPDocumentPickerConfiguration.h"
#include "KPDocumentPickerHeaderView.h"
#include "KPDocumentPickerItem.h"
#include "KPDocumentPickerItemManager.h"
#include "KPDocumentPickerTableView.h"
#include "KPDocumentPickerTableViewCell.h"
#include "Label.h"
#include "MenuController.h"
#include "RefreshControl.h"
#include "TableViewProtocols.h"
#include "ViewController.h"

#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class KPDocumentPickerViewController;

// What a picker asks of the object that knows the folders. Called on the main thread.
class KPDocumentPickerViewControllerDataSource {
public:
    virtual ~KPDocumentPickerViewControllerDataSource() = default;

    // Answers by calling `completionHandler` exactly once, on the main thread, with the whole
    // listing of `filePath` in any order (empty for an empty or unreadable folder).
    virtual void requestItemsForFilePath(
        KPDocumentPickerViewController *picker, const QString &filePath,
        std::function<void(const KPDocumentPickerItems &)> completionHandler) = 0;
    // The title of the folder; none means the picker's own rule.
    virtual std::optional<QString> titleForFilePath(KPDocumentPickerViewController *picker,
                                                    const QString &filePath);
    // The last word on a row, after the picker has set it up.
    virtual void configureCell(KPDocumentPickerViewController *picker,
                               KPDocumentPickerTableViewCell *cell,
                               const KPDocumentPickerItemPtr &item);
    // The picker showing `filePath` is going away.
    virtual void cancelRequestForFilePath(KPDocumentPickerViewController *picker,
                                          const QString &filePath);
};

// What a picker tells about the user's choice. Called on the main thread.
class KPDocumentPickerViewControllerDelegate {
public:
    virtual ~KPDocumentPickerViewControllerDelegate() = default;
    virtual void didSelectItems(KPDocumentPickerViewController *picker,
                                const KPDocumentPickerItems &items, const QString &filePath);
};

// The generic folder screen: one folder as a searchable, sortable, selectable list fed by a
// data source, each sub-folder pushed as a picker of the same class on the navigation stack.
// Sub-levels share the root's configuration, data source and delegate.
//
// A subclass that should push its own class for sub-folders declares the invokable constructor
// `(KPDocumentPickerViewController *rootViewController, const QString &filePath,
// QObject *parent)`.
//
// Set-up, life cycle and listings are defined in KPDocumentPickerViewController.cpp, the table
// and its feedback in KPDocumentPickerViewControllerTable.cpp, editing and keys in
// KPDocumentPickerViewControllerEditing.cpp.
//
// Thread-safety: main thread only. A listing is sorted, sectioned and searched on the item
// manager's serial queue ("KPDocumentPickerViewController.itemBuilderQueue", one per picker)
// and shown back on the main thread.
class KPDocumentPickerViewController : public ViewController,
                                       public TableViewDataSource,
                                       public TableViewDelegate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screens are made in C++")
    Q_PROPERTY(KPDocumentPickerTableView *tableView READ tableView CONSTANT)
    Q_PROPERTY(KPDocumentPickerHeaderView *headerView READ headerView CONSTANT)
    Q_PROPERTY(ActivityIndicator *loadingView READ loadingView NOTIFY loadingViewChanged)
    Q_PROPERTY(Label *feedbackLabel READ feedbackLabel NOTIFY feedbackLabelChanged)
    Q_PROPERTY(Label *feedbackHintLabel READ feedbackHintLabel NOTIFY feedbackLabelChanged)
    Q_PROPERTY(RefreshControl *refreshControl READ refreshControl NOTIFY refreshControlChanged)
    Q_PROPERTY(MenuController *menuController READ menuController CONSTANT)

public:
    static constexpr double rowHeight = 70;
    static constexpr double toolbarInset = 44;

    // A root picker with a new configuration.
    explicit KPDocumentPickerViewController(const QString &filePath, QObject *parent = nullptr);
    // A root picker.
    KPDocumentPickerViewController(KPDocumentPickerConfigurationPtr configuration,
                                   const QString &filePath, QObject *parent = nullptr);
    // A sub-level of `rootViewController`'s stack.
    Q_INVOKABLE KPDocumentPickerViewController(KPDocumentPickerViewController *rootViewController,
                                               const QString &filePath, QObject *parent = nullptr);
    ~KPDocumentPickerViewController() override;

    QUrl pageUrl() const override;

    KPDocumentPickerConfigurationPtr configuration() const { return m_configuration; }
    QString filePath() const { return m_filePath; }
    KPDocumentPickerViewController *rootViewController() const { return m_rootViewController; }

    // Own ones first, else the root's. Neither is owned.
    KPDocumentPickerViewControllerDataSource *dataSource() const;
    void setDataSource(KPDocumentPickerViewControllerDataSource *dataSource);
    KPDocumentPickerViewControllerDelegate *documentPickerDelegate() const;
    void setDocumentPickerDelegate(KPDocumentPickerViewControllerDelegate *delegate);

    QVariant session() const { return m_session; }
    void setSession(const QVariant &session) { m_session = session; }

    KPDocumentPickerItems items() const { return m_itemManager.items(); }
    void setItems(const KPDocumentPickerItems &items);
    // Gives the listing to the picker of this stack that shows `filePath` (ignoring case).
    void setItems(const KPDocumentPickerItems &items, const QString &filePath);

    KPDocumentPickerSortType sortingType() const { return m_itemManager.sortingType(); }
    void setSortingType(KPDocumentPickerSortType type) { m_itemManager.setSortingType(type); }

    QFont cellFolderFont, cellFileFont;
    // The footer text, a label entry of a subclass's toolbar; the picker writes but never makes it.
    QPointer<BarButtonItem> toolBarLabel;

    KPDocumentPickerItemManager *itemManager() { return &m_itemManager; }
    KPDocumentPickerTableView *tableView() { return m_tableView; }
    KPDocumentPickerHeaderView *headerView() { return &m_headerView; }
    ActivityIndicator *loadingView() const { return m_loadingView; }
    Label *feedbackLabel() const { return m_feedbackLabel; }
    // The second line under "Folder is Empty" (never under "No Results Found"), made once a
    // hint is set and the folder shows empty.
    Label *feedbackHintLabel() const { return m_feedbackHintLabel; }
    // What to say under "Folder is Empty", such as how files get here; empty: nothing.
    void setEmptyFolderHint(const QString &hint) { m_emptyFolderHint = hint; }
    RefreshControl *refreshControl() const { return m_refreshControl; }
    // The shared item menu, for the page that draws it.
    MenuController *menuController() const { return MenuController::sharedMenuController(); }
    BarButtonItem *selectButton() const { return m_selectButton; }
    BarButtonItem *cancelButton() const { return m_cancelButton; }
    BarButtonItem *selectAllButton() const { return m_selectAllButton; }
    // The navigation bar's left buttons outside editing (none unless set); "Select All" takes
    // their place while editing.
    void setBrowsingLeftBarButtonItems(const QList<BarButtonItem *> &items);

    void reloadItemsFromDataSource();
    // Whether a listing asked of the data source has not been delivered yet.
    bool hasListingInFlight() const { return m_listingsInFlight > 0; }
    void hideFeedbackLabel();
    void showFeedbackLabelIfNeeded();
    void refreshControlTriggered();

    // The keyboard, as the page forwards it (ListKeys says what each key means). Keys the rows
    // and the search field leave alone, the keyboard on `focusedRow` (-1: none); true when
    // the key was the screen's.
    Q_INVOKABLE bool screenKeyPressed(int key, int modifiers, int focusedRow);
    // A key on the rows: moves the keyboard's row (keyboardRowRequested), opens the row, shows
    // its contents or asks for its menu (rowMenuRequested); `text` is what the key types.
    // True when the key was the rows'.
    Q_INVOKABLE bool rowKeyPressed(int key, int modifiers, const QString &text, int focusedRow);

    // Escape: closes the item menu, else clears the search, else leaves editing, else
    // `escapeWithNothingOpen`.
    void escapePressed();
    // Ctrl+F: the search field takes the keyboard (and so shows above the rows).
    void findRequested() { m_headerView.setSearchFocused(true); }
    // Ctrl+A: every row selected, while editing.
    void selectAllRequested();
    // Delete (Shift+Delete: `forGood`), F2 on the row with the keyboard (-1: none): left to
    // screens with such actions.
    virtual void deleteKeyPressed(bool forGood) { Q_UNUSED(forGood) }
    virtual void renameKeyPressed(int flatRow) { Q_UNUSED(flatRow) }
    // Ctrl+C (Ctrl+X: `cut`) on the selection while editing, else on the row with the keyboard
    // (-1: none); Ctrl+V: left to screens whose items can be copied.
    virtual void copyKeyPressed(bool cut, int flatRow)
    {
        Q_UNUSED(cut)
        Q_UNUSED(flatRow)
    }
    virtual void pasteKeyPressed() {}
    // Ctrl+Enter on the row with the keyboard: left to screens that look inside items.
    virtual void contentsKeyPressed(int flatRow) { Q_UNUSED(flatRow) }
    // Dragging rows out: the data a drag of the row `flatRow` carries (MIME type to text), the
    // selection's while editing with that row selected; empty: the row is not dragged.
    Q_INVOKABLE virtual QVariantMap dragDataForFlatRow(int flatRow)
    {
        Q_UNUSED(flatRow)
        return {};
    }
    // Whether rows dragged within the window may be dropped on `flatRow`; `dropOnFlatRow` then
    // takes the items at `urls`.
    Q_INVOKABLE virtual bool acceptsDropOnFlatRow(int flatRow)
    {
        Q_UNUSED(flatRow)
        return false;
    }
    Q_INVOKABLE virtual void dropOnFlatRow(const QList<QUrl> &urls, int flatRow)
    {
        Q_UNUSED(urls) Q_UNUSED(flatRow)
    }
    // A letter typed on the list: the flat row of the next row whose name starts with the
    // letters typed within the last second (from `currentFlatRow` on, round to the start),
    // -1 if none.
    int flatRowForTypedText(const QString &text, int currentFlatRow);

    // Editing and picking.
    Q_INVOKABLE void selectButtonTapped();
    void setEditing(bool editing, bool animated) override;
    void updateBarButtonsAnimated(bool animated);
    virtual void updateViewContent();
    void resetHeaderConstraints();
    virtual void updateToolbarItems() {}
    virtual void configureToolbar() {}
    virtual void updateFooterLabel();
    Q_INVOKABLE virtual void selectAllButtonTapped();
    bool allCellsSelected() const;
    // The items of the selected rows, in the order the table gives them.
    KPDocumentPickerItems selectedItems();
    // Sorted by date, newest first, the sort control showing it.
    void showNewestFirst();
    void chooseButtonTapped();
    void doneButtonTapped();

    // TableViewDataSource
    int numberOfSections(TableView *tableView) const override;
    int numberOfRows(TableView *tableView, int section) const override;
    TableViewCell *cellForRow(TableView *tableView, IndexPath indexPath) override;
    QString titleForHeader(TableView *tableView, int section) const override;
    QStringList sectionIndexTitles(TableView *tableView) const override;
    int sectionForSectionIndexTitle(TableView *tableView, const QString &title, int index) override;
    // TableViewDelegate
    void didSelectRow(TableView *tableView, IndexPath indexPath) override;
    void didDeselectRow(TableView *tableView, IndexPath indexPath) override;
    void didScroll(TableView *tableView) override;

signals:
    void loadingViewChanged();
    void feedbackLabelChanged();
    void refreshControlChanged();
    // The first listing is shown and the wheel is gone.
    void initialItemsLoaded();
    // A delivered listing is in the table (every listing, the first one included).
    void listingShown();
    // From the keyboard: the keyboard's row moves to `flatRow` (brought into sight); the menu
    // of the row `flatRow` opens.
    void keyboardRowRequested(int flatRow);
    void rowMenuRequested(int flatRow);

protected:
    // Escape with no menu, search text or editing to end: the search field lets the keyboard
    // go. A screen presented as a sheet may close instead.
    virtual void escapeWithNothingOpen();
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidLayoutSubviews() override;

private:
    void commonInit();
    void setUpTableView();
    void setUpHeaderView();
    void setUpLoadingView();
    void setUpBarButtons();
    void contentReloaded();
    // "Select None" while every shown row (one at least) is selected, else "Select All": what
    // the button will do for the selection as it is now.
    void updateSelectAllButton();
    void resetAfterInitialItemLoad();
    bool visibleListIsEmpty(const KPDocumentPickerItems &items) const;
    void updateFeedbackLabel(const KPDocumentPickerItems &items);
    void showFeedbackHint(double top);
    double secondRowSlotTop(double height) const;
    void openFolder(const KPDocumentPickerItemPtr &item);
    // The matches start right under the search field, which keeps the keyboard.
    void scrollToTopForSearch();
    // Tells screen readers how many rows the search left, once the typing pauses.
    void announceSearchCount();
    KPDocumentPickerViewController *makeSubPicker(const QString &subPath);

    KPDocumentPickerConfigurationPtr m_configuration;
    QString m_filePath;
    QPointer<KPDocumentPickerViewController> m_rootViewController;
    KPDocumentPickerViewControllerDataSource *m_dataSource = nullptr;
    bool m_dataSourceIsSelf = false;
    KPDocumentPickerViewControllerDelegate *m_delegate = nullptr;
    QVariant m_session;

    KPDocumentPickerItemManager m_itemManager;        // owns the item-builder queue
    KPDocumentPickerTableView *m_tableView = nullptr; // a child, so menus reach this screen
    KPDocumentPickerHeaderView m_headerView;
    ActivityIndicator *m_loadingView = nullptr;
    Label *m_feedbackLabel = nullptr;
    Label *m_feedbackHintLabel = nullptr;
    QString m_emptyFolderHint;
    RefreshControl *m_refreshControl = nullptr;
    BarButtonItem *m_selectButton = nullptr;
    BarButtonItem *m_cancelButton = nullptr;
    BarButtonItem *m_selectAllButton = nullptr;
    QList<BarButtonItem *> m_browsingLeftItems;
    QString m_typedPrefix;
    QElapsedTimer m_typingClock;
    bool m_scrollingForSearch = false;
    bool m_viewInitiallyAppeared = false;
    bool m_viewInitiallyLaidOut = false;
    bool m_listingPending = false; // a delivered listing is not shown yet
    bool m_searchCountPending = false; // a search edit's rows are not shown yet
    quint64 m_searchAnnouncement = 0;  // the newest search count to announce
    int m_listingsInFlight = 0;    // asked of the data source, not delivered
};
