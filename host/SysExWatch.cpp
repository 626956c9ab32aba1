#include "SysExWatch.h"

#include "HostError.h"
#include "PluginLog.h"

#include <cstdint>
#include <regex>

namespace
{
constexpr size_t kMostLines = 5;

// One of the plug-in's own lines ("function@line: text", not the continuation of a longer entry) in the words an
// instrument uses for what it refused or found wrong. Its other lines (a program switch, parameter notices) come
// with any block. A whole message meant for another device (another maker, machine or channel: a GM or GS reset
// in a song, say) is passed over as the instrument should, and is no damage to tell of.
bool tellsOfRefusal(const std::string& line)
{
	static const std::regex refusal(
		R"(^[\w~]+@\d+: .*\b(invalid|refus|expected|wrong|unknown|error|skipping|not a|outside|cannot|failed|dropped))",
		std::regex::icase);
	static const std::regex otherDevice(
		R"(^[\w~]+@\d+: (Sysex from wrong manufacturer|Skipping read, expected channel|Expected group|Expected machine ID))");
	return std::regex_search(line, refusal) && !std::regex_search(line, otherDevice);
}
}

void SysExWatch::sent(const std::string& where, const std::string& file)
{
	m_sent.push_back({where, file});
}

void SysExWatch::rendered()
{
	if (m_sent.empty())
		return;
	std::vector<std::string> refusals;
	for (const std::string& line : pluginLog::stepLines(SIZE_MAX))
		if (refusals.size() < kMostLines && tellsOfRefusal(line))
			refusals.push_back(line);
	if (!refusals.empty())
	{
		warn("the plug-in refused all or part of " + named());
		showPluginLines(refusals);
	}
	m_sent.clear();
}

// The plug-in takes a block's messages together: which of them it refused, its lines do not say.
std::string SysExWatch::named() const
{
	const Sent& first = m_sent.front();
	const Sent& last = m_sent.back();
	if (m_sent.size() == 1)
		return "the SysEx message at " + first.where + " of '" + first.file + "'";
	const std::string count = "the " + std::to_string(m_sent.size()) + " SysEx messages at " + first.where;
	if (first.file == last.file)
		return count + (first.where == last.where ? "" : " to " + last.where) + " of '" + first.file + "'";
	return count + " of '" + first.file + "' to " + last.where + " of '" + last.file + "'";
}
