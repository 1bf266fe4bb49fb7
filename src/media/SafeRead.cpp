// SafeRead: bounded reading of regular files through the open handle.
#include "media/SafeRead.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Closes the descriptor on every way out.
struct TDescriptor {
    int Fd = -1;
    ~TDescriptor() {
        if (Fd >= 0) ::close(Fd);
    }
};

TReadResult Failure(TReadStatus status) {
    TReadResult r;
    r.Status = status;
    return r;
}
} // namespace

std::string TReadResult::Reason() const {
    switch (Status) {
    case TReadStatus::Ok:
        return "was read";
    case TReadStatus::Missing:
        return "does not exist";
    case TReadStatus::NotAFile:
        return "is a folder or a device, not a file";
    case TReadStatus::TooLarge:
        return "is too large";
    case TReadStatus::Failed:
        break;
    }
    return "cannot be read";
}

TReadResult ReadFileBounded(const std::filesystem::path& path, size_t maxBytes) noexcept {
    try {
        TDescriptor file;
        // Without O_NONBLOCK opening a FIFO would wait for a writer that never comes.
        file.Fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (file.Fd < 0)
            return Failure(errno == ENOENT || errno == ENOTDIR ? TReadStatus::Missing : TReadStatus::Failed);
        struct stat info {};
        if (::fstat(file.Fd, &info) != 0) return Failure(TReadStatus::Failed);
        if (!S_ISREG(info.st_mode)) return Failure(TReadStatus::NotAFile);
        if (info.st_size < 0 || uint64_t(info.st_size) > maxBytes) return Failure(TReadStatus::TooLarge);

        TReadResult r;
        r.Bytes.resize(size_t(info.st_size));
        size_t got = 0;
        // A file that grows while it is read is still cut at the bound: one byte more is asked for
        // only to notice that.
        for (;;) {
            if (got == r.Bytes.size()) {
                // Full: one byte more tells the end (nearly always) from a file that grew, without
                // first doubling (zero-filling and copying) the tens of megabytes of a large map.
                uint8_t extra = 0;
                const ssize_t n = ::read(file.Fd, &extra, 1);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) return Failure(TReadStatus::Failed);
                if (n == 0) break;
                if (got >= maxBytes) return Failure(TReadStatus::TooLarge);
                r.Bytes.resize(std::min(maxBytes, std::max<size_t>(got * 2, got + 4096)));
                r.Bytes[got++] = extra;
                continue;
            }
            const ssize_t n = ::read(file.Fd, r.Bytes.data() + got, r.Bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return Failure(TReadStatus::Failed);
            if (n == 0) break;
            got += size_t(n);
        }
        r.Bytes.resize(got);
        r.Status = TReadStatus::Ok;
        return r;
    } catch (const std::bad_alloc&) {
        return Failure(TReadStatus::Failed);
    } catch (...) {
        return Failure(TReadStatus::Failed);
    }
}
