// The toolkit's two heavy paths on the editor's front panel: reading its description (about
// 2.8 MB with ~120 embedded PNG images, ~290 views) and redrawing the whole frame.
#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/vstgui.h"
#include "vstgui/vstgui_uidescription.h"

#include "editor/resources/EditorResources.h"

#include <CoreFoundation/CFStandIn.h>
#include <CoreFoundation/CoreFoundation.h>

#include <benchmark/benchmark.h>

#include <cmath>

using namespace VSTGUI;

namespace
{
struct Description
{
	const void* data;
	uint32_t size;
};

// The editor's own front panel: the description the program embeds.
Description frontPanel ()
{
	return {zenteditor::getData_uiXml (), static_cast<uint32_t> (zenteditor::getDataSize_uiXml ())};
}

size_t countViews (CView* view)
{
	size_t n = 1;
	if (auto* container = view->asViewContainer ())
		for (uint32_t i = 0; i < container->getNbViews (); ++i)
			n += countViews (container->getView (i));
	return n;
}

void BM_ParseDescriptionAndCreateViews (benchmark::State& state)
{
	const Description d = frontPanel ();
	size_t views = 0;
	for (auto _ : state)
	{
		Xml::MemoryContentProvider provider (d.data, d.size);
		auto description = owned (new UIDescription (&provider));
		description->parse ();
		CView* view = description->createView ("Virel", nullptr);
		views = countViews (view) - 1;
		view->forget ();
	}
	state.counters["bytes"] = static_cast<double> (d.size);
	state.counters["views"] = static_cast<double> (views);
}
BENCHMARK (BM_ParseDescriptionAndCreateViews)->Unit (benchmark::kMillisecond);

// The front panel opened in an offscreen frame of the given width, the 2560 x 1440 template
// scaled to fit as the editor does.
struct OpenPanel
{
	explicit OpenPanel (double width) : provider (frontPanel ().data, frontPanel ().size)
	{
		description = owned (new UIDescription (&provider));
		description->parse ();
		const double zoom = width / 2560.;
		frame = new CFrame (CRect (0, 0, 2560, 1440), &editor);
		frame->setTransparency (true);
		frame->setBitmapInterpolationQuality (BitmapInterpolationQuality::kHigh);
		frame->addView (description->createView ("Virel", nullptr));
		frame->open (&editor);
		frame->setZoom (zoom);
		window = static_cast<OffscreenPlatformFrame*> (frame->getPlatformFrame ());
		window->redraw ();
	}
	~OpenPanel () { frame->close (); }

	// Lets the frame's settling timer after a zoom change run, as the host's main loop would,
	// in simulated time.
	void settle () { CFRunLoopRunInMode (kCFRunLoopDefaultMode, 0.2, false); }

	cf::ManualClock clock;
	struct Editor : VSTGUIEditorInterface
	{
	} editor;
	Xml::MemoryContentProvider provider;
	SharedPointer<UIDescription> description;
	CFrame* frame;
	OffscreenPlatformFrame* window;
};

// Argument: the window width. The whole window again at the zoom it already has.
void BM_FullRedraw (benchmark::State& state)
{
	OpenPanel panel (static_cast<double> (state.range (0)));
	for (auto _ : state)
		panel.window->redrawAll ();
}
BENCHMARK (BM_FullRedraw)->Arg (2560)->Arg (1280)->Arg (1920)->Unit (benchmark::kMillisecond);

// The whole window at a zoom it has not drawn at before, at the frame's full quality: what a
// person sees once a size change has settled.
void BM_RedrawAtANewZoom (benchmark::State& state)
{
	OpenPanel panel (static_cast<double> (state.range (0)));
	int step = 0;
	for (auto _ : state)
	{
		const double width = static_cast<double> (state.range (0) - 64 + (step++ % 64));
		panel.frame->setZoom (width / 2560.);
		panel.settle ();
		panel.window->redraw ();
	}
}
BENCHMARK (BM_RedrawAtANewZoom)->Arg (1024)->Arg (1920)->Arg (2560)->Unit (benchmark::kMillisecond);

// A resize-handle drag around 1920 x 1080: every pointer move gives a new zoom a pixel apart, and
// the window is redrawn before the next. Reports the frames per second a person would see.
void BM_ResizeDrag (benchmark::State& state)
{
	OpenPanel panel (1920);
	int step = 0;
	for (auto _ : state)
	{
		const double width = 1920 + (step++ % 64) - 32;
		panel.frame->setZoom (width / 2560.);
		panel.window->redraw ();
	}
	state.counters["frames/s"] = benchmark::Counter (static_cast<double> (state.iterations ()), benchmark::Counter::kIsRate);
}
BENCHMARK (BM_ResizeDrag)->Unit (benchmark::kMillisecond);
}
