#pragma once

#include <string>
#include <vector>

// What the plug-in says of the SysEx the host hands it. An instrument takes SysEx in the next block it renders and
// answers damage only in its log, which is out of sight by default; when its lines of that block tell of a refusal,
// a warning names the messages it took, followed by those lines; and when it passed over every message of a .syx file
// as meant for another device, a warning names the file. Lines shown as they were written (--verbose) are
// not read back, and tell for themselves.
class SysExWatch
{
public:
	// A message sent for the next block: at `where` ("byte 4", "1.5 s") of `file`, which a person named for this
	// instrument (a .syx file to send it, not a song that may address other devices as well).
	void sent(const std::string& where, const std::string& file, bool forThisInstrument);
	// After the block: warns when the plug-in refused something, then forgets the messages.
	void rendered();

private:
	struct Sent
	{
		std::string where, file;
		bool forThisInstrument;
	};
	std::string named() const;
	void warnOfFileForOtherDevices() const;
	std::vector<Sent> m_sent;
};
