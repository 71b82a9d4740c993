#pragma once

#include <QString>

// libzip's readable text for one of its error codes (ZIP_ER_*).
QString libzipMessage(int code);
