#pragma once

#include <string>
#include <utility>
#include <vector>

struct ValidateOptions
{
	int strictness = 5; // 1..10: which checks run, and how many random trials each makes
	unsigned seed = 0; // 0: a seed of its own, printed so a run can be repeated
	std::vector<double> sampleRates = {44100, 48000, 96000};
	std::vector<unsigned> blockSizes = {64, 128, 256, 512, 1024, 100, 333};
};

// The command line: a subcommand and its options, in the conventions of command-line plug-in hosts.
struct HostOptions
{
	std::string command; // "render", "info", "editor", "validate" or "help"
	std::string plugin; // bundle path; empty: the Virel.component beside the host
	std::string midi; // Standard MIDI File; empty: the built-in demo
	std::string output = "out.wav";
	double sampleRate = 44100;
	unsigned blockSize = 512;
	std::string preset; // number or name
	std::vector<std::pair<std::string, float>> params; // ID or name, normalised value
	std::string sysex;
	std::string midiOut;
	std::string stateIn;
	std::string stateOut;
	double tail = 2.0;
	bool quiet = false;
	bool verbose = false; // the plug-in's log lines on standard error as it writes them
	std::string log; // a file that keeps the plug-in's log lines
	// editor: the view's preferred size (0 x 0: the instrument's own), the picture to draw instead of showing a
	// window, and the actions to take first.
	double viewWidth = 0;
	double viewHeight = 0;
	std::string screenshot;
	std::string script;
	ValidateOptions validate;

	// Throws HostError with exit code 2 on a usage error.
	static HostOptions parse(const std::vector<std::string>& args);
	static std::string usage();
};
