#include "HelpDocument.h"

#include "art/ProductText.h"

#include <QDir>
#include <QFileInfo>

namespace helpdocument {

QStringList searchFolders(const QString &currentDirectory, const QString &programDirectory,
                          const QString &dataDirectory)
{
    QStringList folders;
    const auto add = [&folders](const QString &folder) {
        if (folder.isEmpty())
            return;
        const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
        if (!folders.contains(clean))
            folders << clean;
    };
    add(currentDirectory);
    add(programDirectory);
    if (!programDirectory.isEmpty())
        add(QDir(programDirectory).filePath(QStringLiteral("../share/qxorvanta-trainer")));
    add(dataDirectory);
    return folders;
}

QString find(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo document(QDir(folder).filePath(art::kHelpDocument));
        if (document.isFile())
            return document.absoluteFilePath();
    }
    return QString();
}

} // namespace helpdocument
