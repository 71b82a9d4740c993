#pragma once

#include <QFont>
#include <QObject>
#include <QQuickTextDocument>
#include <QString>
#include <QStringListModel>
#include <QtQml/qqmlregistration.h>

// The text shown for a text or Markdown file: read off the main thread (the first MiB, see
// TextExcerpt), then as lines for plain text (a list draws only the lines in sight, so a large
// log never holds up the window) or as rendered HTML for Markdown (MarkdownRendering).
//
// Thread-safety: main thread only; the reading runs on a queue of its own and comes back on the
// main thread, where a result for a file no longer asked for is dropped.
class TextPreview : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the previewer")
    Q_PROPERTY(QAbstractItemModel *lines READ lines CONSTANT)
    Q_PROPERTY(bool markdown READ isMarkdown NOTIFY loadedChanged)
    Q_PROPERTY(QString html READ html NOTIFY loadedChanged)
    Q_PROPERTY(QString omittedText READ omittedText NOTIFY loadedChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY loadedChanged)
    Q_PROPERTY(bool loaded READ isLoaded NOTIFY loadedChanged)
    Q_PROPERTY(QFont fixedFont READ fixedFont CONSTANT)

public:
    // Longer lines are cut into rows of this many characters: a row is laid out whole.
    static constexpr qsizetype longestRow = 2000;

    explicit TextPreview(QObject *parent = nullptr);

    // Starts reading `path`; what was shown is cleared at once.
    void load(const QString &path, bool markdown);
    void clear();

    QAbstractItemModel *lines() { return &m_lines; }
    QStringList lineList() const { return m_lines.stringList(); }
    bool isMarkdown() const { return m_markdown; }
    QString html() const { return m_html; }
    // "The rest of the file (4.2 MB) is not shown.", or empty when all of it is.
    QString omittedText() const { return m_omittedText; }
    QString errorText() const { return m_errorText; }
    bool isLoaded() const { return m_loaded; }
    static QFont fixedFont();
    // Fits the pictures of the view showing `html` into `width` (MarkdownRendering::fitPictures).
    Q_INVOKABLE static void fitPictures(QQuickTextDocument *document, double width);

signals:
    void loadedChanged();

private:
    QStringListModel m_lines;
    bool m_markdown = false;
    QString m_html;
    QString m_omittedText;
    QString m_errorText;
    bool m_loaded = false;
    quint64 m_request = 0;
};
