#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>
#include <memory>

// A PDF for the previewer's page list: the document, each page's size in points, and pages
// rendered on request at the pixel size the list asks for. Opening, measuring and rendering
// all run on the serial queue "PdfDocumentPreview.documentQueue", which alone touches the
// document (made, used and destroyed there): a large or damaged file never holds the window up,
// and the main thread never waits for the PDF library's lock while a page renders. The first
// pages are measured when the document opens, the others a chunk after each rendered page, so
// a long document shows its first page as soon as a short one. The list asks again only when
// a zoom has come to rest, so a zoom never renders every page at every step. A page rendered
// for a document since replaced or closed is dropped, never shown as a page of the next one.
//
// Thread-safety: main thread only.
class PdfDocumentPreview : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the previewer")
    Q_PROPERTY(int pageCount READ pageCount NOTIFY documentChanged)
    Q_PROPERTY(bool loaded READ isLoaded NOTIFY documentChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY documentChanged)
    Q_PROPERTY(int shownPage READ shownPage WRITE setShownPage NOTIFY shownPageChanged)
    Q_PROPERTY(QString indicatorText READ indicatorText NOTIFY shownPageChanged)

public:
    explicit PdfDocumentPreview(QObject *parent = nullptr);
    ~PdfDocumentPreview() override;

    // Opens `path` on the queue: at once the document is empty and not loaded; then
    // `documentChanged` brings its pages, or `errorText`.
    void load(const QString &path);
    void close();

    // Whether the document asked for last has been opened, or found not to open.
    bool isLoaded() const { return m_loaded; }
    int pageCount() const { return m_pageCount; }
    // Why the document cannot be shown, and what to do; empty when it can.
    QString errorText() const { return m_errorText; }

    // The page the list shows most of, as the list reports it; "3 of 100" for it.
    int shownPage() const { return m_shownPage; }
    void setShownPage(int page);
    QString indicatorText() const;

    // A page not measured yet (far down a long document, just opened) is taken to be as large as
    // the first one.
    Q_INVOKABLE QSizeF pagePointSize(int page) const;
    // Renders `page` at `pixelSize`; `pageRendered` brings it. A request already waiting is
    // not made twice.
    Q_INVOKABLE void requestPage(int page, QSize pixelSize);

    struct Document;

signals:
    void documentChanged();
    void shownPageChanged();
    void pageRendered(int page, QSize pixelSize, const QImage &image);

private:
    void release();
    void opened(const std::shared_ptr<Document> &document, int pageCount,
                const QList<QSizeF> &pageSizes, const QString &errorText);
    void measured(const std::shared_ptr<Document> &document, const QList<QSizeF> &pageSizes);
    void rendered(const std::shared_ptr<Document> &document, int page, QSize pixelSize,
                  const QImage &image);

    std::shared_ptr<Document> m_document; // the one open or opening now
    bool m_loaded = false;
    int m_pageCount = 0;
    QList<QSizeF> m_pageSizes; // of the first pages, as far as measured
    QString m_errorText;
    int m_shownPage = 0;
    QSet<quint64> m_requests; // waiting for the queue, for the document open now
};
