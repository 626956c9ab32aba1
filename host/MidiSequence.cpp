#include "MidiSequence.h"

#include "HostError.h"

#include <glib.h>
#include <smf.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>

namespace
{
std::vector<uint8_t> readFile(const std::string& path, const std::string& what)
{
	std::ifstream in(path, std::ios::binary);
	if (!in)
		throw HostError("cannot read the " + what + " '" + path + "'");
	return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The MIDI library stops the whole program on some damaged files, so it reads the file in a child process that
// hands back the messages through a pipe; a child that dies means a damaged file.
std::vector<MidiSequence::Event> readInChild(const std::vector<uint8_t>& bytes, bool& ok)
{
	ok = false;
	int fds[2];
	if (pipe(fds) != 0)
		return {};
	std::fflush(nullptr);
	const pid_t pid = fork();
	if (pid < 0)
	{
		close(fds[0]);
		close(fds[1]);
		return {};
	}
	if (pid == 0)
	{
		close(fds[0]);
		const int devNull = open("/dev/null", O_WRONLY);
		if (devNull >= 0)
			dup2(devNull, STDERR_FILENO);
		g_log_set_default_handler([](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
		smf_t* smf = smf_load_from_memory(bytes.data(), int(bytes.size()));
		if (!smf)
			_exit(2);
		std::vector<uint8_t> out;
		smf_rewind(smf);
		while (smf_event_t* e = smf_get_next_event(smf))
		{
			if (smf_event_is_metadata(e) || e->midi_buffer_length < 1)
				continue;
			const uint32_t length = uint32_t(e->midi_buffer_length);
			const auto* t = reinterpret_cast<const uint8_t*>(&e->time_seconds);
			out.insert(out.end(), t, t + sizeof(double));
			out.insert(out.end(), reinterpret_cast<const uint8_t*>(&length), reinterpret_cast<const uint8_t*>(&length) + 4);
			out.insert(out.end(), e->midi_buffer, e->midi_buffer + length);
		}
		for (size_t done = 0; done < out.size();)
		{
			const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
			if (n <= 0)
				_exit(3);
			done += size_t(n);
		}
		_exit(0);
	}
	close(fds[1]);
	std::vector<uint8_t> in;
	uint8_t buffer[65536];
	for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
		in.insert(in.end(), buffer, buffer + n);
	close(fds[0]);
	int status = 0;
	waitpid(pid, &status, 0);
	if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
		return {};
	std::vector<MidiSequence::Event> events;
	for (size_t p = 0; p + 12 <= in.size();)
	{
		MidiSequence::Event e;
		uint32_t length = 0;
		std::memcpy(&e.seconds, &in[p], 8);
		std::memcpy(&length, &in[p + 8], 4);
		p += 12;
		if (length > in.size() - p)
			return {};
		e.bytes.assign(in.begin() + long(p), in.begin() + long(p + length));
		p += length;
		events.push_back(std::move(e));
	}
	ok = true;
	return events;
}
}

MidiSequence MidiSequence::fromFile(const std::string& path)
{
	const std::vector<uint8_t> bytes = readFile(path, "MIDI file");
	// Checked here so that a stray file gets one clear line.
	if (bytes.size() < 14 || !std::equal(bytes.begin(), bytes.begin() + 4, "MThd"))
		throw HostError("'" + path + "' is not a Standard MIDI File");
	bool ok = false;
	std::vector<Event> raw = readInChild(bytes, ok);
	if (!ok)
		throw HostError("'" + path + "' is not a readable Standard MIDI File");
	MidiSequence seq;
	for (Event& e : raw)
	{
		std::vector<uint8_t>& message = e.bytes;
		if (message[0] == 0xF0 && message.back() != 0xF7)
			message.push_back(0xF7);
		if (message[0] < 0x80 || message[0] > 0xF0)
			continue; // running fragments, escapes and system messages mean nothing to an instrument here
		seq.events.push_back(std::move(e));
	}
	std::stable_sort(seq.events.begin(), seq.events.end(), [](const Event& a, const Event& b) { return a.seconds < b.seconds; });
	// Up to the last message: a track's end marker may lie far behind it.
	seq.length = seq.events.empty() ? 0.0 : std::max(0.0, seq.events.back().seconds);
	return seq;
}

MidiSequence MidiSequence::demo()
{
	MidiSequence seq;
	const double beat = 0.5; // 120 beats per minute
	double sectionStart = 0;
	auto at = [&](double beats) { return (sectionStart + beats) * beat; };
	auto note = [&](double start, double length, int key, int velocity) {
		seq.events.push_back({at(start), {0x90, uint8_t(key), uint8_t(velocity)}});
		seq.events.push_back({at(start + length), {0x80, uint8_t(key), 0x40}});
	};
	auto chord = [&](double start, double length, std::initializer_list<int> keys, int velocity) {
		for (int key : keys)
			note(start, length, key, velocity);
	};
	// Each section opens with a sound of its own: bank select (controller 32) picks one of the instrument's
	// banks of 64 sounds, the program change the sound in it. A program change silences what still sounds, so
	// every section leaves half a beat for its last notes to fade.
	auto section = [&](int sound) {
		seq.events.push_back({at(0), {0xB0, 32, uint8_t(sound / 64)}});
		seq.events.push_back({at(0), {0xC0, uint8_t(sound % 64)}});
	};

	// Piano: broken chords over C and A minor.
	section(0);
	note(0, 3.75, 36, 80);
	note(4, 3.5, 33, 80);
	const int arpeggio[16] = {60, 64, 67, 72, 76, 72, 67, 64, 57, 60, 64, 69, 72, 69, 64, 60};
	for (int i = 0; i < 16; ++i)
		note(i * 0.5, i == 15 ? 1.0 : 0.5, arpeggio[i], i % 4 == 0 ? 96 : 72);

	// Strings: F and G swelling.
	sectionStart += 8;
	section(192);
	chord(0, 3.9, {41, 53, 57, 60, 65}, 70);
	chord(4, 3.5, {43, 55, 59, 62, 67}, 78);

	// Electric piano: the progression with a melody on top.
	sectionStart += 8;
	section(84);
	const int progression[4][3] = {{48, 55, 64}, {45, 52, 60}, {41, 48, 57}, {43, 50, 59}};
	for (int bar = 0; bar < 4; ++bar)
		chord(bar * 2.0, bar == 3 ? 1.5 : 1.9, {progression[bar][0], progression[bar][1], progression[bar][2]}, 70);
	const int tune[8] = {72, 74, 76, 79, 77, 76, 74, 71};
	for (int i = 0; i < 8; ++i)
		note(i, i == 7 ? 0.5 : 0.95, tune[i], i % 2 ? 88 : 104);

	// Lead: a sung line.
	sectionStart += 8;
	section(448);
	const int line[7] = {76, 79, 81, 79, 76, 74, 76};
	const double lengths[7] = {1, 1, 1.5, 0.5, 1, 1, 1.5};
	double t = 0;
	for (int i = 0; i < 7; ++i)
	{
		note(t, lengths[i], line[i], 100);
		t += lengths[i];
	}

	// Bass: a walking figure.
	sectionStart += 8;
	section(387);
	const int walk[16] = {36, 36, 48, 36, 43, 43, 45, 47, 41, 41, 53, 41, 43, 43, 47, 50};
	for (int i = 0; i < 16; ++i)
		note(i * 0.5, i == 15 ? 0.5 : 0.45, walk[i], i % 2 ? 85 : 110);

	// Bells: the closing chord, let ring.
	sectionStart += 8;
	section(513);
	chord(0, 7, {60, 64, 67}, 90);
	note(1, 6, 72, 80);
	note(2, 5, 79, 75);
	note(3, 4, 84, 70);

	std::stable_sort(seq.events.begin(), seq.events.end(), [](const Event& a, const Event& b) { return a.seconds < b.seconds; });
	seq.length = seq.events.back().seconds;
	return seq;
}

std::vector<std::vector<uint8_t>> readSysExFile(const std::string& path)
{
	const std::vector<uint8_t> bytes = readFile(path, "SysEx file");
	std::vector<std::vector<uint8_t>> messages;
	for (size_t i = 0; i < bytes.size(); ++i)
	{
		if (bytes[i] != 0xF0)
			continue;
		const auto end = std::find(bytes.begin() + long(i), bytes.end(), 0xF7);
		if (end == bytes.end())
			break;
		messages.emplace_back(bytes.begin() + long(i), end + 1);
		i = size_t(end - bytes.begin());
	}
	if (messages.empty())
		throw HostError("'" + path + "' holds no SysEx message");
	return messages;
}

void writeSysExFile(const std::string& path, const std::vector<std::vector<uint8_t>>& messages)
{
	std::ofstream out(path, std::ios::binary);
	for (const auto& m : messages)
		out.write(reinterpret_cast<const char*>(m.data()), std::streamsize(m.size()));
	if (!out.flush())
		throw HostError("cannot write the SysEx file '" + path + "'");
}
