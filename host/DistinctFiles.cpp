#include "DistinctFiles.h"

#include "CallerDescriptors.h"
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

bool sameFile(const struct stat& a, const struct stat& b)
{
	return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What makes the path one of the host's own channels, or empty: standard input, output (its results, and the plug-in's
// log once that is set aside) and error (its messages), named by descriptor or by the file it holds, and any descriptor
// the host opens for itself (the plug-in's log, temporary files). An output written there would be lost or would
// spoil what is there. Thrown away on purpose, to /dev/null by that name, nothing is lost; a descriptor the caller
// handed over is the caller's to receive it.
std::string ownChannel(const std::string& path)
{
	static const char* const kStandard[] = {"standard input", "standard output, which carries the host's results",
		"standard error, which carries the host's messages"};
	const int descriptor = followLinks(path).descriptor;
	if (descriptor >= 0 && descriptor <= STDERR_FILENO)
		return kStandard[descriptor];
	if (descriptor > STDERR_FILENO && !callerDescriptors::handedOver(descriptor))
		return "descriptor " + std::to_string(descriptor) +
			   ", which the caller did not give the host: its own files go there";
	struct stat file, null, channel;
	if (stat(path.c_str(), &file) != 0 || (stat("/dev/null", &null) == 0 && sameFile(file, null)))
		return {};
	for (int fd : {STDOUT_FILENO, STDERR_FILENO, STDIN_FILENO})
		if (fstat(fd, &channel) == 0 && sameFile(file, channel))
			return kStandard[fd];
	return {};
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
		if (const std::string channel = f.path->empty() ? "" : ownChannel(*f.path); !channel.empty())
			throw usageError(std::string("option ") + f.option + " needs a file: '" + *f.path + "' is " + channel);
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
