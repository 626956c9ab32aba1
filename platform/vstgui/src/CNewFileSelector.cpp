#include "vstgui/lib/cfileselector.h"

#include "vstgui/lib/platform/scriptedfileselector.h"

#include "vstguilog.h"

#include <CoreFoundation/CFStandIn.h>

#include <cctype>
#include <filesystem>
#include <string>

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
// it prints. The dialog stays above the window of the frame that asked and keeps it from input until it is
// answered, and that window is drawn meanwhile. False when it cannot start or ends without a confirmed answer.
bool runZenity (std::vector<std::string> args, std::string& output)
{
	args.insert (args.begin (), "zenity");
	if (const unsigned long parent = cf::dialogParentWindow ())
		args.insert (args.end (), {"--attach=" + std::to_string (parent), "--modal"});
	const int status = cf::runDialogProgram (args, {}, &output);
	if (status < 0 || status == 127)
	{
		VSTGUI_LOG ("Cannot start zenity for the file dialog");
		return false;
	}
	return status == 0;
}

// A glob that matches the extension in any mix of upper and lower case, as file panels match types.
std::string anyCase (const std::string& extension)
{
	std::string pattern;
	for (const char c : extension)
	{
		const auto u = static_cast<unsigned char> (c);
		if (std::isalpha (u))
			pattern += std::string ("[") + static_cast<char> (std::tolower (u)) + static_cast<char> (std::toupper (u)) + "]";
		else if (c == '[' || c == ']' || c == '*' || c == '?')
			pattern += std::string ("[") + c + "]";
		else
			pattern += c;
	}
	return pattern;
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
			// The name goes back as typed; the caller decides whether it still needs the type's extension.
			// zenity only asks about replacing the name as typed, so a patch saved as "bank" and written as
			// "bank.syx" would silently replace an existing "bank.syx": that is asked here.
			const std::string path = text.substr (0, text.find ('\n'));
			std::string completed = path;
			if (path.empty () || !completeWithDefaultExtension (completed) || !std::filesystem::exists (completed) ||
			    confirmReplace (completed))
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
			args.push_back ("--file-filter=" + ext.getDescription ().getString () + " | *." +
			                anyCase (ext.getExtension ().getString ()));
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
