#include "LinkTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{
// As many links as the system follows before it calls them a loop.
constexpr int kMostLinks = 40;

bool allDigits(const std::string& s)
{
	return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// /proc/<pid>/fd or /proc/<pid>/task/<tid>/fd of this process: its entries are the host's open descriptors, links
// the system resolves to whatever the descriptor holds, named or not (a pipe, a deleted file).
bool isOwnDescriptorFolder(const fs::path& folder)
{
	const fs::path own = fs::path("/proc") / std::to_string(getpid());
	if (folder == own / "fd")
		return true;
	return folder.filename() == "fd" && folder.parent_path().parent_path() == own / "task" &&
		   allDigits(folder.parent_path().filename().string());
}
}

LinkTarget followLinks(const std::string& path)
{
	fs::path p = path;
	for (int link = 0; link <= kMostLinks; ++link)
	{
		std::error_code error;
		const fs::path folder = fs::canonical(p.has_parent_path() ? p.parent_path() : fs::path("."), error);
		if (error)
			return {{}, -1, error.value()};
		const std::string name = p.filename().string();
		if (name.empty() || name == "." || name == "..")
			return {fs::weakly_canonical(p, error).string(), -1, 0};
		if (isOwnDescriptorFolder(folder))
			return {{}, allDigits(name) && name.size() < 10 ? std::stoi(name) : -1, EBADF};
		const fs::path whole = folder / name;
		struct stat s;
		if (lstat(whole.c_str(), &s) != 0 || !S_ISLNK(s.st_mode))
			return {whole.string(), -1, 0};
		const fs::path target = fs::read_symlink(whole, error);
		if (error)
			return {{}, -1, error.value()};
		p = target.is_absolute() ? target : folder / target;
	}
	return {{}, -1, ELOOP};
}
