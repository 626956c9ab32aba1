// Feeds arbitrary bytes to the description parser, then builds every template it found and asks
// for every bitmap, font and colour, as an editor would.
#include "vstgui/vstgui.h"
#include "vstgui/vstgui_uidescription.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The loader logs every unknown view class to standard output; fuzzing needs none of it.
extern "C" int LLVMFuzzerInitialize (int*, char***)
{
	return std::freopen ("/dev/null", "w", stdout) ? 0 : 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	using namespace VSTGUI;
	Xml::MemoryContentProvider provider (data, static_cast<uint32_t> (size));
	auto description = owned (new UIDescription (&provider));
	if (!description->parse ())
		return 0;
	for (const auto& name : description->getTemplateNames ())
	{
		if (CView* view = description->createView (name.c_str (), nullptr))
			view->forget ();
	}
	for (const auto& name : description->getBitmapNames ())
		description->getBitmap (name.c_str ());
	CColor color;
	for (const auto& name : description->getColorNames ())
		description->getColor (name.c_str (), color);
	for (const auto& name : description->getFontNames ())
		description->getFont (name.c_str ());
	return 0;
}
