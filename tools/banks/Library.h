#pragma once

#include <cstddef>
#include <vector>

#include "Patch.h"

// The factory library: twelve storages of 64 singles, each storage with a theme. Storage 0 is the
// internal memory, a best-of drawn from the eleven ROM banks.
namespace banks
{
constexpr size_t StorageCount = 12;
constexpr size_t SinglesPerStorage = 64;

// The image symbol of a storage ("ZENTINT", "R301", ...), in storage order.
const char* storageSymbol(size_t storage);
// The storage's theme in a few words.
const char* storageTheme(size_t storage);
// The 64 sounds of a storage, in storage order.
std::vector<Patch> designStorage(size_t storage);

std::vector<Patch> keysBank();
std::vector<Patch> organBank();
std::vector<Patch> stringBank();
std::vector<Patch> padBank();
std::vector<Patch> brassWindBank();
std::vector<Patch> bassBank();
std::vector<Patch> leadBank();
std::vector<Patch> bellMalletBank();
std::vector<Patch> pluckBank();
std::vector<Patch> percussionBank();
std::vector<Patch> effectBank();
std::vector<Patch> bestOfBank();
}
