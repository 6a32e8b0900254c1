// Reading, writing and comparing the files of stored references.
#include "reference.h"

#include <algorithm>
#include <fstream>

std::string reference_path(const std::string& file)
{
    return std::string(KELP_REFERENCE_DIR) + "/" + file;
}

References reference_read(const std::string& path)
{
    References references;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        const size_t space = line.rfind(' ');
        if (line.empty() || line[0] == '#' || space == std::string::npos) {
            continue;
        }
        references.push_back({line.substr(0, space), line.substr(space + 1)});
    }
    return references;
}

bool reference_write(const std::string& path, const std::vector<std::string>& about, const References& references)
{
    std::ofstream file(path);
    for (const std::string& line : about) {
        file << "# " << line << '\n';
    }
    for (const Reference& reference : references) {
        file << reference.name << ' ' << reference.sha256 << '\n';
    }
    file.close();
    return !file.fail();
}

std::string reference_find(const References& references, const std::string& name)
{
    const auto found = std::find_if(references.begin(), references.end(), [&](const Reference& reference) {
        return reference.name == name || reference.name.starts_with(name + " (");
    });
    return found == references.end() ? "" : found->sha256;
}

std::vector<std::string> reference_changes(const References& stored, const References& now)
{
    std::vector<std::string> changes;
    for (const Reference& reference : now) {
        const std::string before = reference_find(stored, reference.name);
        if (before.empty()) {
            changes.push_back("new " + reference.name);
        } else if (before != reference.sha256) {
            changes.push_back("changed " + reference.name);
        }
    }
    for (const Reference& reference : stored) {
        if (reference_find(now, reference.name).empty()) {
            changes.push_back("gone " + reference.name);
        }
    }
    return changes;
}
