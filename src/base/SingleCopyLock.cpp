#include "base/SingleCopyLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lendora {

SingleCopyLock::~SingleCopyLock()
{
    release();
}

SingleCopyLock::Result SingleCopyLock::take(const QString &path)
{
    release();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return Result::Unavailable;
    // Every open of the file is its own lock owner, so a second copy in the same process is
    // refused as well.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Result::HeldByOther : Result::Unavailable;
    }
    m_fd = fd;
    return Result::Taken;
}

void SingleCopyLock::release()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

}  // namespace lendora
