// The toolkit's two heavy paths on the editor's front panel: reading its description (about
// 2.8 MB with ~120 embedded PNG images, ~290 views) and redrawing the whole frame.
#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/vstgui.h"
#include "vstgui/vstgui_uidescription.h"

#include "editor/resources/EditorResources.h"

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

// Argument: the window width; the 2560 x 1440 template is scaled to fit, as the editor does.
void BM_FullRedraw (benchmark::State& state)
{
	const Description d = frontPanel ();
	Xml::MemoryContentProvider provider (d.data, d.size);
	auto description = owned (new UIDescription (&provider));
	description->parse ();
	struct Editor : VSTGUIEditorInterface
	{
	} editor;
	const double width = static_cast<double> (state.range (0));
	const double zoom = width / 2560.;
	auto* frame = new CFrame (CRect (0, 0, width, std::round (1440. * zoom)), &editor);
	frame->setTransparency (true);
	frame->setBitmapInterpolationQuality (BitmapInterpolationQuality::kHigh);
	frame->addView (description->createView ("Virel", nullptr));
	frame->setTransform (CGraphicsTransform ().scale (zoom, zoom));
	frame->open (&editor);
	auto* window = static_cast<OffscreenPlatformFrame*> (frame->getPlatformFrame ());
	for (auto _ : state)
		window->redrawAll ();
	frame->close ();
}
BENCHMARK (BM_FullRedraw)->Arg (2560)->Arg (1280)->Arg (1920)->Unit (benchmark::kMillisecond);
}
