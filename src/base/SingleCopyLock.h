#pragma once

#include <QString>

namespace lendora {

// Only one copy of the desk runs per application directory. An exclusive advisory lock on a file in that
// directory: the kernel releases it when its process ends, however it ends, so a copy that
// crashed or was killed never blocks the next start.
class SingleCopyLock {
public:
    enum class Result { Taken, HeldByOther, Unavailable };

    SingleCopyLock() = default;
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock &) = delete;
    SingleCopyLock &operator=(const SingleCopyLock &) = delete;

    Result take(const QString &path);
    void release();
    bool isHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace lendora
