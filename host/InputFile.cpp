#include "InputFile.h"

#include "HostError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

std::vector<uint8_t> readInputFile(const std::string& path, const InputKind& kind)
{
	// Missing, a folder, forbidden: the cause is what a person needs to mend it.
	auto fail = [&](int error) {
		return HostError("cannot read the " + std::string(kind.what) + " '" + path + "': " + std::strerror(error));
	};
	std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
	if (!file)
		throw fail(errno);
	struct stat s;
	if (fstat(fileno(file.get()), &s) == 0 && S_ISDIR(s.st_mode))
		throw fail(EISDIR);
	std::vector<uint8_t> bytes;
	uint8_t chunk[65536];
	for (;;)
	{
		const size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
		if (got == 0)
			break;
		if (got > kind.maxBytes - bytes.size())
			throw HostError("'" + path + "' holds more than " + std::to_string(kind.maxBytes) + " bytes, too many for a " +
							kind.what + ": " + kind.why);
		bytes.insert(bytes.end(), chunk, chunk + got);
	}
	if (std::ferror(file.get()))
		throw fail(errno);
	return bytes;
}
