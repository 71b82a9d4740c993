#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <unicode/alphaindex.h>
#include <unicode/coll.h>

// The user's language's order of names and its lettered index, through ICU:
// the order ignores case and accents and reads runs of digits as numbers ("file2" < "file10");
// `sectionTitles` are the index letters of the language followed by "#" for everything else;
// `sectionOf` puts a name under its letter.
//
// Thread-safety: made once per process (`current`) and never destroyed, then only read; every
// operation may be called from any thread.
class NameCollation {
public:
    static const NameCollation &current();
    ~NameCollation();

    // Bytes that order names as described above: made once per name, compared cheaply while
    // sorting.
    QByteArray sortKey(const QString &name) const;
    QStringList sectionTitles() const { return m_titles; }
    int sectionOf(const QString &name) const;

    // `text` case-folded with its accents taken off: a name holds a search, blind to case and
    // accents, when its folded form contains the search's as plain text (never a pattern).
    static QString foldedForSearch(const QString &text);

private:
    NameCollation();
    icu::Collator &threadCollator() const;
    std::unique_ptr<icu::Collator> m_collator; // cloned per call: ICU collators are not re-entrant
    std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> m_index;
    QStringList m_titles;
    QList<int> m_sectionOfBucket;
};
