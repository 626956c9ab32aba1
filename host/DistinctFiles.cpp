#include "DistinctFiles.h"

#include "HostError.h"
#include "HostOptions.h"
#include "LinkTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace
{
struct NamedFile
{
	const char* option;
	const std::string* path;
};

// A file by its device and inode; a file yet to be made by its directory's and its name. Only such files can
// lose data to another option: a device or a pipe named twice (/dev/null, say) loses nothing.
struct Identity
{
	dev_t device = 0;
	ino_t inode = 0;
	std::string name; // empty for a file that exists
	bool operator==(const Identity&) const = default;
};

// False when the path names nothing another option could lose: a missing input, a device, a folder that is not there.
bool identify(const std::string& path, bool yetToBeMade, Identity& out)
{
	struct stat s;
	if (stat(path.c_str(), &s) == 0)
	{
		out = {s.st_dev, s.st_ino, {}};
		return S_ISREG(s.st_mode);
	}
	if (!yetToBeMade)
		return false;
	// A file yet to be made is made where the links on the way lead.
	const std::filesystem::path target = followLinks(path).path;
	if (target.empty() || stat(target.parent_path().c_str(), &s) != 0)
		return false;
	out = {s.st_dev, s.st_ino, target.filename().string()};
	return true;
}

std::vector<std::pair<NamedFile, Identity>> identified(const std::vector<NamedFile>& files, bool outputs)
{
	std::vector<std::pair<NamedFile, Identity>> result;
	for (const NamedFile& f : files)
		if (Identity id; !f.path->empty() && identify(*f.path, outputs, id))
			result.push_back({f, id});
	return result;
}

// The state is read whole before anything plays, and written to a new file that takes the old one's place: saving
// it back over the file it came from is safe, and what a person does to change a preset.
bool savesStateOverItself(const NamedFile& out, const NamedFile& in)
{
	return std::string(out.option) == "--state-out" && std::string(in.option) == "--state-in";
}

std::string named(const NamedFile& f)
{
	return f.option + std::string(" '") + *f.path + "'";
}

// Standard output carries the host's results, and the plug-in's log once it is set aside: an output written there
// (/dev/stdout, say) would be lost among them, whether it names the descriptor or the file it holds. Thrown away on
// purpose, to /dev/null by that name, nothing is lost.
bool isResultsChannel(const std::string& path)
{
	if (followLinks(path).descriptor == STDOUT_FILENO)
		return true;
	struct stat out, file, null;
	if (fstat(STDOUT_FILENO, &out) != 0 || stat(path.c_str(), &file) != 0)
		return false;
	const bool same = out.st_dev == file.st_dev && out.st_ino == file.st_ino;
	const bool discarded = stat("/dev/null", &null) == 0 && null.st_dev == out.st_dev && null.st_ino == out.st_ino;
	return same && !discarded;
}
}

void refuseSharedFiles(const HostOptions& o)
{
	std::vector<NamedFile> outputs = {{"--state-out", &o.stateOut}, {"--midi-out", &o.midiOut}, {"--log", &o.log}};
	if (o.command == "render")
		outputs.insert(outputs.begin(), {"--output", &o.output});
	if (o.command == "editor")
		outputs.insert(outputs.begin(), {"--screenshot", &o.screenshot});
	const auto ins =
		identified({{"--midi", &o.midi}, {"--sysex", &o.sysex}, {"--state-in", &o.stateIn}, {"--script", &o.script}}, false);
	for (const NamedFile& f : outputs)
		if (!f.path->empty() && isResultsChannel(*f.path))
			throw usageError(std::string("option ") + f.option + " needs a file: '" + *f.path +
							 "' is standard output, which carries the host's results");
	const auto outs = identified(outputs, true);
	for (size_t i = 0; i < outs.size(); ++i)
	{
		for (const auto& in : ins)
			if (outs[i].second == in.second && !savesStateOverItself(outs[i].first, in.first))
				throw usageError(named(outs[i].first) + " is the same file as " + named(in.first) +
								 ": an output must not replace an input");
		for (size_t j = 0; j < i; ++j)
			if (outs[i].second == outs[j].second)
				throw usageError(named(outs[j].first) + " and " + named(outs[i].first) +
								 " are the same file: each output needs one of its own");
	}
}
