#include "LoadedPanel.h"

#include "editor/resources/EditorResources.h"

using namespace VSTGUI;

namespace
{
void collect (CView* view, std::vector<std::pair<std::string, CView*>>& out)
{
	auto* container = view->asViewContainer ();
	if (!container)
		return;
	for (uint32_t i = 0; i < container->getNbViews (); ++i)
	{
		CView* child = container->getView (i);
		out.emplace_back (customViewName (child), child);
		collect (child, out);
	}
}
}

std::string customViewName (CView* view)
{
	uint32_t size = 0;
	if (!view->getAttributeSize (makeViewAttributeID ("uicv"), size) || size == 0)
		return {};
	std::vector<char> buffer (size);
	view->getAttribute (makeViewAttributeID ("uicv"), size, buffer.data (), size);
	return std::string (buffer.data ());
}

LoadedPanel::LoadedPanel ()
: text (reinterpret_cast<const char*> (zenteditor::getData_uiXml ()), zenteditor::getDataSize_uiXml ())
, provider (text.data (), static_cast<uint32_t> (text.size ()))
{
	description = new UIDescription (&provider);
	parsed = description->parse ();
	if (parsed)
		root = description->createView ("Virel", nullptr);
	if (root)
		collect (root, views);
}

LoadedPanel::~LoadedPanel ()
{
	if (frame)
		frame->close ();
	else if (root)
		root->forget ();
	description->forget ();
}

void LoadedPanel::openFrame (double width, unsigned long x11Parent)
{
	frame = new CFrame (CRect (0, 0, width, width * 9 / 16), nullptr);
	frame->addView (root);
	if (x11Parent)
		frame->open (reinterpret_cast<void*> (x11Parent), PlatformType::kX11EmbedWindowID);
	else
		frame->open (this);
	const double zoom = width / 2560;
	frame->setTransform (CGraphicsTransform ().scale (zoom, zoom));
}

OffscreenPlatformFrame& LoadedPanel::window () const
{
	return *static_cast<OffscreenPlatformFrame*> (frame->getPlatformFrame ());
}

std::vector<CView*> LoadedPanel::named (const std::string& name) const
{
	std::vector<CView*> out;
	for (const auto& [n, v] : views)
		if (n == name)
			out.push_back (v);
	return out;
}

CView* LoadedPanel::first (const std::string& name) const
{
	const auto list = named (name);
	return list.empty () ? nullptr : list.front ();
}

void LoadedPanel::showPlayPage ()
{
	first ("fontExport")->setVisible (false);
	first ("mode_edit")->setVisible (false);
	first ("mode_play")->setVisible (true);
}

void LoadedPanel::showSourcePage (bool keyTracking)
{
	first ("fontExport")->setVisible (false);
	first ("mode_play")->setVisible (false);
	first ("mode_edit")->setVisible (true);
	first ("edit_common")->setVisible (false);
	first ("edit_source")->setVisible (true);
	for (CView* v : named ("Param_SourceS1Coarse"))
		v->setVisible ((dynamic_cast<COptionMenu*> (v) == nullptr) == keyTracking);
	for (const char* name : {"btCoarseDec", "btCoarseInc", "btCoarseDecText", "btCoarseIncText"})
		first (name)->setVisible (!keyTracking);
}

void LoadedPanel::showCommonPage ()
{
	first ("fontExport")->setVisible (false);
	first ("mode_play")->setVisible (false);
	first ("mode_edit")->setVisible (true);
	first ("edit_source")->setVisible (false);
	first ("edit_common")->setVisible (true);
}
