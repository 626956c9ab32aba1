#include "EditorHarness.h"

#include <CoreFoundation/CoreFoundation.h>

using namespace VSTGUI;

EditorHarness::EditorHarness(const CRect& rect, double sampleRate)
{
	plugin.setSampleRate(static_cast<float>(sampleRate));
	// Any non-null parent opens the default frame, which is the offscreen one.
	editor = std::make_unique<ZentEditor>(plugin, this, &editorInterface, &listener, rect,
	                                      PlatformType::kDefaultNative, nullptr);
	plugin.setEditor(editor.get());
}

EditorHarness::~EditorHarness()
{
	close();
}

void EditorHarness::close()
{
	plugin.setEditor(nullptr);
	editor.reset();
}

CFrame& EditorHarness::frame() const
{
	return *editor->getFrame();
}

OffscreenPlatformFrame& EditorHarness::window() const
{
	return *static_cast<OffscreenPlatformFrame*>(frame().getPlatformFrame());
}

std::vector<CView*> EditorHarness::views(const std::string& name) const
{
	ZentEditor::ViewsByName byName;
	ZentEditor::getViewsByCustomViewName(byName, &frame());
	const auto found = byName.find(name);
	return found == byName.end() ? std::vector<CView*>{} : found->second;
}

CView* EditorHarness::view(const std::string& name, size_t index) const
{
	const auto list = views(name);
	return index < list.size() ? list[index] : nullptr;
}

bool EditorHarness::shown(const CView* view)
{
	for (; view; view = view->getParentView())
		if (!view->isVisible())
			return false;
	return true;
}

CPoint EditorHarness::centre(const CView* view) const
{
	return view->getGlobalTransform().transform(view->getViewSize().getCenter());
}

CPoint EditorHarness::toWindow(const CPoint& templatePoint) const
{
	return CPoint(templatePoint.x * zoom(), templatePoint.y * zoom());
}

CMouseEventResult EditorHarness::down(const CPoint& p, int32_t buttons)
{
	CPoint where(p);
	return frame().platformOnMouseDown(where, buttons);
}

CMouseEventResult EditorHarness::move(const CPoint& p, int32_t buttons)
{
	CPoint where(p);
	return frame().platformOnMouseMoved(where, buttons);
}

CMouseEventResult EditorHarness::up(const CPoint& p, int32_t buttons)
{
	CPoint where(p);
	return frame().platformOnMouseUp(where, buttons);
}

void EditorHarness::click(const CPoint& p, int32_t buttons)
{
	down(p, buttons);
	up(p, buttons);
}

void EditorHarness::drag(const CPoint& from, const CPoint& to, int steps)
{
	down(from);
	for (int i = 1; i <= steps; ++i)
		move(CPoint(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
	up(to);
}

bool EditorHarness::key(unsigned char virt, int32_t character)
{
	VstKeyCode k;
	k.virt = virt;
	k.character = character;
	return frame().platformOnKeyDown(k);
}

void EditorHarness::type(const std::string& text)
{
	// One key per character, as a keyboard delivers them: UTF-8 sequences become their code points.
	for (size_t i = 0; i < text.size();)
	{
		const auto lead = static_cast<unsigned char>(text[i++]);
		const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
		int32_t codePoint = extra ? lead & (0x3F >> extra) : lead;
		for (int k = 0; k < extra && i < text.size(); ++k)
			codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
		key(0, codePoint);
	}
}

void EditorHarness::runFor(double ms)
{
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, ms / 1000., false);
}

CColor EditorHarness::pixel(int x, int y)
{
	window().redraw();
	return window().getPixel(x, y);
}

float EditorHarness::nativeParameter(zentlib::EParam p) const
{
	return parameter(p) * zentlib::g_params[p].range + zentlib::g_params[p].min;
}

void EditorHarness::setNative(zentlib::EParam p, float native)
{
	automate(p, (native - zentlib::g_params[p].min) * zentlib::g_params[p].invRange);
}
