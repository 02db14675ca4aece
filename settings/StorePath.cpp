#include "StorePath.h"

#include "StoreFaultText.h"
#include "StoreFiles.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

StorePathState classifyStorePath(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    // Another copy of the program may create the file between the two looks below: a plain file
    // that lstat finds where stat found nothing was made just now, so the path is looked at again
    // rather than taken for a dangling link (which would be set aside under its creator).
    for (int look = 0; ::stat(native.constData(), &info) != 0; ++look) {
        const int error = errno;
        struct stat linkInfo = {};
        if (error != ENOENT)
            return {StorePathKind::Unreachable, error};
        if (::lstat(native.constData(), &linkInfo) != 0)
            return {StorePathKind::Missing};
        if (S_ISLNK(linkInfo.st_mode) || look == 3)
            return {StorePathKind::DanglingLink};
    }
    if (S_ISDIR(info.st_mode))
        return {StorePathKind::Folder};
    if (!S_ISREG(info.st_mode))
        return {StorePathKind::NotAFile};
    if (::faccessat(AT_FDCWD, native.constData(), R_OK, AT_EACCESS) != 0 && errno == EACCES)
        return {StorePathKind::Unreadable, EACCES};
    return {info.st_size == 0 ? StorePathKind::Empty : StorePathKind::Regular};
}

QString storePathProblem(const StorePathState &state)
{
    switch (state.kind) {
    case StorePathKind::DanglingLink:
        return storetext::kReasonDanglingLink;
    case StorePathKind::Folder:
        return storetext::kReasonFolder;
    case StorePathKind::NotAFile:
        return storetext::kReasonNotAFile;
    case StorePathKind::Unreachable:
    case StorePathKind::Unreadable:
        return storetext::kReasonCannotOpen.arg(storefiles::systemReason(state.error));
    case StorePathKind::Missing:
    case StorePathKind::Empty:
    case StorePathKind::Regular:
        break;
    }
    return {};
}
