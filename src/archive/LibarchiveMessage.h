#pragma once

#include <QString>

struct archive;

// The readable text of libarchive's last error on `archive`.
QString libarchiveMessage(struct archive *archive);
