#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes into something that exists and is no plain file (a pipe, a device) by opening it for writing,
// as a person writing to it would. The caller is the editor's window thread, and the editor lives in someone
// else's process, so neither may be lost to the target: a pipe no one has open for reading is refused at once, a
// target that takes nothing for a few seconds is given up, and a reader that leaves part-way is a failed write,
// never a signal that ends the process (the process's signal settings stay as they were). False on any failure.
bool writeInPlace(const std::string& path, const std::vector<uint8_t>& bytes);
