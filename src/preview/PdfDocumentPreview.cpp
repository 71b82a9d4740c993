#include "PdfDocumentPreview.h"

#include "DispatchQueue.h"

#include <QPdfDocument>
#include <QPointer>

// The document of one load. Made, used and destroyed on the queue only.
struct PdfDocumentPreview::Document {
    std::unique_ptr<QPdfDocument> pdf;
    int measured = 0; // pages whose size is known on the main thread

    // The sizes of up to `count` more pages.
    QList<QSizeF> measureNext(int count)
    {
        QList<QSizeF> sizes;
        for (; measured < pdf->pageCount() && sizes.size() < count; ++measured)
            sizes.append(pdf->pagePointSize(measured));
        return sizes;
    }
};

namespace {

using Document = PdfDocumentPreview::Document;

DispatchQueue &documentQueue()
{
    static auto *queue = new DispatchQueue(QStringLiteral("PdfDocumentPreview.documentQueue"));
    return *queue;
}

QString errorTextOf(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::None:
        return {};
    case QPdfDocument::Error::IncorrectPassword:
        return PdfDocumentPreview::tr(
            "This PDF is protected by a password and cannot be shown here.");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return PdfDocumentPreview::tr("This PDF is protected in a way that cannot be shown here.");
    default:
        return PdfDocumentPreview::tr(
            "This PDF cannot be shown: it is damaged or not a PDF after all.");
    }
}

// Pages measured when a document opens, and after each rendered page: at well under a
// millisecond a page, a render waits little for the chunk measured before it.
constexpr int measuredFirst = 32;
constexpr int measuredPerRender = 64;

quint64 requestKey(int page, QSize pixelSize)
{
    return quint64(page) << 40 | quint64(pixelSize.width() & 0xFFFFF) << 20 |
           quint64(pixelSize.height() & 0xFFFFF);
}

} // namespace

PdfDocumentPreview::PdfDocumentPreview(QObject *parent) : QObject(parent) {}

PdfDocumentPreview::~PdfDocumentPreview()
{
    release();
}

void PdfDocumentPreview::release()
{
    m_requests.clear();
    if (!m_document)
        return;
    // Closed on the queue, after whatever it still does with it.
    documentQueue().async([document = std::move(m_document)] { document->pdf.reset(); });
}

void PdfDocumentPreview::load(const QString &path)
{
    release();
    m_document = std::make_shared<Document>();
    m_loaded = false;
    m_pageCount = 0;
    m_pageSizes.clear();
    m_errorText.clear();
    setShownPage(0);
    emit documentChanged();
    QPointer<PdfDocumentPreview> self(this);
    QObject *receiver = DispatchQueue::mainThreadReceiver();
    documentQueue().async([self, receiver, document = m_document, path] {
        document->pdf = std::make_unique<QPdfDocument>();
        const QPdfDocument::Error error = document->pdf->load(path);
        const int pageCount = error == QPdfDocument::Error::None ? document->pdf->pageCount() : 0;
        const QList<QSizeF> pageSizes = document->measureNext(measuredFirst);
        const QString errorText = errorTextOf(error);
        DispatchQueue::main(receiver, [self, document, pageCount, pageSizes, errorText] {
            if (self)
                self->opened(document, pageCount, pageSizes, errorText);
        });
    });
}

void PdfDocumentPreview::opened(const std::shared_ptr<Document> &document, int pageCount,
                                const QList<QSizeF> &pageSizes, const QString &errorText)
{
    if (document != m_document)
        return;
    m_loaded = true;
    m_pageCount = pageCount;
    m_pageSizes = pageSizes;
    m_errorText = errorText;
    emit documentChanged();
    emit shownPageChanged(); // the indicator's text counts the pages now known
}

void PdfDocumentPreview::close()
{
    if (!m_document)
        return;
    release();
    m_loaded = false;
    m_pageCount = 0;
    m_pageSizes.clear();
    m_errorText.clear();
    emit documentChanged();
}

void PdfDocumentPreview::measured(const std::shared_ptr<Document> &document,
                                  const QList<QSizeF> &pageSizes)
{
    if (document == m_document)
        m_pageSizes += pageSizes;
}

QSizeF PdfDocumentPreview::pagePointSize(int page) const
{
    return page >= 0 && page < m_pageCount ? m_pageSizes.value(page, m_pageSizes.value(0))
                                           : QSizeF();
}

void PdfDocumentPreview::requestPage(int page, QSize pixelSize)
{
    if (page < 0 || page >= pageCount() || pixelSize.isEmpty())
        return;
    const quint64 key = requestKey(page, pixelSize);
    if (m_requests.contains(key))
        return;
    m_requests.insert(key);
    QPointer<PdfDocumentPreview> self(this);
    QObject *receiver = DispatchQueue::mainThreadReceiver();
    documentQueue().async([self, receiver, document = m_document, page, pixelSize] {
        const QImage image = document->pdf->render(page, pixelSize);
        DispatchQueue::main(receiver, [self, document, page, pixelSize, image] {
            if (self)
                self->rendered(document, page, pixelSize, image);
        });
        const QList<QSizeF> more = document->measureNext(measuredPerRender);
        if (!more.isEmpty()) {
            DispatchQueue::main(receiver, [self, document, more] {
                if (self)
                    self->measured(document, more);
            });
        }
    });
}

void PdfDocumentPreview::rendered(const std::shared_ptr<Document> &document, int page,
                                  QSize pixelSize, const QImage &image)
{
    if (document != m_document || !m_requests.remove(requestKey(page, pixelSize)))
        return;
    emit pageRendered(page, pixelSize, image);
}

void PdfDocumentPreview::setShownPage(int page)
{
    if (page == m_shownPage)
        return;
    m_shownPage = page;
    emit shownPageChanged();
}

QString PdfDocumentPreview::indicatorText() const
{
    return pageCount() > 0 ? tr("%1 of %2").arg(m_shownPage + 1).arg(pageCount()) : QString();
}
