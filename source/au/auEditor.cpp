#include "au/auEditor.h"

#include "ZentEditor.h"
#include "au/VirelNSView.h"
#include "au/auPlugin.h"
#include "synth/Plugin.h"
#include "synth/log.h"

#include <cmath>
#include <limits>

namespace
{
constexpr uint32_t kStateVersion = 1;

// Held inside the type's range (a rectangle never comes near its limits), then toward zero.
template <typename T>
T truncated(double value)
{
	constexpr double lo = std::numeric_limits<T>::min(), hi = std::numeric_limits<T>::max();
	return static_cast<T>(std::isnan(value) ? 0.0 : std::trunc(std::fmin(hi, std::fmax(lo, value))));
}

// To the nearest whole pixel, halves away from zero: a window between pixels saved toward zero would
// come back smaller, and smaller again after every save.
template <typename T>
T rounded(double value)
{
	return truncated<T>(std::round(value));
}

void putU32(uint8_t* at, uint32_t v)
{
	for (int i = 0; i < 4; ++i)
		at[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t getU32(const uint8_t* at)
{
	return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
}

auEditor::auEditor(auPlugin& adapter, zentlib::Plugin& facade)
	: PluginGUIEditor(&adapter), m_adapter(adapter), m_facade(facade), m_rect(ZentEditor::getDefaultRect())
{
	ZENT_LOG("AU: Virel editor instance created");
}

auEditor::~auEditor()
{
	// Hosts may dispose of the instance before they release its views.
	for (VirelNSView* view : m_views)
		view->ownerGone();
	// The adapter deletes the facade right after; the window goes without telling it.
	m_sizeChanged = nullptr;
	delete m_window;
	m_window = nullptr;
}

bool auEditor::open(void* parent)
{
	ZENT_LOG("Opening GUI");
	PluginGUIEditor::open(parent);
	auto* window =
		new ZentEditor(m_facade, parent, this, this, m_rect.load(), VSTGUI::PlatformType::kDefaultNative, nullptr);
	ZentEditor* previous = m_window;
	m_window = window;
	// The facade lets go of the previous window before it is deleted: the render thread may be calling it.
	m_facade.setEditor(m_window);
	delete previous;
	frame = m_window->getFrame();
	setKnobMode(VSTGUI::kLinearMode);
	// A size the window reported from its constructor came before it was the owned window.
	updateRectFromEditor();
	return true;
}

void auEditor::close()
{
	m_facade.setEditor(nullptr);
	if (m_window)
	{
		updateRectFromEditor();
		delete m_window;
		m_window = nullptr;
	}
	PluginGUIEditor::close();
	frame = nullptr;
}

void auEditor::idle()
{
	PluginGUIEditor::idle();
}

bool auEditor::getRect(VSTGUI::ERect** out)
{
	updateRectFromEditor();
	return PluginGUIEditor::getRect(out);
}

void auEditor::updateRectFromEditor()
{
	VSTGUI::CRect live;
	if (!m_window || !m_window->getRect(live))
		return;
	m_rect.store(live);
	setERect(live);
}

void auEditor::convertRect(const VSTGUI::CRect& r)
{
	setERect(r);
}

void auEditor::setERect(const VSTGUI::CRect& r)
{
	rect.top = truncated<int16_t>(r.top);
	rect.left = truncated<int16_t>(r.left);
	rect.bottom = truncated<int16_t>(r.bottom);
	rect.right = truncated<int16_t>(r.right);
}

void auEditor::saveState(std::vector<uint8_t>& out) const
{
	const VSTGUI::CRect r = m_rect.load();
	out.resize(kStateSize);
	putU32(&out[0], kStateVersion);
	putU32(&out[4], static_cast<uint32_t>(rounded<int32_t>(r.left)));
	putU32(&out[8], static_cast<uint32_t>(rounded<int32_t>(r.top)));
	putU32(&out[12], static_cast<uint32_t>(rounded<int32_t>(r.right)));
	putU32(&out[16], static_cast<uint32_t>(rounded<int32_t>(r.bottom)));
}

bool auEditor::loadState(const std::vector<uint8_t>& in)
{
	if (in.size() != kStateSize || getU32(&in[0]) != kStateVersion)
		return false;
	auto coordinate = [&](size_t offset) { return double(static_cast<int32_t>(getU32(&in[offset]))); };
	m_rect.store(VSTGUI::CRect(coordinate(4), coordinate(8), coordinate(12), coordinate(16)));
	return true;
}

void auEditor::saveStateToPlugin()
{
	m_adapter.saveEditorState();
}

bool auEditor::pluginHasEditorState() const
{
	return m_adapter.hasEditorState();
}

void auEditor::applyViewSize(VSTGUI::CRect r)
{
	// Not a number passes every limit unchanged: the window would hand it back through the view for ever, and
	// kept, it would do so in the next window.
	if (!isSize(r.getWidth(), r.getHeight()))
		return;
	if (m_window)
		m_window->setSize(r);
	else
	{
		// Only numbers are kept and saved.
		if (!std::isfinite(r.getWidth()) || !std::isfinite(r.getHeight()))
			ZentEditor::validateRect(r);
		m_rect.store(r);
	}
}

void auEditor::addView(VirelNSView* view, SizeChangeCallback onSizeChanged)
{
	m_views.insert(view);
	m_sizeChanged.swap(onSizeChanged);
	m_sizeChangedView = view;
}

void auEditor::removeView(VirelNSView* view)
{
	m_views.erase(view);
	if (m_sizeChangedView == view)
	{
		m_sizeChanged = [](auEditor*) {};
		m_sizeChangedView = nullptr;
	}
	if (showsWindowIn(view))
		close();
}

bool auEditor::showsWindowIn(const VirelNSView* view) const
{
	return m_window && systemWindow == static_cast<const void*>(view);
}

void auEditor::changeParameter(zentlib::EParam parameter, float normalisedValue)
{
	m_facade.setParameter(parameter, normalisedValue);
	m_adapter.ParameterUpdate(parameter);
}

void auEditor::onSizeChanged()
{
	updateRectFromEditor();
	m_sizeChanged(this);
}

void auEditor::beginEdit(int32_t index)
{
	m_adapter.ParameterBeginEdit(index);
}

void auEditor::endEdit(int32_t index)
{
	m_adapter.ParameterEndEdit(index);
}
