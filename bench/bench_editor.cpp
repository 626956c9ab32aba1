// The front-panel window: opening it (parsing the embedded description, building and binding its 288 views)
// with the first full frame drawn, what a parameter change costs to show, and what a name edit costs.
#include "ZentEditor.h"
#include "QuietPluginListener.h"
#include "synth/Plugin.h"
#include "vstgui/lib/platform/offscreenframe.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace VSTGUI;

namespace
{
// The owner's part: edits go straight to the facade.
class DirectListener : public ZentEditorListener
{
public:
	explicit DirectListener(zentlib::Plugin& plugin) : m_plugin(plugin) {}
	virtual ~DirectListener() = default;
	void changeParameter(zentlib::EParam p, float v) override { m_plugin.setParameter(p, v); }
	void onSizeChanged() override {}

private:
	zentlib::Plugin& m_plugin;
};

struct Instrument
{
	Instrument() { plugin.setSampleRate(44100); }
	QuietPluginListener host;
	zentlib::Plugin plugin{&host};
	DirectListener listener{plugin};
};

std::unique_ptr<ZentEditor> open(Instrument& instrument)
{
	return std::make_unique<ZentEditor>(instrument.plugin, &instrument, nullptr, &instrument.listener,
	                                    ZentEditor::getDefaultRect(), PlatformType::kDefaultNative, nullptr);
}

OffscreenPlatformFrame& window(ZentEditor& editor)
{
	return *static_cast<OffscreenPlatformFrame*>(editor.getFrame()->getPlatformFrame());
}

// Target: under 150 ms at 1024 x 576.
void BM_OpenAndDrawFirstFrame(benchmark::State& state)
{
	Instrument instrument;
	for (auto _ : state)
	{
		auto editor = open(instrument);
		window(*editor).redraw();
		state.PauseTiming();
		editor.reset();
		state.ResumeTiming();
	}
}
BENCHMARK(BM_OpenAndDrawFirstFrame)->Unit(benchmark::kMillisecond);

// Target: under 16 ms for the whole window after a change.
void BM_FullRedrawAfterParameterChange(benchmark::State& state)
{
	Instrument instrument;
	auto editor = open(instrument);
	instrument.plugin.setEditor(editor.get());
	window(*editor).redraw();
	int step = 0;
	for (auto _ : state)
	{
		instrument.plugin.setParameter(zentlib::Param_SourceMix12, static_cast<float>(++step % 100) / 100.f);
		window(*editor).redrawAll();
	}
	instrument.plugin.setEditor(nullptr);
}
BENCHMARK(BM_FullRedrawAfterParameterChange)->Unit(benchmark::kMillisecond);

// What a change usually costs: only the views it touched are drawn again.
void BM_RedrawWhatAKnobChangeTouched(benchmark::State& state)
{
	Instrument instrument;
	auto editor = open(instrument);
	instrument.plugin.setEditor(editor.get());
	editor->setActiveSource(0);
	window(*editor).redraw();
	int step = 0;
	for (auto _ : state)
	{
		instrument.plugin.setParameter(zentlib::Param_SourceS1EnvLevel, static_cast<float>(++step % 100) / 100.f);
		editor->getFrame()->idle();
		window(*editor).redraw();
	}
	instrument.plugin.setEditor(nullptr);
}
BENCHMARK(BM_RedrawWhatAKnobChangeTouched)->Unit(benchmark::kMillisecond);

// The name field committed with a text of so many characters, from a typed name to a long paste: the name
// stored and its ten places sent. Target: a paste of any length costs about what ten characters do.
void BM_CommitNameField(benchmark::State& state)
{
	Instrument instrument;
	auto editor = open(instrument);
	instrument.plugin.setEditor(editor.get());
	ZentEditor::ViewsByName byName;
	ZentEditor::getViewsByCustomViewName(byName, editor->getFrame());
	auto* field = dynamic_cast<CTextEdit*>(byName["editSingleName"].front());
	std::string text;
	while (text.size() < static_cast<size_t>(state.range(0)))
		text += "Grand Pno ";
	text.resize(static_cast<size_t>(state.range(0)));
	const UTF8String pasted(std::move(text));
	for (auto _ : state)
	{
		state.PauseTiming();
		field->setText(pasted);
		state.ResumeTiming();
		editor->valueChanged(field);
	}
	instrument.plugin.setEditor(nullptr);
}
BENCHMARK(BM_CommitNameField)->Arg(10)->Arg(8'000'000)->Unit(benchmark::kMicrosecond);
}
