#include "vstgui/lib/cfileselector.h"

#include "vstgui/lib/platform/scriptedfileselector.h"

#include "vstguilog.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

extern char** environ;

namespace VSTGUI
{
IdStringPtr kSelectEndMessage = "CNewFileSelector Select End Message";

CFileExtension::CFileExtension (const UTF8String& description, const UTF8String& extension, const UTF8String& mimeType,
                                int32_t macType, const UTF8String& uti)
: description (description), extension (extension), mimeType (mimeType), uti (uti), macType (macType)
{
}

bool CFileExtension::operator== (const CFileExtension& ext) const
{
	return extension == ext.extension || mimeType == ext.mimeType || uti == ext.uti ||
	       (macType != 0 && macType == ext.macType);
}

//------------------------------------------------------------------------------------------------

namespace
{
// Runs zenity with these arguments (straight to the program, never through a shell) and collects what
// it prints. False when it cannot start or ends without a confirmed answer.
bool runZenity (std::vector<std::string> args, std::string& output)
{
	args.insert (args.begin (), "zenity");
	int out[2];
	if (pipe (out) != 0)
		return false;
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init (&actions);
	posix_spawn_file_actions_adddup2 (&actions, out[1], STDOUT_FILENO);
	posix_spawn_file_actions_addclose (&actions, out[0]);
	std::vector<char*> argv;
	for (auto& a : args)
		argv.push_back (a.data ());
	argv.push_back (nullptr);
	pid_t pid = 0;
	int spawned = posix_spawnp (&pid, "zenity", &actions, nullptr, argv.data (), environ);
	posix_spawn_file_actions_destroy (&actions);
	close (out[1]);
	if (spawned != 0)
	{
		close (out[0]);
		VSTGUI_LOG ("Cannot start zenity for the file dialog");
		return false;
	}
	output.clear ();
	char buffer[4096];
	for (;;)
	{
		ssize_t n = read (out[0], buffer, sizeof (buffer));
		if (n > 0)
			output.append (buffer, static_cast<size_t> (n));
		else if (n == 0 || errno != EINTR)
			break;
	}
	close (out[0]);
	int status = 0;
	while (waitpid (pid, &status, 0) < 0 && errno == EINTR)
	{
	}
	return WIFEXITED (status) && WEXITSTATUS (status) == 0;
}

bool endsWith (const std::string& text, const std::string& suffix)
{
	return text.size () >= suffix.size () && text.compare (text.size () - suffix.size (), suffix.size (), suffix) == 0;
}

// Asks through zenity, as the toolkit does on Linux desktops.
class ZenityFileSelector : public CNewFileSelector
{
public:
	ZenityFileSelector (CFrame* frame, Style style) : CNewFileSelector (frame, style) {}

	bool runModalInternal () override
	{
		std::string start = initialPath.getString ();
		if (!start.empty () && start.back () != '/')
			start += '/';
		if (style == kSelectSaveFile)
			start += defaultSaveName.getString ();
		std::string text;
		for (;;)
		{
			if (!runZenity (arguments (start), text))
				return false;
			if (style != kSelectSaveFile)
				break;
			// A save panel completes a bare name with the chosen type's extension and asks before it
			// replaces a file of that completed name; zenity only asks about the name as typed, so a
			// patch saved as "bank" would silently replace an existing "bank.syx".
			std::string path = text.substr (0, text.find ('\n'));
			if (path.empty () || !completeWithDefaultExtension (path) || !std::filesystem::exists (path) ||
			    confirmReplace (path))
			{
				text = path;
				break;
			}
			start = path;
		}
		size_t lineStart = 0;
		while (lineStart < text.size ())
		{
			size_t nl = text.find ('\n', lineStart);
			std::string line = text.substr (lineStart, nl == std::string::npos ? std::string::npos : nl - lineStart);
			if (!line.empty ())
				result.emplace_back (std::move (line));
			if (nl == std::string::npos)
				break;
			lineStart = nl + 1;
		}
		return !result.empty ();
	}

private:
	std::vector<std::string> arguments (const std::string& start) const
	{
		std::vector<std::string> args = {"--file-selection"};
		if (style == kSelectSaveFile)
			args.insert (args.end (), {"--save", "--confirm-overwrite"});
		else if (style == kSelectDirectory)
			args.push_back ("--directory");
		if (allowMultiFileSelection && style == kSelectFile)
			args.insert (args.end (), {"--multiple", "--separator=\n"});
		if (!title.empty ())
			args.push_back ("--title=" + title.getString ());
		if (!start.empty ())
			args.push_back ("--filename=" + start);
		// The default filter is listed first, which makes it the one shown.
		auto addFilter = [&] (const CFileExtension& ext) {
			args.push_back ("--file-filter=" + ext.getDescription ().getString () + " | *." + ext.getExtension ().getString ());
		};
		if (defaultExtension)
			addFilter (*defaultExtension);
		for (const auto& ext : extensions)
		{
			if (&ext != defaultExtension)
				addFilter (ext);
		}
		return args;
	}

	// True when the path had no extension of the default type and got it.
	bool completeWithDefaultExtension (std::string& path) const
	{
		if (!defaultExtension || defaultExtension->getExtension ().empty ())
			return false;
		const std::string suffix = "." + defaultExtension->getExtension ().getString ();
		if (endsWith (path, suffix))
			return false;
		path += suffix;
		return true;
	}

	bool confirmReplace (const std::string& path) const
	{
		const std::string name = std::filesystem::path (path).filename ().string ();
		std::vector<std::string> args = {"--question", "--no-markup"};
		if (!title.empty ())
			args.push_back ("--title=" + title.getString ());
		args.insert (args.end (), {"--text=A file named \"" + name + "\" already exists. Do you want to replace it?",
		                           "--ok-label=Replace", "--cancel-label=Cancel", "--default-cancel"});
		std::string ignored;
		return runZenity (std::move (args), ignored);
	}
};

CNewFileSelector::Factory& factory ()
{
	static CNewFileSelector::Factory f;
	return f;
}
}

CNewFileSelector::CNewFileSelector (CFrame* frame, Style style) : frame (frame), style (style)
{
}

CNewFileSelector* CNewFileSelector::create (CFrame* parent, Style style)
{
	if (factory ())
		return factory () (parent, style);
	return new ZenityFileSelector (parent, style);
}

void CNewFileSelector::setFactory (Factory f)
{
	factory () = std::move (f);
}

bool CNewFileSelector::runModal ()
{
	result.clear ();
	return runModalInternal ();
}

bool CNewFileSelector::run (CallbackFunc&& callback)
{
	SharedPointer<CNewFileSelector> guard (this);
	bool confirmed = runModal ();
	if (confirmed && callback)
		callback (this);
	return true;
}

bool CNewFileSelector::run (CBaseObject* delegate)
{
	if (delegate == nullptr)
		return false;
	SharedPointer<CNewFileSelector> guard (this);
	runModal ();
	delegate->notify (this, kSelectEndMessage);
	return true;
}

void CNewFileSelector::cancel ()
{
}

void CNewFileSelector::setTitle (const UTF8String& t)
{
	title = t;
}

void CNewFileSelector::setInitialDirectory (const UTF8String& path)
{
	initialPath = path;
}

void CNewFileSelector::setDefaultSaveName (const UTF8String& name)
{
	defaultSaveName = name;
}

void CNewFileSelector::setDefaultExtension (const CFileExtension& extension)
{
	if (defaultExtension)
		return;
	for (const auto& ext : extensions)
	{
		if (ext == extension)
		{
			defaultExtension = &ext;
			return;
		}
	}
	extensions.push_back (extension);
	defaultExtension = &extensions.back ();
}

void CNewFileSelector::setAllowMultiFileSelection (bool state)
{
	allowMultiFileSelection = state;
}

void CNewFileSelector::addFileExtension (const CFileExtension& extension)
{
	extensions.push_back (extension);
}

void CNewFileSelector::addFileExtension (CFileExtension&& extension)
{
	extensions.push_back (std::move (extension));
}

UTF8StringPtr CNewFileSelector::getSelectedFile (uint32_t index) const
{
	return index < result.size () ? result[index].data () : nullptr;
}

//------------------------------------------------------------------------------------------------

class ScriptedFileSelectors::Selector : public CNewFileSelector
{
public:
	Selector (ScriptedFileSelectors& owner, CFrame* frame, Style style) : CNewFileSelector (frame, style), owner (owner) {}

	bool runModalInternal () override
	{
		Request request {style, title.getString (), initialPath.getString (), defaultSaveName.getString (), {}, {},
		                 allowMultiFileSelection};
		for (const auto& ext : extensions)
			request.extensions.push_back (ext.getExtension ().getString ());
		if (defaultExtension)
			request.defaultExtension = defaultExtension->getExtension ().getString ();
		owner.recorded.push_back (std::move (request));
		if (owner.answers.empty ())
			return false;
		auto [confirmed, paths] = std::move (owner.answers.front ());
		owner.answers.pop_front ();
		if (!confirmed)
			return false;
		for (auto& p : paths)
			result.emplace_back (std::move (p));
		return true;
	}

	ScriptedFileSelectors& owner;
};

ScriptedFileSelectors::ScriptedFileSelectors ()
{
	CNewFileSelector::setFactory ([this] (CFrame* parent, CNewFileSelector::Style style) -> CNewFileSelector* {
		if (unavailable)
			return nullptr;
		return new Selector (*this, parent, style);
	});
}

ScriptedFileSelectors::~ScriptedFileSelectors ()
{
	CNewFileSelector::setFactory (nullptr);
}

void ScriptedFileSelectors::queueChoice (std::vector<std::string> paths)
{
	answers.emplace_back (true, std::move (paths));
}

void ScriptedFileSelectors::queueCancel ()
{
	answers.emplace_back (false, std::vector<std::string> {});
}
} // VSTGUI
