#include "au/auEditor.h"

#include "ZentEditor.h"
#include "au/auPlugin.h"
#include "synth/Plugin.h"
#include "synth/log.h"

#include <cmath>
#include <limits>

namespace
{
constexpr uint32_t kStateVersion = 1;

// Toward zero, held inside the type's range (a rectangle never comes near its limits).
template <typename T>
T truncated(double value)
{
	constexpr double lo = std::numeric_limits<T>::min(), hi = std::numeric_limits<T>::max();
	return static_cast<T>(std::isnan(value) ? 0.0 : std::trunc(std::fmin(hi, std::fmax(lo, value))));
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
	// The adapter deletes the facade right after; the window goes without telling it.
	m_sizeChanged = nullptr;
	delete m_window;
	m_window = nullptr;
}

bool auEditor::open(void* parent)
{
	ZENT_LOG("Opening GUI");
	PluginGUIEditor::open(parent);
	auto* window = new ZentEditor(m_facade, parent, this, this, m_rect, VSTGUI::PlatformType(-1), nullptr);
	ZentEditor* previous = m_window;
	m_window = window;
	// The facade lets go of the previous window before it is deleted: the render thread may be calling it.
	m_facade.setEditor(m_window);
	delete previous;
	frame = m_window->getFrame();
	setKnobMode(VSTGUI::kLinearMode);
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
	m_rect = live;
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

void auEditor::saveState(std::vector<uint8_t>& out)
{
	updateRectFromEditor();
	out.resize(kStateSize);
	putU32(&out[0], kStateVersion);
	putU32(&out[4], static_cast<uint32_t>(truncated<int32_t>(m_rect.left)));
	putU32(&out[8], static_cast<uint32_t>(truncated<int32_t>(m_rect.top)));
	putU32(&out[12], static_cast<uint32_t>(truncated<int32_t>(m_rect.right)));
	putU32(&out[16], static_cast<uint32_t>(truncated<int32_t>(m_rect.bottom)));
}

bool auEditor::loadState(const std::vector<uint8_t>& in)
{
	if (in.size() != kStateSize || getU32(&in[0]) != kStateVersion)
		return false;
	auto coordinate = [&](size_t offset) { return double(static_cast<int32_t>(getU32(&in[offset]))); };
	m_rect = VSTGUI::CRect(coordinate(4), coordinate(8), coordinate(12), coordinate(16));
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

void auEditor::applyViewSize(const VSTGUI::CRect& r)
{
	if (m_window)
		m_window->setSize(r);
	else
		m_rect = r;
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
