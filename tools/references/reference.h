// Stored references: text files of SHA-256 digests, one line per reference,
// the name of what was hashed first and the digest last:
//   frame 600 7d1f...
//   picture logo 256x128 a3c0...
// Lines starting with '#' say what the file holds.
#pragma once

#include <string>
#include <vector>

struct Reference {
    std::string name;    // what was hashed, perhaps followed by a note in parentheses
    std::string sha256;  // 64 hexadecimal digits
};
using References = std::vector<Reference>;

// `file` in the source tree's folder of references, tests/reference.
std::string reference_path(const std::string& file);

// The references of a file; none when it is missing.
References reference_read(const std::string& path);
// Writes `about` (comment lines, without '#') and the references; false on failure.
bool reference_write(const std::string& path, const std::vector<std::string>& about, const References& references);

// The digest stored under `name`, or under `name` with a note after it; "" when none.
std::string reference_find(const References& references, const std::string& name);
// What differs between two sets, one line each: "changed NAME", "new NAME"
// (only in `now`) or "gone NAME" (only in `stored`); empty when they agree.
std::vector<std::string> reference_changes(const References& stored, const References& now);
