#pragma once

#include "PdfDocumentPreview.h"
#include "PicturePager.h"
#include "PreviewKind.h"
#include "TextPreview.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class FilePreviewController;

// Where the previewer's items come from: a count and an absolute path per index, asked again
// on every `reloadData`.
class FilePreviewControllerDataSource {
public:
    virtual ~FilePreviewControllerDataSource() = default;
    virtual int numberOfPreviewItems(FilePreviewController *controller) = 0;
    virtual QString previewItemAtIndex(FilePreviewController *controller, int index) = 0;
};

// The previewer: shows one item of its data source at a time, each by its kind (PreviewKinds):
// pictures through a PicturePager over every item (swiped, paged with the keys or the wheel),
// a PDF through PdfDocumentPreview, text and Markdown through TextPreview. The view draws
// whichever `currentKind` names; this object holds the state and decides.
//
// Thread-safety: main thread only.
class FilePreviewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by its screen")
    Q_PROPERTY(int count READ count NOTIFY itemsChanged)
    Q_PROPERTY(int currentPreviewItemIndex READ currentPreviewItemIndex NOTIFY currentItemChanged)
    Q_PROPERTY(PreviewKinds::Kind currentKind READ currentKind NOTIFY currentItemChanged)
    Q_PROPERTY(QString indicatorText READ indicatorText NOTIFY currentItemChanged)
    Q_PROPERTY(bool currentItemShown READ isCurrentItemShown NOTIFY currentItemShownChanged)
    Q_PROPERTY(PicturePager *pictures READ pictures CONSTANT)
    Q_PROPERTY(PdfDocumentPreview *document READ document CONSTANT)
    Q_PROPERTY(TextPreview *text READ text CONSTANT)

public:
    static constexpr int notFound = -1;

    explicit FilePreviewController(QObject *parent = nullptr);

    // Whether the previewer shows the file at `path` (PreviewKinds::kindOfFile is not None).
    // Reads the file's head only: quick enough for the main thread.
    static bool canPreviewItem(const QString &path);

    FilePreviewControllerDataSource *dataSource() const { return m_dataSource; }
    void setDataSource(FilePreviewControllerDataSource *dataSource) { m_dataSource = dataSource; }

    // The item shown; an index outside the items (`notFound`) shows the first one.
    void setCurrentPreviewItemIndex(int index);
    int currentPreviewItemIndex() const { return m_currentIndex; }
    // Asks the data source for its items again.
    void reloadData();
    // Starts decoding the picture at `path`, to be shown first, while the data source is still
    // gathering its items: `reloadData` takes the picture (or its decode under way) over when
    // the items hold the path.
    void preloadPicture(const QString &path);
    // Loads the current item into the view of its kind.
    void refreshCurrentPreviewItem();

    // Paging, by the arrow keys, the wheel and the swipe; nothing past either end.
    Q_INVOKABLE void showNextItem();
    Q_INVOKABLE void showPreviousItem();
    // The paging view settled on a page by itself (a swipe).
    Q_INVOKABLE void pagedTo(int index);

    int count() const { return int(m_items.size()); }
    QStringList items() const { return m_items; }
    QString currentItemPath() const;
    PreviewKinds::Kind currentKind() const { return m_currentKind; }
    // "3 of 12"; empty for a single item.
    QString indicatorText() const;
    // Whether the current item's picture, first page or text is there to be drawn.
    bool isCurrentItemShown() const { return m_currentItemShown; }

    PicturePager *pictures() { return &m_pictures; }
    PdfDocumentPreview *document() { return &m_document; }
    TextPreview *text() { return &m_text; }

signals:
    void itemsChanged();
    void currentItemChanged();
    void currentItemShownChanged();

private:
    void showItem(int index);
    void setCurrentItemShown(bool shown);

    FilePreviewControllerDataSource *m_dataSource = nullptr;
    QStringList m_items;
    int m_currentIndex = notFound;
    PreviewKinds::Kind m_currentKind = PreviewKinds::Kind::None;
    bool m_currentItemShown = false;
    PicturePager m_pictures;
    PdfDocumentPreview m_document;
    TextPreview m_text;
};
