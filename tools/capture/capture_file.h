// Output files that never destroy what the user had. Every output is
// written to a temporary file beside its target and renamed over the target
// only once the whole capture succeeded; a failed or interrupted capture
// removes the temporary and leaves the target as it was.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

// The temporary file of one output. Targets that are not regular files
// (/dev/null, /dev/stdout, a named pipe) are written directly instead: they
// cannot be replaced and hold nothing to keep.
class CaptureStage {
public:
    CaptureStage() = default;
    ~CaptureStage() { discard(); }
    CaptureStage(const CaptureStage&) = delete;
    CaptureStage& operator=(const CaptureStage&) = delete;

    // Creates the temporary file for `target`; false with error() when the
    // folder cannot take it or the target is a folder.
    bool open(const std::string& target);
    // Where to write now: the temporary file, or the target itself.
    const std::string& path() const { return temporary.empty() ? target : temporary; }
    bool commit();   // renames the temporary over the target
    void discard();  // removes the temporary, if there is one
    const std::string& error() const { return reason; }

private:
    bool failed(const std::string& action, const std::string& name);

    std::string target;
    std::string temporary;
    std::string reason;
};

// A staged output written through stdio, every write checked.
class CaptureFile {
public:
    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    bool open(const std::string& path);  // stages the file, empty
    bool write(std::span<const uint8_t> bytes);
    // Overwrites bytes at `offset` (a header), then goes back to the end.
    bool patch(long offset, std::span<const uint8_t> bytes);
    bool close();  // flushes and closes; false if anything failed on the way
    bool commit() { return stage.commit() || failed(stage.error()); }  // after close()
    void discard();  // closes and removes the temporary file
    bool is_open() const { return file != nullptr; }
    // "cannot write PATH: REASON" for the last failure.
    const std::string& error() const { return reason; }

private:
    bool failed(const char* action);
    bool failed(const std::string& text);

    FILE* file = nullptr;
    CaptureStage stage;
    std::string name;
    std::string reason;
};

// Removes a partial output, but never a device, a pipe or a directory.
void capture_remove_partial(const std::string& path);
