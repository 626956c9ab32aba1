// virel-host: what a DAW is to an Audio Unit instrument, on the command line.

#include "BlockRenderer.h"
#include "CallerDescriptors.h"
#include "DistinctFiles.h"
#include "EditorCommand.h"
#include "HostError.h"
#include "HostOptions.h"
#include "HostedUnit.h"
#include "MidiSequence.h"
#include "OutputFile.h"
#include "PluginBundle.h"
#include "PluginLog.h"
#include "Validator.h"

#include <CoreFoundation/CoreFoundation.h>

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <thread>

namespace
{
// Results go to the standard output the host was started with; the plug-in's log lines, which it writes to
// standard output too, go where the log options say.
FILE* g_results = stdout;

const double kMaxSeconds = 2 * 3600;

std::string versionText(UInt32 v)
{
	char s[64];
	std::snprintf(s, sizeof s, "%u.%u.%u (0x%08X)", v >> 16, (v >> 8) & 0xFF, v & 0xFF, v);
	return s;
}

std::string bundlePath(const HostOptions& o)
{
	return o.plugin.empty() ? PluginBundle::defaultPath() : o.plugin;
}

// A saved state is restored before the preset and the single parameters, so that those override it.
void setUp(HostedUnit& unit, const HostOptions& o)
{
	unit.prepare(o.sampleRate, o.blockSize);
	if (!o.stateIn.empty())
		unit.restoreState(o.stateIn);
	if (!o.preset.empty())
		unit.selectPreset(o.preset);
	for (const auto& [id, value] : o.params)
		unit.setParameter(id, value);
}

// What a session leaves behind: the SysEx the instrument sent while it ran, then its state.
void writeOutputs(HostedUnit& unit, const HostOptions& o)
{
	if (!o.midiOut.empty())
		writeSysExFile(o.midiOut, unit.takeMidiOutput());
	if (!o.stateOut.empty())
		unit.saveState(o.stateOut);
}

int info(const HostOptions& o)
{
	PluginBundle bundle(bundlePath(o));
	HostedUnit unit(bundle.component());
	setUp(unit, o);
	const AudioComponentDescription& d = bundle.description();
	std::fprintf(g_results, "Component: %s\n", bundle.name().c_str());
	std::fprintf(g_results, "Codes: %s %s %s\n", fourCharText(d.componentType).c_str(), fourCharText(d.componentSubType).c_str(),
		fourCharText(d.componentManufacturer).c_str());
	std::fprintf(g_results, "Version: %s\n", versionText(bundle.version()).c_str());
	std::fprintf(g_results, "Bundle: %s\n", bundle.path().c_str());
	const auto params = unit.parameters();
	std::fprintf(g_results, "Parameters: %zu\n", params.size());
	for (const auto& p : params)
	{
		const AudioUnitParameterValue now = unit.parameter(p.id);
		std::string text = unit.valueText(p.id, nullptr);
		std::fprintf(g_results, "  %4u  %-28s %g .. %g, default %g, now %g%s%s\n", p.id, p.name.c_str(), p.info.minValue,
			p.info.maxValue, p.info.defaultValue, now, text.empty() ? "" : " = ", text.c_str());
	}
	const auto presets = unit.presets();
	std::fprintf(g_results, "Factory presets: %zu\n", presets.size());
	for (const auto& p : presets)
		std::fprintf(g_results, "  %4d  %s\n", p.number, p.name.c_str());
	return 0;
}

int editor(const HostOptions& o)
{
	PluginBundle bundle(bundlePath(o));
	HostedUnit unit(bundle.component());
	setUp(unit, o);
	const int result = o.screenshot.empty() ? showEditor(unit, o, g_results) : drawEditor(unit, o, g_results);
	writeOutputs(unit, o);
	return result;
}

class ProgressBar
{
public:
	explicit ProgressBar(bool show) : m_show(show && isatty(STDERR_FILENO)) {}
	void update(double fraction)
	{
		if (!m_show)
			return;
		const int width = 40, filled = int(fraction * width + 0.5);
		std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(size_t(filled), '#').c_str(),
			std::string(size_t(width - filled), '.').c_str(), int(fraction * 100 + 0.5));
		std::fflush(stderr);
	}
	void finish()
	{
		if (m_show)
			std::fprintf(stderr, "\r%*s\r", 48, "");
	}

private:
	bool m_show;
};

// The length of a long render in whole hours, for messages; a damaged file may ask for any length at all.
std::string hours(double seconds)
{
	char text[64];
	std::snprintf(text, sizeof text, "%.0f", std::floor(seconds / 3600));
	return text;
}

int render(const HostOptions& o)
{
	const MidiSequence sequence = o.midi.empty() ? MidiSequence::demo() : MidiSequence::fromFile(o.midi);
	for (const std::string& warning : sequence.warnings)
		warn(warning);
	const double seconds = sequence.length + o.tail;
	// A damaged file can put an event days away; nobody wants that many gigabytes of silence.
	if (seconds > kMaxSeconds)
		throw HostError("'" + o.midi + "' would play for " + hours(seconds) + " hours; the host renders at most " +
						hours(kMaxSeconds) + " hours");
	std::vector<SysExMessage> sysex;
	if (!o.sysex.empty())
	{
		std::vector<std::string> warnings;
		sysex = readSysExFile(o.sysex, warnings);
		for (const std::string& warning : warnings)
			warn(warning);
	}

	PluginBundle bundle(bundlePath(o));
	HostedUnit unit(bundle.component());
	setUp(unit, o);
	warnOfOwnPrograms(sequence, o.midi.empty() ? "the built-in demo" : "'" + o.midi + "'", !o.preset.empty(), !o.params.empty());
	BlockRenderer player(unit, sequence, o.midi, o.sampleRate);
	for (const SysExMessage& message : sysex)
		player.sendSysEx(message.bytes, "byte " + std::to_string(message.at), o.sysex);

	SF_INFO format{};
	format.samplerate = int(std::lround(o.sampleRate));
	format.channels = 2;
	format.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
	OutputFile file(o.output, "WAV file");
	SNDFILE* wav = sf_open_fd(file.descriptor(), SFM_WRITE, &format, SF_FALSE);
	if (!wav)
		throw HostError("cannot write the WAV file '" + o.output + "': " + sf_strerror(nullptr));
	std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> closer(wav, sf_close);
	// The peak chunk carries the time of writing: without it the same render gives the same bytes.
	sf_command(wav, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);

	// The small allowance keeps 1.1 s at 44100 Hz from becoming 48511 frames through rounding.
	const uint64_t totalFrames = uint64_t(std::ceil(seconds * o.sampleRate - 1e-6));
	std::atomic<uint64_t> done{0};
	std::atomic<bool> finished{false};
	std::exception_ptr failure;
	float peak = 0;

	// The render thread plays the sequence block by block, as a DAW's audio thread does; the main thread keeps
	// the run loop going (listeners, timers) and shows progress.
	pluginLog::beginStep();
	std::thread renderer([&] {
		try
		{
			std::vector<float> left(o.blockSize), right(o.blockSize), interleaved(2 * size_t(o.blockSize));
			for (uint64_t start = 0; start < totalFrames; start += o.blockSize)
			{
				const UInt32 frames = UInt32(std::min<uint64_t>(o.blockSize, totalFrames - start));
				player.render(left.data(), right.data(), frames);
				for (UInt32 i = 0; i < frames; ++i)
				{
					interleaved[2 * i] = left[i];
					interleaved[2 * i + 1] = right[i];
					peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
				}
				if (sf_writef_float(wav, interleaved.data(), frames) != sf_count_t(frames))
					file.fail(errno ? errno : EIO);
				done = start + frames;
			}
		}
		catch (...)
		{
			failure = std::current_exception();
		}
		finished = true;
		CFRunLoopStop(CFRunLoopGetMain());
	});

	ProgressBar progress(!o.quiet && seconds >= 5);
	const auto began = std::chrono::steady_clock::now();
	while (!finished)
	{
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, true);
		progress.update(totalFrames ? double(done) / double(totalFrames) : 1.0);
	}
	renderer.join();
	progress.finish();
	if (failure)
		std::rethrow_exception(failure);
	if (sf_close(closer.release()) != 0)
		file.fail(errno ? errno : EIO);
	file.commit();
	const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

	writeOutputs(unit, o);

	const double duration = double(totalFrames) / o.sampleRate;
	char peakText[32];
	if (peak > 0)
		std::snprintf(peakText, sizeof peakText, "%.1f dBFS", 20 * std::log10(peak));
	else
		std::snprintf(peakText, sizeof peakText, "-inf dBFS");
	std::fprintf(g_results, "Rendered %.2f s (%llu frames at %d Hz) to %s: peak %s, %.1fx real time\n", duration,
		static_cast<unsigned long long>(totalFrames), format.samplerate, o.output.c_str(), peakText,
		wall > 0 ? duration / wall : 0.0);
	return 0;
}

// A failure in one line; for the plug-in's own, its last lines before it, unless they were shown already.
void report(const std::exception& failure)
{
	std::fprintf(stderr, "virel-host: %s\n", failure.what());
	if (auto* plugin = dynamic_cast<const PluginError*>(&failure))
		showPluginLines(plugin->pluginLines());
}

int run(const std::vector<std::string>& args)
{
	try
	{
		const HostOptions o = HostOptions::parse(args);
		if (o.command == "help")
		{
			std::fputs(HostOptions::usage().c_str(), stdout);
			return 0;
		}
		refuseSharedFiles(o);
		g_results = pluginLog::start(o.verbose, o.log);
		int result = 0;
		if (o.command == "info")
			result = info(o);
		else if (o.command == "editor")
			result = editor(o);
		else if (o.command == "validate")
		{
			PluginBundle bundle(bundlePath(o));
			result = validate(bundle, o.validate, g_results) == 0 ? 0 : 1;
		}
		else
			result = render(o);
		std::fflush(g_results);
		return result;
	}
	catch (const HostError& e)
	{
		report(e);
		return e.exitCode();
	}
	catch (const std::exception& e)
	{
		report(e);
		return 1;
	}
}

// A descriptor of 0 to 2 closed by whoever started the host would go to the first file it opens (the plug-in's log, an
// output), and that file would then be taken for standard input, output or error. /dev/null holds each place.
void holdStandardDescriptors()
{
	for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
		if (fcntl(fd, F_GETFD) < 0 && errno == EBADF)
			open("/dev/null", O_RDWR); // the lowest free number: this one
}
}

int main(int argc, char** argv)
{
	callerDescriptors::note();
	holdStandardDescriptors();
	// Past a file-size limit a write fails (and the old file stays) rather than the host being ended half-way.
	std::signal(SIGXFSZ, SIG_IGN);
	const int result = run(std::vector<std::string>(argv + 1, argv + argc));
	pluginLog::finish();
	return result;
}
