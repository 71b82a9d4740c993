#include "StandardError.h"

#include <Printable.h>
#include <cstdio>

void sayOnStandardError(const QString &text)
{
    std::fprintf(stderr, "ombrisk: %s\n", printable(text).toUtf8().constData());
}
