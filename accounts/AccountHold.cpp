#include "AccountHold.h"

#include "settings/SettingsStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace accounts {

namespace {

// Creates each missing folder of path with mode 0700, as the store creates its own. Returns 0 or the
// errno of the first folder that could not be made.
int makePrivateFolders(const QString &path)
{
    QString prefix;
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        prefix += u'/' + part;
        if (::mkdir(QFile::encodeName(prefix).constData(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    return 0;
}

} // namespace

AccountHold::~AccountHold()
{
    release();
}

AccountHold::AccountHold(AccountHold &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path))
{
}

AccountHold &AccountHold::operator=(AccountHold &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

bool AccountHold::holds(const QString &name) const
{
    return m_fd >= 0 && m_path == lockPath(name);
}

AccountHold &AccountHold::current()
{
    static AccountHold hold;
    return hold;
}

QString AccountHold::lockPath(const QString &name)
{
    const QByteArray digest =
        QCryptographicHash::hash(SettingsStore::foldName(name).toUtf8(), QCryptographicHash::Sha256).toHex();
    return QFileInfo(SettingsStore::defaultFilePath()).absolutePath() + QStringLiteral("/in-use/") +
           QString::fromLatin1(digest) + QStringLiteral(".lock");
}

AccountHold::Result AccountHold::take(const QString &name)
{
    const QString path = lockPath(name);
    if (m_fd >= 0 && m_path == path)
        return Result::Held;
    m_failure.clear();
    const QString folder = QFileInfo(path).absolutePath();
    // The account held before stays held: the user keeps playing it when the new one is refused.
    const auto fail = [&](int error) {
        m_failure = QStringLiteral("the folder \"%1\" cannot hold the mark that keeps other copies out (%2)")
                        .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
        return Result::Failed;
    };
    if (const int error = makePrivateFolders(folder); error != 0)
        return fail(error);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(errno);
    // Locks of two open files conflict even inside one process, so a second hold here is refused
    // like another copy's.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Result::InUse : fail(error);
    }
    release();
    m_fd = fd;
    m_path = path;
    return Result::Held;
}

void AccountHold::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

} // namespace accounts
