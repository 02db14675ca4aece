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
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        struct stat linkInfo = {};
        if (error != ENOENT)
            return {StorePathKind::Unreachable, error};
        if (::lstat(native.constData(), &linkInfo) == 0)
            return {StorePathKind::DanglingLink};
        return {StorePathKind::Missing};
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
