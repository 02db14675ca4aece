#pragma once

#include <QString>
#include <QStringList>

// Where the help document is looked for, and which copy is opened. Display-free, so the order is
// tested without a window.
namespace helpdocument {

// The folders to look in, best first, without empty or repeated entries:
// 1. the current directory, where the document was always looked for by its bare name;
// 2. the program's own folder: the build tree copies the document beside the executable, so
//    `./run` and build/app/qxorvanta-trainer find it from any folder;
// 3. <program folder>/../share/qxorvanta-trainer: an install under any prefix, also one moved
//    after it was built, and the Debian package whose binary lies in /usr/bin;
// 4. the data folder of the prefix the program was configured for.
QStringList searchFolders(const QString &currentDirectory, const QString &programDirectory,
                          const QString &dataDirectory);

// The absolute path of the first regular file with the document's name in those folders, or an
// empty text when none has it.
QString find(const QStringList &folders);

} // namespace helpdocument
