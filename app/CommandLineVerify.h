#pragma once

#include <QString>

// --verify and --verify-csv: the record's check in words or JSON. Exit 0 when everything that can be
// checked holds, 1 on any mismatch or when the record cannot be read.
namespace commandline {

int verifyAccount(const QString &userName, bool json);
int verifyCsvFile(const QString &filePath, bool json);

} // namespace commandline
