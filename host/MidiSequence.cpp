#include "MidiSequence.h"

#include "HostError.h"
#include "InputFile.h"
#include "MidiFileReader.h"
#include "OutputFile.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

MidiSequence MidiSequence::fromFile(const std::string& path)
{
	return readStandardMidiFile(readInputFile(path, kMidiFile), path);
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

void warnOfOwnPrograms(const MidiSequence& sequence, const std::string& name, bool presetChosen, bool parametersChosen)
{
	if (!presetChosen && !parametersChosen)
		return;
	const auto change = std::find_if(sequence.events.begin(), sequence.events.end(),
		[](const MidiSequence::Event& e) { return (e.bytes[0] & 0xF0) == 0xC0; });
	if (change != sequence.events.end())
		warn(name + " changes program at " + timeText(change->seconds) + ", replacing what " +
			 (presetChosen && parametersChosen ? "--preset and --param" : presetChosen ? "--preset" : "--param") + " set");
}

std::string timeText(double seconds)
{
	char text[32];
	std::snprintf(text, sizeof text, "%g s", seconds);
	return text;
}

std::vector<SysExMessage> readSysExFile(const std::string& path, std::vector<std::string>& warnings)
{
	const std::vector<uint8_t> bytes = readInputFile(path, kSysExFile);
	std::vector<SysExMessage> messages;
	for (size_t start = 0; start < bytes.size(); ++start)
	{
		if (bytes[start] != 0xF0)
			continue;
		size_t end = start + 1;
		while (end < bytes.size() && bytes[end] != 0xF7 && bytes[end] != 0xF0)
			++end;
		// A message cut short, by the end of the file or by the next one, would reach the instrument damaged.
		if (end == bytes.size() || bytes[end] == 0xF0)
		{
			warnings.push_back("'" + path + "': the SysEx message at byte " + std::to_string(start) + " has no end (F7) before " +
							   (end == bytes.size() ? "the file ends" : "the next message") + "; it was not sent");
			start = end - 1;
			continue;
		}
		messages.push_back({start, {bytes.begin() + long(start), bytes.begin() + long(end) + 1}});
		start = end;
	}
	if (messages.empty())
		throw HostError("'" + path + "' holds no " +
						(warnings.empty() ? "SysEx message" : "whole SysEx message: each lacks its end (F7)"));
	return messages;
}

void writeSysExFile(const std::string& path, const std::vector<std::vector<uint8_t>>& messages)
{
	OutputFile out(path, "SysEx file");
	for (const auto& m : messages)
		out.write(m.data(), m.size());
	out.commit();
}
