#include "HostOptions.h"

#include "HostError.h"

#include <cmath>
#include <cstdlib>
#include <type_traits>

namespace
{
// The commands, as the bits of the set of commands that take an option.
constexpr unsigned kRender = 1, kInfo = 2, kEditor = 4, kValidate = 8, kEvery = 15;
const std::pair<const char*, unsigned> kCommands[] = {
	{"render", kRender}, {"info", kInfo}, {"editor", kEditor}, {"validate", kValidate}};

struct Option
{
	const char* shortName; // empty when it has none
	const char* longName;
	const char* value; // what it needs after it, for the line that refuses an empty one; null for a switch
	unsigned commands; // the commands that use it: any other refuses it rather than take it and do nothing
	std::string HostOptions::*text = nullptr; // where a value kept as it is written goes
};

// In the order of the help text.
const Option kOptions[] = {
	{"-p", "--plugin", "a bundle path", kEvery, &HostOptions::plugin},
	{"-m", "--midi", "a file name", kRender | kEditor, &HostOptions::midi},
	{"-o", "--output", "a file name", kRender, &HostOptions::output},
	{"-r", "--sample-rate", "a number", kRender | kInfo | kEditor},
	{"-b", "--block-size", "a number", kRender | kInfo | kEditor},
	{"", "--preset", "a number or a name", kRender | kInfo | kEditor, &HostOptions::preset},
	{"", "--param", "ID=VALUE", kRender | kInfo | kEditor},
	{"", "--sysex", "a file name", kRender, &HostOptions::sysex},
	{"", "--midi-out", "a file name", kRender | kEditor, &HostOptions::midiOut},
	{"", "--state-in", "a file name", kRender | kInfo | kEditor, &HostOptions::stateIn},
	{"", "--state-out", "a file name", kRender | kEditor, &HostOptions::stateOut},
	{"-t", "--tail", "a number", kRender},
	{"-q", "--quiet", nullptr, kRender},
	{"", "--verbose", nullptr, kEvery},
	{"", "--log", "a file name", kEvery, &HostOptions::log},
	{"", "--size", "WIDTHxHEIGHT", kEditor},
	{"", "--screenshot", "a file name", kEditor, &HostOptions::screenshot},
	{"", "--script", "a file name", kEditor, &HostOptions::script},
	{"", "--strictness", "a number", kValidate},
	{"", "--seed", "a number", kValidate},
	{"", "--sample-rates", "a list of numbers", kValidate},
	{"", "--block-sizes", "a list of numbers", kValidate},
};

const Option* findOption(const std::string& name)
{
	for (const Option& o : kOptions)
		if (name == o.longName || (*o.shortName && name == o.shortName))
			return &o;
	return nullptr;
}

unsigned commandBit(const std::string& command)
{
	for (const auto& [name, bit] : kCommands)
		if (command == name)
			return bit;
	return 0;
}

// One line a command: the options it takes, by their shortest names.
std::string optionsByCommand()
{
	std::string text;
	for (const auto& [name, bit] : kCommands)
	{
		std::string line = "  " + std::string(name);
		line.resize(12, ' ');
		for (const Option& o : kOptions)
			if (o.commands & bit)
				line += std::string(*o.shortName ? o.shortName : o.longName) + " ";
		line.back() = '\n';
		text += line;
	}
	return text;
}

double number(const std::string& option, const std::string& text)
{
	char* end = nullptr;
	const double v = std::strtod(text.c_str(), &end);
	if (text.empty() || *end || !std::isfinite(v))
		throw usageError("option " + option + " needs a number, not '" + text + "'");
	return v;
}

// Digits only: a rate is a whole number of Hz, and the file's header holds exactly the rate rendered at.
double rateInHz(const std::string& option, const std::string& text)
{
	const double v = number(option, text);
	if (text.find_first_not_of("0123456789") != std::string::npos)
		throw usageError("the sample rate must be a whole number of Hz in decimal digits, not '" + text + "'");
	if (v < 8000 || v > 384000)
		throw usageError("the sample rate must lie between 8000 and 384000 Hz");
	return v;
}

template <typename T>
std::vector<T> numbers(const std::string& option, const std::string& text, double low, double high)
{
	std::vector<T> result;
	size_t start = 0;
	for (;;)
	{
		const size_t comma = text.find(',', start);
		const double v = number(option, text.substr(start, comma - start));
		if (v < low || v > high || (std::is_integral_v<T> && v != std::floor(v)))
			throw usageError("option " + option + " takes numbers from " + std::to_string(int(low)) + " to " +
							 std::to_string(int(high)) + ", not '" + text + "'");
		result.push_back(T(v));
		if (comma == std::string::npos)
			return result;
		start = comma + 1;
	}
}
}

std::string HostOptions::usage()
{
	return "Usage: virel-host <command> [options]\n"
		   "\n"
		   "Loads an Audio Unit instrument bundle and drives it through the Audio Unit interface.\n"
		   "\n"
		   "Commands:\n"
		   "  render                 play a Standard MIDI File (or the built-in demo) into a stereo WAV file\n"
		   "  info                   print the component, its parameters and its factory presets\n"
		   "  editor                 show the instrument's editor in a window while it plays (a MIDI file, or\n"
		   "                         silence) until the window is closed; with --screenshot, draw it to a PNG\n"
		   "  validate               check the plug-in as hosts' validators do; exit status 0 only when all pass\n"
		   "  help                   print this text\n"
		   "\n"
		   "Options:\n"
		   "  -p, --plugin PATH      the .component bundle (default: Virel.component beside this program)\n"
		   "  -m, --midi FILE        Standard MIDI File to play (default: the built-in demo)\n"
		   "  -o, --output FILE      WAV file to write (default: out.wav), 32-bit float stereo; a file, not '-'\n"
		   "  -r, --sample-rate HZ   output sample rate, a whole number (default: 44100)\n"
		   "  -b, --block-size N     frames per render call (default: 512)\n"
		   "      --preset P         factory preset to select, by number or name (in any case)\n"
		   "      --param ID=VALUE   set a parameter (by ID or name, in any case) to a value in its range\n"
		   "                         (normalised: 0..1); a value outside it is brought into it with a warning;\n"
		   "                         repeatable\n"
		   "      --sysex FILE       send the SysEx messages of a .syx file before playing (a message cut\n"
		   "                         short is left out with a warning, and so is said of a file that holds\n"
		   "                         nothing the plug-in takes as its own)\n"
		   "      --midi-out FILE    write the SysEx messages the instrument sends (while it plays, or while\n"
		   "                         the editor is open) to a .syx file\n"
		   "      --state-in FILE    restore the instrument from an .aupreset file before playing\n"
		   "      --state-out FILE   save the instrument to an .aupreset file after playing\n"
		   "  -t, --tail SECONDS     render this long after the song ends: at its last event or at the end of\n"
		   "                         its last track, whichever is later (default: 2)\n"
		   "  -q, --quiet            no progress bar\n"
		   "      --verbose          show the plug-in's log lines on standard error as it writes them\n"
		   "      --log FILE         keep the plug-in's log lines in FILE (a warning tells when it cannot)\n"
		   "      --size WxH         editor: the view size to ask for (default: the instrument's own)\n"
		   "      --screenshot FILE  editor: draw the panel into a PNG file, no display needed\n"
		   "      --script FILE      editor: actions before the screenshot, one a line: click X Y,\n"
		   "                         drag X1 Y1 X2 Y2, key K (a character or Return, Escape, Left, ...,\n"
		   "                         with shift+, cmd+, alt+, ctrl+), wait MS; at the panel's pixels\n"
		   "      --strictness N     validate: 1 (quick) to 10 (every check, more trials; default 5)\n"
		   "      --seed N           validate: the seed of its random choices (default: a new one, printed)\n"
		   "      --sample-rates L   validate: comma-separated rates (default: 44100,48000,96000)\n"
		   "      --block-sizes L    validate: comma-separated block sizes (default: 64,128,256,512,1024,100,333)\n"
		   "  -h, --help             print this text\n"
		   "\n"
		   "Each command takes the options it uses, and refuses any other (editor takes -m only without\n"
		   "--screenshot); an option that takes a value refuses an empty one:\n" +
		   optionsByCommand() +
		   "\n"
		   "Before playing, the state is restored, then the preset selected, then the parameters set, then the\n"
		   "SysEx sent; a program change in the MIDI (the demo makes six) replaces the preset and parameters,\n"
		   "with a warning. Results go to standard output, the host's messages to standard error. The plug-in's\n"
		   "own log lines are shown only with --verbose or kept with --log; when something fails, the last of\n"
		   "them that came before the failure are shown with it, and when it refuses SysEx the host sent, a\n"
		   "warning shows its lines about it.\n"
		   "Outputs are written whole or not at all: into a temporary file beside each, renamed over it once\n"
		   "complete. An output that is the same file as an input or as another output (by any path, link or\n"
		   "hard link), or that is standard input, output or error or a descriptor the host opened for\n"
		   "itself, is refused before anything is read or written; only --state-out may name the file of\n"
		   "--state-in, which is read whole before playing. A descriptor the caller gave the host (/dev/fd/3\n"
		   "with 3>FILE) is written in place, and left empty when the output fails.\n"
		   "Exit status: 0 on success, 1 on failure, 2 on a usage error.\n";
}

HostOptions HostOptions::parse(const std::vector<std::string>& args)
{
	HostOptions o;
	if (args.empty())
		throw usageError("no command given");
	// Each option given, as it was spelt, for the check against the command once it is known.
	std::vector<std::pair<const Option*, std::string>> given;
	for (size_t i = 0; i < args.size(); ++i)
	{
		const std::string& a = args[i];
		if (a == "-h" || a == "--help" || a == "help")
		{
			o.command = "help";
			return o;
		}
		if (o.command.empty() && !a.empty() && a[0] != '-')
		{
			if (!commandBit(a))
				throw usageError("unknown command '" + a + "'");
			o.command = a;
			continue;
		}
		std::string name = a, value;
		const bool inlineValue = a.rfind("--", 0) == 0 && a.find('=') != std::string::npos;
		if (inlineValue)
		{
			name = a.substr(0, a.find('='));
			value = a.substr(a.find('=') + 1);
		}
		const Option* option = findOption(name);
		if (!option)
			throw usageError("unknown option '" + a + "'");
		given.emplace_back(option, name);
		if (!option->value && inlineValue)
			throw usageError("option " + name + " takes no value");
		if (option->value && !inlineValue)
		{
			if (i + 1 >= args.size())
				throw usageError("option " + name + " needs a value");
			value = args[++i];
		}
		// An empty value is no way to leave an option out: it would name no file, no preset, no number.
		if (option->value && value.empty())
			throw usageError("option " + name + " needs " + option->value);
		const std::string id = option->longName;
		if (option->text)
			o.*option->text = value;
		else if (id == "--quiet")
			o.quiet = true;
		else if (id == "--verbose")
			o.verbose = true;
		else if (id == "--sample-rate")
			o.sampleRate = rateInHz(name, value);
		else if (id == "--block-size")
		{
			const double b = number(name, value);
			if (b < 1 || b > 65536 || b != std::floor(b))
				throw usageError("the block size must be a whole number from 1 to 65536");
			o.blockSize = unsigned(b);
		}
		else if (id == "--param")
		{
			const size_t eq = value.find('=');
			if (eq == std::string::npos || eq == 0)
				throw usageError("option --param needs ID=VALUE, not '" + value + "'");
			const double v = number("--param", value.substr(eq + 1));
			if (std::fabs(v) > 1e30)
				throw usageError("option --param needs a value a float can hold, not '" + value.substr(eq + 1) + "'");
			o.params.emplace_back(value.substr(0, eq), float(v));
		}
		else if (id == "--tail")
		{
			o.tail = number(name, value);
			if (o.tail < 0 || o.tail > 600)
				throw usageError("the tail must lie between 0 and 600 seconds");
		}
		else if (id == "--size")
		{
			const size_t x = value.find('x');
			const double w = x == std::string::npos ? 0 : number(name, value.substr(0, x));
			const double h = x == std::string::npos ? 0 : number(name, value.substr(x + 1));
			if (w < 1 || h < 1 || w > 16384 || h > 16384)
				throw usageError("option --size needs WIDTHxHEIGHT in pixels, not '" + value + "'");
			o.viewWidth = w;
			o.viewHeight = h;
		}
		else if (id == "--strictness")
		{
			const double v = number(name, value);
			if (v < 1 || v > 10 || v != std::floor(v))
				throw usageError("the strictness must be a whole number from 1 to 10");
			o.validate.strictness = int(v);
		}
		else if (id == "--seed")
		{
			const double v = number(name, value);
			if (v < 1 || v > 4294967295.0 || v != std::floor(v))
				throw usageError("the seed must be a whole number from 1 to 4294967295");
			o.validate.seed = unsigned(v);
		}
		else if (id == "--sample-rates")
			o.validate.sampleRates = numbers<double>(name, value, 8000, 384000);
		else if (id == "--block-sizes")
			o.validate.blockSizes = numbers<unsigned>(name, value, 1, 8192);
	}
	if (o.command.empty())
		throw usageError("no command given");
	// An option the command does not use would be taken and do nothing; a person who gave it meant something.
	for (const auto& [option, spelt] : given)
	{
		if (!(option->commands & commandBit(o.command)))
			throw usageError("command " + o.command + " does not take option '" + spelt + "'");
		if (option->longName == std::string("--midi") && !o.screenshot.empty())
			throw usageError("command editor takes option '" + spelt +
							 "' only without --screenshot, which draws the panel without playing");
	}
	if (!o.script.empty() && o.screenshot.empty())
		throw usageError("option --script needs --screenshot");
	// Standard output carries the results; a WAV there would be mixed with them.
	for (const auto& [option, path] : {std::pair{"--output", &o.output}, {"--state-out", &o.stateOut},
			 {"--midi-out", &o.midiOut}, {"--screenshot", &o.screenshot}, {"--log", &o.log}})
		if (*path == "-")
			throw usageError(std::string("option ") + option + " needs a file: standard output ('-') carries the host's results");
	return o;
}
