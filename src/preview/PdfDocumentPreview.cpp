#include "PdfDocumentPreview.h"

PdfDocumentPreview::PdfDocumentPreview(QObject *parent) : QObject(parent)
{
    m_renderer.setRenderMode(QPdfPageRenderer::RenderMode::MultiThreaded);
    m_renderer.setDocument(&m_document);
    connect(&m_renderer, &QPdfPageRenderer::pageRendered, this,
            [this](int page, QSize pixelSize, const QImage &image, QPdfDocumentRenderOptions,
                   quint64 request) {
                if (m_requests.remove(request))
                    emit pageRendered(page, pixelSize, image);
            });
}

void PdfDocumentPreview::load(const QString &path)
{
    m_requests.clear();
    const QPdfDocument::Error error = m_document.load(path);
    switch (error) {
    case QPdfDocument::Error::None:
        m_errorText.clear();
        break;
    case QPdfDocument::Error::IncorrectPassword:
        m_errorText = tr("This PDF is protected by a password and cannot be shown here.");
        break;
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        m_errorText = tr("This PDF is protected in a way that cannot be shown here.");
        break;
    default:
        m_errorText = tr("This PDF cannot be shown: it is damaged or not a PDF after all.");
        break;
    }
    setShownPage(0);
    emit documentChanged();
}

void PdfDocumentPreview::close()
{
    m_requests.clear();
    m_document.close();
    m_errorText.clear();
    emit documentChanged();
}

int PdfDocumentPreview::pageCount() const
{
    return m_errorText.isEmpty() ? m_document.pageCount() : 0;
}

QSizeF PdfDocumentPreview::pagePointSize(int page) const
{
    return m_document.pagePointSize(page);
}

void PdfDocumentPreview::requestPage(int page, QSize pixelSize)
{
    if (page >= 0 && page < pageCount() && !pixelSize.isEmpty())
        m_requests.insert(m_renderer.requestPage(page, pixelSize));
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
