#include "StoreFiles.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storefiles {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void removeUnfinishedShm(const QString &filePath)
{
    constexpr off_t kRegionBytes = 32768;
    constexpr off_t kInUseByte = 128;
    const QByteArray shm = QFile::encodeName(filePath + QStringLiteral("-shm"));
    struct stat info = {};
    if (::lstat(shm.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
        (info.st_size > 0 && info.st_size % kRegionBytes == 0))
        return;
    const int fd = ::open(shm.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kInUseByte;
    lock.l_len = 1;
    if (::fcntl(fd, F_SETLK, &lock) == 0)
        ::unlink(shm.constData());
    ::close(fd);
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void tightenModes(const QString &filePath)
{
    const QByteArray path = QFile::encodeName(filePath);
    struct stat info = {};
    if (::stat(path.constData(), &info) != 0 || info.st_uid != ::geteuid())
        return;
    const mode_t mode = info.st_mode & 0700;
    if ((info.st_mode & 0777) != mode)
        ::chmod(path.constData(), mode);
    for (const char *suffix : {"-wal", "-shm"}) {
        const QByteArray companion = path + suffix;
        struct stat companionInfo = {};
        if (::stat(companion.constData(), &companionInfo) == 0 && companionInfo.st_uid == ::geteuid() &&
            (companionInfo.st_mode & 0777) != (mode & 0666))
            ::chmod(companion.constData(), mode & 0666);
    }
}

int renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without RENAME_NOREPLACE: check first (the folder is private to this user).
    if (exists(to))
        return EEXIST;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

bool exists(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool missing(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

bool writableByUs(const QString &path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

bool hasContent(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && info.st_size > 0;
}

FolderLock::FolderLock(const QString &folder)
    : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_fd >= 0)
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace storefiles
