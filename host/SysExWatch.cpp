#include "SysExWatch.h"

#include "HostError.h"
#include "PluginLog.h"

#include <algorithm>
#include <cstdint>
#include <regex>

namespace
{
constexpr size_t kMostLines = 5;

// What one of the plug-in's own lines ("function@line: text", not the continuation of a longer entry) says of SysEx.
// Its other lines (a program switch, parameter notices) come with any block. A whole message meant for another device
// (another maker, machine or channel: a GM or GS reset in a song, say) is passed over as the instrument should, with
// one line of its own, and is no damage to tell of.
enum class Said
{
	nothing,
	refusal, // in the words an instrument uses for what it refused or found wrong
	otherDevice,
};

Said whatItSays(const std::string& line)
{
	static const std::regex refusal(
		R"(^[\w~]+@\d+: .*\b(invalid|refus|expected|wrong|unknown|error|skipping|not a|outside|cannot|failed|dropped))",
		std::regex::icase);
	static const std::regex otherDevice(
		R"(^[\w~]+@\d+: (Sysex from wrong manufacturer|Skipping read, expected channel|Expected group|Expected machine ID))");
	if (std::regex_search(line, otherDevice))
		return Said::otherDevice;
	return std::regex_search(line, refusal) ? Said::refusal : Said::nothing;
}
}

void SysExWatch::sent(const std::string& where, const std::string& file, bool forThisInstrument)
{
	m_sent.push_back({where, file, forThisInstrument});
}

void SysExWatch::rendered()
{
	if (m_sent.empty())
		return;
	std::vector<std::string> refusals;
	size_t otherDevices = 0;
	for (const std::string& line : pluginLog::stepLines(SIZE_MAX))
	{
		const Said said = whatItSays(line);
		if (said == Said::refusal && refusals.size() < kMostLines)
			refusals.push_back(line);
		otherDevices += said == Said::otherDevice;
	}
	if (!refusals.empty())
	{
		warn("the plug-in refused all or part of " + named());
		showPluginLines(refusals);
	}
	// Which message a line is about, the lines do not say; only when every message of the block was passed over is
	// it sure that the .syx file named for this instrument held nothing for it.
	if (otherDevices >= m_sent.size())
		warnOfFileForOtherDevices();
	m_sent.clear();
}

void SysExWatch::warnOfFileForOtherDevices() const
{
	const auto isNamed = [](const Sent& s) { return s.forThisInstrument; };
	const auto named = std::find_if(m_sent.begin(), m_sent.end(), isNamed);
	if (named == m_sent.end())
		return;
	const auto count = std::count_if(m_sent.begin(), m_sent.end(), isNamed);
	warn("'" + named->file + "' holds nothing for this instrument: the plug-in passed over " +
		 (count == 1 ? "its SysEx message" : "all " + std::to_string(count) + " of its SysEx messages") +
		 " as meant for another device");
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
