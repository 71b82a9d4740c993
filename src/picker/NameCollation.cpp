#include "NameCollation.h"

#include <QLocale>
#include <unicode/alphaindex.h>
#include <unicode/coll.h>
#include <unicode/unistr.h>

namespace {

icu::UnicodeString toIcu(const QString &s)
{
    return icu::UnicodeString(reinterpret_cast<const UChar *>(s.utf16()), int32_t(s.size()));
}

QString fromIcu(const icu::UnicodeString &s)
{
    return QString(reinterpret_cast<const QChar *>(s.getBuffer()), s.length());
}

} // namespace

// Never destroyed: a listing still being sorted on a pool thread when the process ends goes on
// using it while the main thread runs the static destructors.
const NameCollation &NameCollation::current()
{
    static const auto *collation = new NameCollation;
    return *collation;
}

NameCollation::NameCollation()
{
    const icu::Locale locale(QLocale().name().toLatin1().constData());
    UErrorCode status = U_ZERO_ERROR;
    m_collator.reset(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !m_collator) {
        status = U_ZERO_ERROR;
        m_collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    m_collator->setStrength(icu::Collator::PRIMARY);
    m_collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);

    status = U_ZERO_ERROR;
    icu::AlphabeticIndex index(locale, status);
    m_index.reset(index.buildImmutableIndex(status));
    const int buckets = U_SUCCESS(status) && m_index ? m_index->getBucketCount() : 0;
    // Letters of the language in order, then one "#" for the rest (digits, symbols, scripts
    // the language does not index).
    for (int b = 0; b < buckets; ++b) {
        const auto *bucket = m_index->getBucket(b);
        if (bucket->getLabelType() == U_ALPHAINDEX_NORMAL) {
            m_sectionOfBucket.append(int(m_titles.size()));
            m_titles.append(fromIcu(bucket->getLabel()));
        } else {
            m_sectionOfBucket.append(-1);
        }
    }
    const int other = int(m_titles.size());
    m_titles.append(QStringLiteral("#"));
    for (auto &section : m_sectionOfBucket)
        if (section < 0)
            section = other;
}

NameCollation::~NameCollation() = default;

icu::Collator &NameCollation::threadCollator() const
{
    thread_local std::unique_ptr<icu::Collator> collator(m_collator->clone());
    return *collator;
}

QByteArray NameCollation::sortKey(const QString &name) const
{
    icu::Collator &collator = threadCollator();
    const icu::UnicodeString text = toIcu(name);
    QByteArray key(64, Qt::Uninitialized);
    int32_t length =
        collator.getSortKey(text, reinterpret_cast<uint8_t *>(key.data()), int32_t(key.size()));
    if (length > key.size()) {
        key.resize(length);
        length = collator.getSortKey(text, reinterpret_cast<uint8_t *>(key.data()), length);
    }
    key.resize(length);
    return key;
}

int NameCollation::sectionOf(const QString &name) const
{
    if (!m_index)
        return int(m_titles.size()) - 1;
    UErrorCode status = U_ZERO_ERROR;
    const int bucket = m_index->getBucketIndex(toIcu(name), status);
    return U_SUCCESS(status) && bucket >= 0 && bucket < m_sectionOfBucket.size()
               ? m_sectionOfBucket.at(bucket)
               : int(m_titles.size()) - 1;
}

QString NameCollation::foldedForSearch(const QString &text)
{
    QString bare;
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            bare.append(c);
    return bare.toCaseFolded();
}
