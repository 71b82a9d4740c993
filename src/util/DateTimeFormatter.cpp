#include "DateTimeFormatter.h"

#include <unicode/datefmt.h>
#include <unicode/unistr.h>

DateTimeFormatter::DateTimeFormatter()
    : format_(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium,
                                                      icu::DateFormat::kShort))
{
}

DateTimeFormatter::~DateTimeFormatter() = default;

QString DateTimeFormatter::stringFromDate(const QDateTime &date) const
{
    if (!date.isValid() || !format_)
        return {};
    icu::UnicodeString text;
    {
        std::lock_guard lock(mutex_);
        format_->format(static_cast<UDate>(date.toMSecsSinceEpoch()), text);
    }
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}
