// Output files whose every write is checked. A file given up after a
// failure is removed, so no half-written picture or sound is left behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

class CaptureFile {
public:
    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    bool open(const std::string& path);  // creates or empties the file
    bool write(std::span<const uint8_t> bytes);
    // Overwrites bytes at `offset` (a header), then goes back to the end.
    bool patch(long offset, std::span<const uint8_t> bytes);
    bool close();  // flushes and closes; false if anything failed on the way
    void discard();  // closes and removes the file, if this created it and it is a regular file
    bool is_open() const { return file != nullptr; }
    // "cannot write PATH: REASON" for the last failure.
    const std::string& error() const { return reason; }

private:
    bool failed(const char* action);

    FILE* file = nullptr;
    std::string path;
    bool created = false;
    std::string reason;
};

// Removes a partial output, but never a device, a pipe or a directory.
void capture_remove_partial(const std::string& path);
