#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <mutex>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class DateFormat;
U_NAMESPACE_END

// Writes a date as the user's locale does with a medium date and a short time
// ("Dec 6, 2026, 4:05 PM" in English), in the default time zone, through ICU.
// Thread-safety: format() may be called from any thread (an ICU formatter is not re-entrant,
// so calls are serialised).
class DateTimeFormatter {
public:
    DateTimeFormatter();
    ~DateTimeFormatter();
    DateTimeFormatter(const DateTimeFormatter &) = delete;
    DateTimeFormatter &operator=(const DateTimeFormatter &) = delete;

    QString stringFromDate(const QDateTime &date) const;

private:
    std::unique_ptr<icu::DateFormat> format_;
    mutable std::mutex mutex_;
};
