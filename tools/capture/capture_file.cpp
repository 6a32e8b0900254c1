// Staged output files, checked writes and the removal of partial files.
#include "capture_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The mode a new file gets (0666 less the umask), or the one the target has,
// so replacing a file keeps who may read it.
mode_t mode_for(const struct stat* existing)
{
    if (existing) {
        return existing->st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// "dir/.name.XXXXXX" beside "dir/name".
std::string temporary_name(const std::string& target)
{
    const size_t slash = target.rfind('/');
    const size_t base = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, base) + "." + target.substr(base) + ".XXXXXX";
}

}  // namespace

bool CaptureStage::failed(const std::string& action, const std::string& name)
{
    reason = "cannot " + action + " " + name + ": " + strerror(errno);
    return false;
}

bool CaptureStage::open(const std::string& name)
{
    discard();
    target = name;
    // A link is followed, so the file it names is replaced and the link stays.
    char resolved[PATH_MAX];
    if (realpath(name.c_str(), resolved)) {
        target = resolved;
    }
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return failed("write", name);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return true;
    }
    std::string staged = temporary_name(target);
    const int fd = mkstemp(staged.data());
    if (fd < 0) {
        return failed("create a file beside", name);
    }
    const bool ready = fchmod(fd, mode_for(exists ? &existing : nullptr)) == 0;
    ::close(fd);
    temporary = staged;
    return ready || failed("create a file beside", name);
}

bool CaptureStage::commit()
{
    if (temporary.empty() || rename(temporary.c_str(), target.c_str()) == 0) {
        temporary.clear();
        return true;
    }
    failed("replace", target);
    discard();
    return false;
}

void CaptureStage::discard()
{
    if (!temporary.empty()) {
        unlink(temporary.c_str());
        temporary.clear();
    }
}

CaptureFile::~CaptureFile()
{
    if (file) {
        fclose(file);
    }
}

bool CaptureFile::failed(const char* action)
{
    return failed(std::string("cannot ") + action + " " + name + ": " + strerror(errno));
}

bool CaptureFile::failed(const std::string& text)
{
    reason = text;
    return false;
}

bool CaptureFile::open(const std::string& path)
{
    name = path;
    if (!stage.open(path)) {
        return failed(stage.error());
    }
    file = fopen(stage.path().c_str(), "wb");
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
    stage.discard();
}

void capture_remove_partial(const std::string& path)
{
    struct stat info {};
    if (!path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        unlink(path.c_str());
    }
}
