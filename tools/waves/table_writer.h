#pragma once
#include <string>
#include <vector>

#include "fit.h"

// Writes the C++ source that defines the demo's wave_table and wave_count.
// Returns false when the file cannot be written.
bool table_write(const std::string& path, const std::vector<Wave>& waves);
