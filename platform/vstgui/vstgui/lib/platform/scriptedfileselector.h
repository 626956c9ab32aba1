#pragma once

#include "../cfileselector.h"

#include <deque>
#include <string>
#include <vector>

namespace VSTGUI
{
// File selectors that answer from a queue instead of asking a person. While one of these lives,
// CNewFileSelector::create makes scripted selectors; every request is recorded as it was run.
class ScriptedFileSelectors
{
public:
	struct Request
	{
		CNewFileSelector::Style style;
		std::string title;
		std::string initialDirectory;
		std::string defaultSaveName;
		std::vector<std::string> extensions;
		std::string defaultExtension;
		bool multiple;
	};

	ScriptedFileSelectors ();
	~ScriptedFileSelectors ();
	ScriptedFileSelectors (const ScriptedFileSelectors&) = delete;
	ScriptedFileSelectors& operator= (const ScriptedFileSelectors&) = delete;

	// The next dialog confirms these paths.
	void queueChoice (std::vector<std::string> paths);
	// The next dialog is cancelled (also what happens when nothing is queued).
	void queueCancel ();
	// Makes create () fail, as on a platform without a dialog.
	void setUnavailable (bool state) { unavailable = state; }

	const std::vector<Request>& requests () const { return recorded; }

private:
	class Selector;
	std::deque<std::pair<bool, std::vector<std::string>>> answers;
	std::vector<Request> recorded;
	bool unavailable {false};
};
} // VSTGUI
