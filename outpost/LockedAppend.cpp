// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/LockedAppend.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another appender that created the file and failed removes it again; a program that had
// opened the file in the meantime starts over on the new one. This bounds the rounds.
constexpr int MaxOpenRounds = 100;

// A symbolic link is followed to the file it names, so that a new log is created there and
// the link's own name can be checked against the opened file.
QString resolvedTarget(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info = QFileInfo(info.symLinkTarget());
    return info.absoluteFilePath();
}

/// An open, exclusively locked file descriptor; closing it releases the lock.
class LockedFile
{
public:
    LockedFile() = default;
    ~LockedFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    bool open(const QByteArray &path)
    {
        for (int round = 0; round < MaxOpenRounds; ++round) {
            m_created = true;
            m_fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno == EEXIST) {
                m_created = false;
                m_fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
            }
            if (m_fd < 0) {
                if (errno == ENOENT)
                    continue; // removed between the two attempts
                return false;
            }
            if (lock() && stillNamed(path))
                return true;
            ::close(m_fd);
            m_fd = -1;
        }
        return false;
    }

    qint64 size() const
    {
        struct stat status{};
        return ::fstat(m_fd, &status) == 0 ? qint64(status.st_size) : -1;
    }

    bool writeAll(const QByteArray &bytes)
    {
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + written, size_t(bytes.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            written += n;
        }
        return ::fsync(m_fd) == 0 || errno == EINVAL; // devices that cannot sync have nothing to lose
    }

    /// Back to the size before the append; a file this call created is removed, still under the lock.
    void restore(const QByteArray &path, qint64 sizeBefore)
    {
        if (m_created && sizeBefore == 0)
            ::unlink(path.constData());
        else if (::ftruncate(m_fd, off_t(sizeBefore)) != 0)
            return; // a device that cannot be truncated took nothing in the first place
    }

private:
    bool lock()
    {
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR)
                return false;
        }
        return true;
    }

    bool stillNamed(const QByteArray &path) const
    {
        struct stat opened{};
        struct stat named{};
        return ::fstat(m_fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
            && opened.st_ino == named.st_ino;
    }

    int m_fd = -1;
    bool m_created = false;
};

} // namespace

LockedAppend::Result LockedAppend::append(const QString &fileName,
                                          const std::function<QByteArray(qint64 sizeBefore)> &bytesFor,
                                          QString *reason)
{
    // Taken at once: restoring the file afterwards may change errno.
    const auto failed = [reason](Result result) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    };
    const QByteArray path = QFile::encodeName(resolvedTarget(fileName));
    LockedFile file;
    if (!file.open(path))
        return failed(Result::OpenFailed);
    const qint64 sizeBefore = file.size();
    if (sizeBefore < 0)
        return failed(Result::WriteFailed);
    if (!file.writeAll(bytesFor(sizeBefore))) {
        const Result result = failed(Result::WriteFailed);
        file.restore(path, sizeBefore);
        return result;
    }
    return Result::Appended;
}
