#include "MidiFileReader.h"

#include "HostError.h"

#include <algorithm>
#include <cstring>

namespace
{
// 120 beats per minute until the file says otherwise, in microseconds per quarter note.
constexpr uint32_t kDefaultTempo = 500000;

// Big-endian numbers and variable-length quantities from one span of the file, never read past its end.
class Reader
{
public:
	Reader(const uint8_t* file, const uint8_t* begin, const uint8_t* end) : m_file(file), m_pos(begin), m_end(end) {}

	bool atEnd() const { return m_pos >= m_end; }
	size_t remaining() const { return size_t(m_end - m_pos); }
	size_t offset() const { return size_t(m_pos - m_file); }

	bool byte(uint8_t& value)
	{
		if (atEnd())
			return false;
		value = *m_pos++;
		return true;
	}
	bool number(int bytes, uint32_t& value)
	{
		if (remaining() < size_t(bytes))
			return false;
		value = 0;
		for (int i = 0; i < bytes; ++i)
			value = value << 8 | *m_pos++;
		return true;
	}
	// At most four bytes, as the format allows; tooLong tells a longer one from the end of the span.
	bool quantity(uint32_t& value, bool& tooLong)
	{
		value = 0;
		for (int i = 0; i < 4; ++i)
		{
			uint8_t b;
			if (!byte(b))
				return false;
			value = value << 7 | (b & 0x7F);
			if (!(b & 0x80))
				return true;
		}
		tooLong = true;
		return false;
	}
	bool take(size_t count, const uint8_t*& start)
	{
		if (remaining() < count)
			return false;
		start = m_pos;
		m_pos += count;
		return true;
	}

private:
	const uint8_t* m_file;
	const uint8_t* m_pos;
	const uint8_t* m_end;
};

// A message at a tick, or a tempo change (bytes empty).
struct Timed
{
	uint64_t tick;
	std::vector<uint8_t> bytes;
	uint32_t tempo = 0;
};

struct Track
{
	std::vector<Timed> events; // ticks never decrease
	uint64_t endTick = 0;
	bool cut = false; // the data ended inside an event
	bool zeroTempo = false; // a tempo of 0 was passed over
};

size_t dataBytes(uint8_t status)
{
	const uint8_t kind = status & 0xF0;
	return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// The messages inside an escape's raw bytes, which may hold anything a MIDI cable carries.
void appendEscapedMessages(const uint8_t* bytes, size_t count, uint64_t tick, std::vector<Timed>& out)
{
	std::vector<uint8_t> message;
	uint8_t running = 0;
	bool inSysEx = false;
	for (size_t i = 0; i < count; ++i)
	{
		const uint8_t b = bytes[i];
		if (b >= 0xF8)
			continue; // real-time bytes may fall anywhere and mean nothing to an instrument here
		if (inSysEx)
		{
			if (b < 0x80)
			{
				message.push_back(b);
				continue;
			}
			if (b == 0xF7)
			{
				message.push_back(b);
				out.push_back({tick, message});
			}
			// Any other status ends the message unfinished and starts its own.
			inSysEx = false;
			message.clear();
			if (b == 0xF7)
				continue;
		}
		if (b == 0xF0)
		{
			inSysEx = true;
			running = 0;
			message.assign(1, b);
		}
		else if (b >= 0xF0)
		{
			running = 0; // system common: its data bytes are passed over with the status gone
			message.clear();
		}
		else if (b >= 0x80)
		{
			running = b;
			message.assign(1, b);
		}
		else if (running)
		{
			if (message.empty())
				message.assign(1, running);
			message.push_back(b);
			if (message.size() == dataBytes(running) + 1)
			{
				out.push_back({tick, message});
				message.clear();
			}
		}
	}
}

class TrackParser
{
public:
	TrackParser(const std::string& name, size_t number) : m_name(name), m_number(number) {}

	Track parse(Reader& in)
	{
		Track track;
		uint64_t tick = 0;
		uint8_t running = 0;
		while (!in.atEnd())
		{
			uint32_t delta;
			if (!quantity(in, delta))
				return cut(track, tick);
			tick += delta;
			const size_t at = in.offset();
			uint8_t b;
			if (!in.byte(b))
				return cut(track, tick);
			if (b == 0xFF)
			{
				uint8_t type;
				uint32_t length;
				const uint8_t* data;
				if (!in.byte(type) || !quantity(in, length) || !in.take(length, data))
					return cut(track, tick);
				if (type == 0x2F)
					break; // anything after the end of the track is not part of it
				if (type == 0x51 && length == 3)
				{
					const uint32_t tempo = uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2];
					// No time at all per quarter note would put everything after it at one instant.
					if (tempo == 0)
						track.zeroTempo = true;
					else
						track.events.push_back({tick, {}, tempo});
				}
				continue;
			}
			if (b == 0xF0 || b == 0xF7)
			{
				uint32_t length;
				const uint8_t* data;
				if (!quantity(in, length) || !in.take(length, data))
					return cut(track, tick);
				if (b == 0xF0)
				{
					closeSysEx(track, tick);
					m_sysEx.assign(1, 0xF0);
				}
				else if (m_sysEx.empty())
				{
					appendEscapedMessages(data, length, tick, track.events);
					continue;
				}
				// A SysEx message may come in packets, each after the first as F7 and its bytes.
				m_sysEx.insert(m_sysEx.end(), data, data + length);
				if (m_sysEx.size() > 1 && m_sysEx.back() == 0xF7)
				{
					track.events.push_back({tick, m_sysEx});
					m_sysEx.clear();
				}
				continue;
			}
			closeSysEx(track, tick);
			if (b >= 0xF1)
			{
				// System messages have no place in a file; they are passed over with their data bytes.
				const size_t skip = b == 0xF2 ? 2 : b == 0xF1 || b == 0xF3 ? 1 : 0;
				const uint8_t* ignored;
				if (!in.take(skip, ignored))
					return cut(track, tick);
				continue;
			}
			std::vector<uint8_t> message;
			if (b < 0x80)
			{
				if (!running)
					throw error("has a data byte without a status before it at byte " + std::to_string(at));
				message = {running, b};
			}
			else
			{
				running = b;
				message = {b};
			}
			while (message.size() < dataBytes(running) + 1)
			{
				uint8_t data;
				if (!in.byte(data))
					return cut(track, tick);
				if (data >= 0x80)
					throw error("has a status byte where the data of the message at byte " + std::to_string(at) + " belong");
				message.push_back(data);
			}
			track.events.push_back({tick, std::move(message)});
		}
		closeSysEx(track, tick);
		track.endTick = tick;
		return track;
	}

private:
	HostError error(const std::string& what) const
	{
		return HostError("'" + m_name + "': track " + std::to_string(m_number) + " " + what);
	}
	bool quantity(Reader& in, uint32_t& value) const
	{
		bool tooLong = false;
		if (in.quantity(value, tooLong))
			return true;
		if (tooLong)
			throw error("has a time or length of more than four bytes at byte " + std::to_string(in.offset() - 4));
		return false;
	}
	// A SysEx message left open by another event or by the end of the track is sent as far as it goes.
	void closeSysEx(Track& track, uint64_t tick)
	{
		if (m_sysEx.empty())
			return;
		m_sysEx.push_back(0xF7);
		track.events.push_back({tick, m_sysEx});
		m_sysEx.clear();
	}
	Track& cut(Track& track, uint64_t tick)
	{
		m_sysEx.clear();
		track.endTick = tick;
		track.cut = true;
		return track;
	}

	const std::string& m_name;
	size_t m_number;
	std::vector<uint8_t> m_sysEx;
};

// Ticks to seconds: a fixed length per tick for SMPTE timing, else the tempo map of the given tracks.
class Clock
{
public:
	Clock(uint16_t division, double smpteSecondsPerTick) : m_division(division), m_smpte(smpteSecondsPerTick) {}

	// The tracks' messages merged in time order (file order within a tick), placed from start on; returns
	// the time their last track ends.
	double place(const std::vector<const Track*>& tracks, double start, std::vector<MidiSequence::Event>& out) const
	{
		std::vector<const Timed*> merged;
		uint64_t endTick = 0;
		for (const Track* t : tracks)
		{
			for (const Timed& e : t->events)
				merged.push_back(&e);
			endTick = std::max(endTick, t->endTick);
		}
		std::stable_sort(merged.begin(), merged.end(), [](const Timed* a, const Timed* b) { return a->tick < b->tick; });
		double seconds = start, perTick = secondsPerTick(kDefaultTempo);
		uint64_t tick = 0;
		for (const Timed* e : merged)
		{
			seconds += double(e->tick - tick) * perTick;
			tick = e->tick;
			if (e->bytes.empty())
				perTick = secondsPerTick(e->tempo);
			else
				out.push_back({seconds, e->bytes});
		}
		return seconds + double(std::max(endTick, tick) - tick) * perTick;
	}

private:
	double secondsPerTick(uint32_t tempo) const { return m_smpte > 0 ? m_smpte : tempo * 1e-6 / m_division; }

	uint16_t m_division;
	double m_smpte;
};
}

MidiSequence readStandardMidiFile(const std::vector<uint8_t>& bytes, const std::string& name)
{
	auto fail = [&](const std::string& why) { return HostError("'" + name + "' " + why); };
	const uint8_t* data = bytes.data();
	if (bytes.size() >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "RMID", 4) == 0)
		throw fail("is a RIFF MIDI file (RMID), not a Standard MIDI File");
	if (bytes.size() < 4 || std::memcmp(data, "MThd", 4) != 0)
		throw fail("is not a Standard MIDI File: it does not begin with \"MThd\"");

	Reader file(data, data + 4, data + bytes.size());
	uint32_t headerLength = 0, format = 0, declaredTracks = 0, division = 0;
	const uint8_t* header;
	if (!file.number(4, headerLength) || headerLength < 6 || !file.take(headerLength, header))
		throw fail("has a header too short to give its format, track count and timing");
	Reader fields(data, header, header + headerLength);
	fields.number(2, format);
	fields.number(2, declaredTracks);
	fields.number(2, division);
	if (format > 2)
		throw fail("declares format " + std::to_string(format) + "; Standard MIDI Files have formats 0, 1 and 2");
	double smpteSecondsPerTick = 0;
	if (division & 0x8000)
	{
		const int frames = -int(int8_t(division >> 8));
		const int ticksPerFrame = int(division & 0xFF);
		if (frames != 24 && frames != 25 && frames != 29 && frames != 30)
			throw fail("declares SMPTE timing at " + std::to_string(frames) +
					   " frames per second; only 24, 25, 29.97 and 30 exist");
		if (ticksPerFrame == 0)
			throw fail("declares SMPTE timing with 0 ticks per frame");
		smpteSecondsPerTick = 1.0 / ((frames == 29 ? 29.97 : frames) * ticksPerFrame);
	}
	else if (division == 0)
		throw fail("declares 0 ticks per quarter note");

	MidiSequence sequence;
	std::vector<Track> tracks;
	// Chunks of other kinds are passed over by their length; bytes too few for a chunk header end the file.
	while (file.remaining() >= 8)
	{
		const uint8_t* id;
		uint32_t length = 0;
		file.take(4, id);
		file.number(4, length);
		// A chunk that claims more than the file holds is read as far as the file goes.
		const size_t span = std::min<size_t>(length, file.remaining());
		const uint8_t* chunk;
		file.take(span, chunk);
		if (std::memcmp(id, "MTrk", 4) != 0)
			continue;
		Reader in(data, chunk, chunk + span);
		tracks.push_back(TrackParser(name, tracks.size() + 1).parse(in));
		if (tracks.back().cut)
			sequence.warnings.push_back("'" + name + "': track " + std::to_string(tracks.size()) +
										" is cut off; playing what comes before the cut");
		if (tracks.back().zeroTempo)
			sequence.warnings.push_back("'" + name + "': track " + std::to_string(tracks.size()) +
										" sets a tempo of 0 microseconds per quarter note; the tempo before it is kept");
	}
	auto count = [](size_t n) { return std::to_string(n) + (n == 1 ? " track" : " tracks"); };
	if (tracks.empty() && declaredTracks > 0)
		throw fail("declares " + count(declaredTracks) + " but holds no track chunk (\"MTrk\")");
	if (tracks.size() != declaredTracks)
		sequence.warnings.push_back("'" + name + "' declares " + count(declaredTracks) + " but holds " +
									std::to_string(tracks.size()) + "; playing those it holds");

	const Clock clock(uint16_t(division), smpteSecondsPerTick);
	// A song lasts until its last track ends, which may be long after its last message: a held chord's release, a
	// closing rest the composer wrote.
	if (format == 2)
	{
		// Independent patterns, one after another, each with its own tempo.
		for (const Track& t : tracks)
			sequence.length = clock.place({&t}, sequence.length, sequence.events);
	}
	else
	{
		std::vector<const Track*> all;
		for (const Track& t : tracks)
			all.push_back(&t);
		sequence.length = clock.place(all, 0, sequence.events);
	}
	return sequence;
}
