#include "uiEnvelope.h"

#include "ZentEditor.h"
#include "synth/CParam.h"
#include "synth/Plugin.h"

using namespace VSTGUI;

namespace
{
const CColor g_colTop(0, 213, 65, 255);
const CColor g_colBottom(0, 85, 36, 255);
}

uiEnvelope::uiEnvelope(ZentEditor& editor, const CRect& size, IControlListener* listener, long tag,
                       CBitmap* background)
: CControl(size, listener, static_cast<int32_t>(tag), background), m_editor(editor)
{
}

uiEnvelope::uiEnvelope(const uiEnvelope& other)
: CControl(other), m_editor(other.m_editor), m_delay(other.m_delay), m_attack(other.m_attack),
  m_decay(other.m_decay), m_sustain(other.m_sustain), m_release(other.m_release)
{
}

uiEnvelope::~uiEnvelope() noexcept = default;

void uiEnvelope::draw(CDrawContext* context)
{
	const CRect& r = getViewSize();
	const double segment = r.getWidth() / 5;
	const double base = r.top + r.getHeight() - 1;
	const double sustainY = r.top + (1 - m_sustain / 100.0) * (r.getHeight() - 1);

	const CPoint p0(r.left + m_delay * segment / 100, base);
	const CPoint p1(p0.x + m_attack * segment / 100, r.top);
	const CPoint p2(p1.x + m_decay * segment / 100, sustainY);
	const CPoint p3(p2.x + segment, sustainY);
	const CPoint p4(p3.x + m_release * segment / 100, base);

	if (CGraphicsPath* path = context->createGraphicsPath())
	{
		path->beginSubpath(p0);
		path->addLine(p1);
		path->addLine(p2);
		path->addLine(p3);
		path->addLine(p4);
		path->closeSubpath();
		CGradient* gradient = CGradient::create(1.0, 0.0, g_colBottom, g_colTop);
		context->setDrawMode(kAntiAliasing);
		context->fillLinearGradient(path, *gradient, CPoint(r.left, r.top), CPoint(r.left, r.top + r.getHeight()),
		                            false, nullptr);
		path->forget();
		gradient->forget();
	}
	setDirty(false);
}

float uiEnvelope::getParameter(unsigned long base) const
{
	const auto p = static_cast<zentlib::EParam>(base + m_editor.getActiveSource());
	return m_editor.getPlugin().getParameter(p) * zentlib::g_params[p].range + zentlib::g_params[p].min;
}

void uiEnvelope::updateFromParameters()
{
	setDelay(getParameter(zentlib::Param_SourceS1EnvDelay));
	setAttack(getParameter(zentlib::Param_SourceS1EnvAttack));
	setDecay(getParameter(zentlib::Param_SourceS1EnvDecay));
	setSustain(getParameter(zentlib::Param_SourceS1EnvSustain));
	setRelease(getParameter(zentlib::Param_SourceS1EnvRelease));
}

void uiEnvelope::setDelay(float value)
{
	setShown(m_delay, value);
}

void uiEnvelope::setAttack(float value)
{
	setShown(m_attack, value);
}

void uiEnvelope::setDecay(float value)
{
	setShown(m_decay, value);
}

void uiEnvelope::setSustain(float value)
{
	setShown(m_sustain, value);
}

void uiEnvelope::setRelease(float value)
{
	setShown(m_release, value);
}

void uiEnvelope::setShown(float& field, float value)
{
	// Written as a negated equality so that a NaN on either side counts as a change.
	if (!(field == value))
	{
		field = value;
		redraw();
	}
}

void uiEnvelope::redraw()
{
	setDirty(false);
	invalid();
}
