#include "HostOptions.h"

#include "HostError.h"

#include <cmath>
#include <cstdlib>
#include <type_traits>

namespace
{
double number(const std::string& option, const std::string& text)
{
	char* end = nullptr;
	const double v = std::strtod(text.c_str(), &end);
	if (text.empty() || *end || !std::isfinite(v))
		throw usageError("option " + option + " needs a number, not '" + text + "'");
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
		   "  -r, --sample-rate HZ   output sample rate (default: 44100)\n"
		   "  -b, --block-size N     frames per render call (default: 512)\n"
		   "      --preset P         factory preset to select, by number or name\n"
		   "      --param ID=VALUE   set a parameter (by ID or name) to a value in its range (normalised: 0..1);\n"
		   "                         a value outside it is brought into it with a warning; repeatable\n"
		   "      --sysex FILE       send the SysEx messages of a .syx file before playing (a message cut\n"
		   "                         short is left out with a warning)\n"
		   "      --midi-out FILE    write the SysEx messages the instrument sends (while it plays, or while\n"
		   "                         the editor is open) to a .syx file\n"
		   "      --state-in FILE    restore the instrument from an .aupreset file before playing\n"
		   "      --state-out FILE   save the instrument to an .aupreset file after playing\n"
		   "  -t, --tail SECONDS     render this long after the last event (default: 2)\n"
		   "  -q, --quiet            no progress bar\n"
		   "      --verbose          show the plug-in's log lines on standard error as it writes them\n"
		   "      --log FILE         keep the plug-in's log lines in FILE\n"
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
		   "Before playing, the state is restored, then the preset selected, then the parameters set, then the\n"
		   "SysEx sent; a program change in the MIDI (the demo makes six) replaces the preset and parameters,\n"
		   "with a warning. Results go to standard output, the host's messages to standard error. The plug-in's\n"
		   "own log lines are shown only with --verbose or kept with --log; when something fails, the last of\n"
		   "them that came before the failure are shown with it, and when it refuses SysEx the host sent, a\n"
		   "warning shows its lines about it.\n"
		   "Outputs are written whole or not at all: into a temporary file beside each, renamed over it once\n"
		   "complete. An output that is the same file as an input or as another output (by any path, link or\n"
		   "hard link), or that is standard output, is refused before anything is read or written; only\n"
		   "--state-out may name the file of --state-in, which is read whole before playing.\n"
		   "Exit status: 0 on success, 1 on failure, 2 on a usage error.\n";
}

HostOptions HostOptions::parse(const std::vector<std::string>& args)
{
	HostOptions o;
	size_t i = 0;
	if (args.empty())
		throw usageError("no command given");
	for (; i < args.size(); ++i)
	{
		const std::string& a = args[i];
		if (a == "-h" || a == "--help" || a == "help")
		{
			o.command = "help";
			return o;
		}
		if (o.command.empty() && !a.empty() && a[0] != '-')
		{
			if (a != "render" && a != "info" && a != "editor" && a != "validate")
				throw usageError("unknown command '" + a + "'");
			o.command = a;
			continue;
		}
		std::string name = a, value;
		bool inlineValue = false;
		if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos)
		{
			name = a.substr(0, a.find('='));
			value = a.substr(a.find('=') + 1);
			inlineValue = true;
		}
		auto needValue = [&]() -> const std::string& {
			if (inlineValue)
				return value;
			if (i + 1 >= args.size())
				throw usageError("option " + name + " needs a value");
			value = args[++i];
			return value;
		};
		if (name == "-q" || name == "--quiet")
			o.quiet = true;
		else if (name == "--verbose")
			o.verbose = true;
		else if (name == "--log")
		{
			o.log = needValue();
			if (o.log.empty())
				throw usageError("option --log needs a file name");
		}
		else if (name == "-p" || name == "--plugin")
			o.plugin = needValue();
		else if (name == "-m" || name == "--midi")
			o.midi = needValue();
		else if (name == "-o" || name == "--output")
			o.output = needValue();
		else if (name == "-r" || name == "--sample-rate")
		{
			o.sampleRate = number(name, needValue());
			if (o.sampleRate < 8000 || o.sampleRate > 384000)
				throw usageError("the sample rate must lie between 8000 and 384000 Hz");
		}
		else if (name == "-b" || name == "--block-size")
		{
			const double b = number(name, needValue());
			if (b < 1 || b > 65536 || b != std::floor(b))
				throw usageError("the block size must be a whole number from 1 to 65536");
			o.blockSize = unsigned(b);
		}
		else if (name == "--preset")
			o.preset = needValue();
		else if (name == "--param")
		{
			const std::string& v = needValue();
			const size_t eq = v.find('=');
			if (eq == std::string::npos || eq == 0)
				throw usageError("option --param needs ID=VALUE, not '" + v + "'");
			const double value = number("--param", v.substr(eq + 1));
			if (std::fabs(value) > 1e30)
				throw usageError("option --param needs a value a float can hold, not '" + v.substr(eq + 1) + "'");
			o.params.emplace_back(v.substr(0, eq), float(value));
		}
		else if (name == "--sysex")
			o.sysex = needValue();
		else if (name == "--midi-out")
			o.midiOut = needValue();
		else if (name == "--state-in")
			o.stateIn = needValue();
		else if (name == "--state-out")
			o.stateOut = needValue();
		else if (name == "-t" || name == "--tail")
		{
			o.tail = number(name, needValue());
			if (o.tail < 0 || o.tail > 600)
				throw usageError("the tail must lie between 0 and 600 seconds");
		}
		else if (name == "--size")
		{
			const std::string& v = needValue();
			const size_t x = v.find('x');
			const double w = x == std::string::npos ? 0 : number(name, v.substr(0, x));
			const double h = x == std::string::npos ? 0 : number(name, v.substr(x + 1));
			if (w < 1 || h < 1 || w > 16384 || h > 16384)
				throw usageError("option --size needs WIDTHxHEIGHT in pixels, not '" + v + "'");
			o.viewWidth = w;
			o.viewHeight = h;
		}
		else if (name == "--screenshot")
			o.screenshot = needValue();
		else if (name == "--script")
			o.script = needValue();
		else if (name == "--strictness")
		{
			const double v = number(name, needValue());
			if (v < 1 || v > 10 || v != std::floor(v))
				throw usageError("the strictness must be a whole number from 1 to 10");
			o.validate.strictness = int(v);
		}
		else if (name == "--seed")
		{
			const double v = number(name, needValue());
			if (v < 1 || v > 4294967295.0 || v != std::floor(v))
				throw usageError("the seed must be a whole number from 1 to 4294967295");
			o.validate.seed = unsigned(v);
		}
		else if (name == "--sample-rates")
			o.validate.sampleRates = numbers<double>(name, needValue(), 8000, 384000);
		else if (name == "--block-sizes")
			o.validate.blockSizes = numbers<unsigned>(name, needValue(), 1, 8192);
		else
			throw usageError("unknown option '" + a + "'");
	}
	if (o.command.empty())
		throw usageError("no command given");
	if (!o.script.empty() && o.screenshot.empty())
		throw usageError("option --script needs --screenshot");
	// Standard output carries the results; a WAV there would be mixed with them.
	for (const auto& [option, path] : {std::pair{"--output", &o.output}, {"--state-out", &o.stateOut},
			 {"--midi-out", &o.midiOut}, {"--screenshot", &o.screenshot}, {"--log", &o.log}})
		if (*path == "-")
			throw usageError(std::string("option ") + option + " needs a file: standard output ('-') carries the host's results");
	return o;
}
