#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes an export's bytes to the file a person chose. A plain file (a link is followed to the one it names) is
// written beside itself under a short temporary name and put in its place only once whole, so a failure part-way
// leaves the file as it was; its other hard links, if any, keep the old bytes. A file the person may not write
// is refused. Anything else that exists (a pipe, a device) is written in place, as writeInPlace does.
bool writeDumpFile(const std::string& path, const std::vector<uint8_t>& bytes);
