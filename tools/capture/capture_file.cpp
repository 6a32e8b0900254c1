// Checked output files and the removal of partial ones.
#include "capture_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CaptureFile::~CaptureFile()
{
    if (file) {
        fclose(file);
    }
}

bool CaptureFile::failed(const char* action)
{
    reason = std::string("cannot ") + action + " " + path + ": " + strerror(errno);
    return false;
}

bool CaptureFile::open(const std::string& name)
{
    path = name;
    file = fopen(name.c_str(), "wb");
    created = file != nullptr;
    return file || failed("create");
}

bool CaptureFile::write(std::span<const uint8_t> bytes)
{
    if (!file) {
        errno = EBADF;
        return failed("write");
    }
    return fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() || failed("write");
}

bool CaptureFile::patch(long offset, std::span<const uint8_t> bytes)
{
    if (!file || fseek(file, offset, SEEK_SET) != 0) {
        return failed("rewind");
    }
    return write(bytes) && (fseek(file, 0, SEEK_END) == 0 || failed("rewind"));
}

bool CaptureFile::close()
{
    if (!file) {
        return true;
    }
    const bool flushed = fflush(file) == 0;
    const int flush_errno = errno;
    const bool closed = fclose(file) == 0;
    file = nullptr;
    if (!flushed) {
        errno = flush_errno;
    }
    return (flushed && closed) || failed("write");
}

void CaptureFile::discard()
{
    if (file) {
        fclose(file);
        file = nullptr;
    }
    if (created) {
        capture_remove_partial(path);
        created = false;
    }
}

void capture_remove_partial(const std::string& path)
{
    struct stat info {};
    if (!path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        unlink(path.c_str());
    }
}
