#pragma once

#include "KPDocumentPickerSegmentedControl.h"

#include <QObject>
#include <QRectF>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

// The two lines above a picker's first row: the search field and the sort control. It scrolls
// with the list; the part scrolled above the visible area is cut off (`clippingHeight`), and
// once wholly above it the header hides.
//
// Geometry (points): 88 high; search field 44 at the top, 7 gap, sort control, 8 to the bottom,
// the control inset 8 left and right.
//
// Thread-safety: main thread only.
class KPDocumentPickerHeaderView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the picker")
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(
        bool searchFocused READ isSearchFocused WRITE setSearchFocused NOTIFY searchFocusChanged)
    Q_PROPERTY(bool searchActive READ isSearchActive NOTIFY searchActiveChanged)
    Q_PROPERTY(KPDocumentPickerSegmentedControl *sortControl READ sortControl CONSTANT)
    Q_PROPERTY(double clippingHeight READ clippingHeight NOTIFY layoutChanged)
    Q_PROPERTY(bool hidden READ isHidden NOTIFY layoutChanged)
    Q_PROPERTY(double width READ width NOTIFY layoutChanged)
    Q_PROPERTY(QRectF clippingFrame READ clippingFrame NOTIFY layoutChanged)
    Q_PROPERTY(QRectF containerFrame READ containerFrame NOTIFY layoutChanged)

public:
    static constexpr double height = 88;
    static constexpr double searchBarHeight = 44;

    explicit KPDocumentPickerHeaderView(QObject *parent = nullptr);

    KPDocumentPickerSegmentedControl *sortControl() { return &m_sortControl; }

    QString searchText() const { return m_searchText; }
    // An edit of the search text (by the user, or by Escape clearing it).
    void setSearchText(const QString &text);
    void setSearchTextChangedHandler(std::function<void(const QString &)> handler)
    {
        m_searchTextChangedHandler = std::move(handler);
    }

    bool isSearchFocused() const { return m_searchFocused; }
    // The user is searching (the field has the keyboard or holds text): the field stays in
    // view above the rows however far they scroll.
    bool isSearchActive() const { return m_searchFocused || !m_searchText.isEmpty(); }
    void setSearchFocused(bool focused);
    // Gives up the keyboard, if the search field has it.
    Q_INVOKABLE void dismissKeyboard() { setSearchFocused(false); }
    // The keyboard's search key only hides the keyboard: each keystroke already filtered.
    Q_INVOKABLE void searchButtonClicked() { dismissKeyboard(); }

    double clippingHeight() const { return m_clippingHeight; }
    void setClippingHeight(double value);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);

    double width() const { return m_width; }
    void setWidth(double width);
    // The visible band of the header and, inside it, where the content sits.
    QRectF clippingFrame() const;
    QRectF containerFrame() const;

signals:
    void searchTextChanged();
    void searchFocusChanged();
    void searchActiveChanged();
    void layoutChanged();

private:
    KPDocumentPickerSegmentedControl m_sortControl;
    QString m_searchText;
    bool m_searchFocused = false;
    double m_clippingHeight = 0;
    bool m_hidden = false;
    double m_width = 320;
    std::function<void(const QString &)> m_searchTextChangedHandler;
};
