#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    // Keep the old file's permissions; a new file gets what the user's umask allows (mkstemp
    // alone would make it 0600; an order may hold personal details, so never wider).
    struct stat old{};
    fchmod(fd, ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~currentUmask()));

    bool ok = true;
    int error = 0;
    const auto fail = [&] {
        if (ok)
            error = errno;
        ok = false;
    };
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else {
            if (n == 0)
                errno = ENOSPC;
            fail();
        }
    }
    if (ok && ::fsync(fd) != 0)
        fail();
    if (::close(fd) != 0)
        fail();
    if (ok && ::rename(temp.constData(), target.constData()) != 0)
        fail();
    if (!ok) {
        ::unlink(temp.constData());
        errno = error;
    }
    return ok;
}

}  // namespace platform
