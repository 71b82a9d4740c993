#pragma once

#include <QImage>
#include <QObject>
#include <QPdfDocument>
#include <QPdfPageRenderer>
#include <QSet>
#include <QSize>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

// A PDF for the previewer's page list: the document, each page's size in points, and pages
// rendered on request, off the main thread (QPdfPageRenderer on its own thread), at the pixel
// size the list asks for. The list asks again only when a zoom has come to rest, so a zoom
// never renders every page at every step. A page rendered for a document since replaced or
// closed is dropped, never shown as a page of the next one.
//
// Thread-safety: main thread only.
class PdfDocumentPreview : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the previewer")
    Q_PROPERTY(int pageCount READ pageCount NOTIFY documentChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY documentChanged)
    Q_PROPERTY(int shownPage READ shownPage WRITE setShownPage NOTIFY shownPageChanged)
    Q_PROPERTY(QString indicatorText READ indicatorText NOTIFY shownPageChanged)

public:
    explicit PdfDocumentPreview(QObject *parent = nullptr);

    // Opens `path` at once (the parse is quick; pages are read when rendered).
    void load(const QString &path);
    void close();

    int pageCount() const;
    // Why the document cannot be shown, and what to do; empty when it can.
    QString errorText() const { return m_errorText; }

    // The page the list shows most of, as the list reports it; "3 of 100" for it.
    int shownPage() const { return m_shownPage; }
    void setShownPage(int page);
    QString indicatorText() const;

    Q_INVOKABLE QSizeF pagePointSize(int page) const;
    // Renders `page` at `pixelSize`; `pageRendered` brings it.
    Q_INVOKABLE void requestPage(int page, QSize pixelSize);

signals:
    void documentChanged();
    void shownPageChanged();
    void pageRendered(int page, QSize pixelSize, const QImage &image);

private:
    QPdfDocument m_document;
    QPdfPageRenderer m_renderer; // after the document: it goes first
    QString m_errorText;
    int m_shownPage = 0;
    QSet<quint64> m_requests; // asked of the renderer for the document open now
};
