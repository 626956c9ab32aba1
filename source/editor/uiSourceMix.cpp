#include "uiSourceMix.h"

#include <cmath>

#include "ZentEditor.h"
#include "synth/Plugin.h"

using namespace VSTGUI;

namespace
{
// A press counts by its mouse buttons alone: modifier keys and the double-click flag do not matter.
bool isOnly(const CButtonState& buttons, int32_t button)
{
	return buttons.getButtonState() == button;
}
}

uiSourceMix::uiSourceMix(ZentEditor& editor) : m_editor(editor)
{
	m_area = m_editor.initView<CViewContainer>("throttleArea");
	m_thumb = m_editor.initView<CView>("throttle");
	if (!m_area || !m_thumb)
	{
		// The lookup has logged what is missing; a thumb without its area is not moved at all.
		m_area = nullptr;
		m_thumb = nullptr;
		return;
	}

	const CRect& laidOut = m_thumb->getViewSize();
	m_thumbSize = CPoint(laidOut.getWidth(), laidOut.getHeight());
	m_travel = laidOut.getTopLeft();
	m_thumb->registerViewMouseListener(this);

	resetToCenter(false);
	m_centre = m_thumb->getViewSize().getTopLeft() + CPoint(m_thumbSize.x / 2, m_thumbSize.y / 2);
	m_radius = m_area->getWidth() / 2 - m_thumbSize.x / 2;
	m_radiusSquared = m_radius * m_radius;

	onSourceMixParametersChanged();
}

uiSourceMix::~uiSourceMix()
{
	if (m_thumb)
		m_thumb->unregisterViewMouseListener(this);
}

void uiSourceMix::onSourceMixParametersChanged()
{
	if (!m_thumb)
		return;
	const zentlib::Plugin& plugin = m_editor.getPlugin();
	const double mix12 = plugin.getParameter(zentlib::Param_SourceMix12);
	const double mix34 = plugin.getParameter(zentlib::Param_SourceMix34);
	setThumbTopLeft(CPoint(m_travel.x * mix34, m_travel.y * mix12));
	// Shown on the circle, but the parameters keep the values they were given.
	limitBounds();
	invalidateArea();
}

void uiSourceMix::resetToCenter(bool notify)
{
	if (!m_thumb)
		return;
	setThumbTopLeft(CPoint(m_travel.x / 2, m_travel.y / 2));
	invalidateArea();
	if (notify)
		updateMixValuesFromView();
}

void uiSourceMix::updateMixValuesFromView()
{
	const CPoint topLeft = m_thumb->getViewSize().getTopLeft();
	m_mix = CPoint(topLeft.x / m_travel.x, topLeft.y / m_travel.y);
	// Each edit calls the window back, which places the thumb from the facade: the first with the new
	// vertical and the old horizontal balance, the second with both.
	m_editor.setParameterFromUi(zentlib::Param_SourceMix12, static_cast<float>(m_mix.y));
	m_editor.setParameterFromUi(zentlib::Param_SourceMix34, static_cast<float>(m_mix.x));
}

void uiSourceMix::limitBounds() const
{
	const CRect& r = m_thumb->getViewSize();
	const CPoint d = r.getTopLeft() + CPoint(m_thumbSize.x / 2, m_thumbSize.y / 2) - m_centre;
	const double distanceSquared = d.x * d.x + d.y * d.y;
	if (distanceSquared <= m_radiusSquared)
		return;
	const double scale = m_radius / std::sqrt(distanceSquared);
	const CPoint onCircle(m_centre.x + d.x * scale, m_centre.y + d.y * scale);
	setThumbTopLeft(CPoint(onCircle.x - m_thumbSize.x / 2, onCircle.y - m_thumbSize.y / 2));
}

CMouseEventResult uiSourceMix::viewOnMouseDown(CView*, CPoint, CButtonState buttons)
{
	if (isOnly(buttons, kRButton))
	{
		beginGesture();
		resetToCenter(true);
		endGesture();
		return kMouseEventHandled;
	}
	if (isOnly(buttons, kLButton))
	{
		if (!m_dragging)
			beginGesture();
		m_dragging = true;
		return kMouseEventHandled;
	}
	return kMouseEventNotHandled;
}

CMouseEventResult uiSourceMix::viewOnMouseUp(CView*, CPoint, CButtonState)
{
	if (m_dragging)
		endGesture();
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSourceMix::viewOnMouseCancel(CView*)
{
	if (m_dragging)
		endGesture();
	return kMouseEventNotImplemented;
}

void uiSourceMix::beginGesture() const
{
	m_editor.beginEdit(zentlib::Param_SourceMix12);
	m_editor.beginEdit(zentlib::Param_SourceMix34);
}

void uiSourceMix::endGesture()
{
	m_dragging = false;
	m_editor.endEdit(zentlib::Param_SourceMix12);
	m_editor.endEdit(zentlib::Param_SourceMix34);
}

CMouseEventResult uiSourceMix::viewOnMouseMoved(CView* view, CPoint where, CButtonState buttons)
{
	if (!m_dragging || !isOnly(buttons, kLButton))
		return kMouseEventNotImplemented;

	// Work in window pixels, where the pointer is, so that it stays on the thumb's centre at any zoom.
	const CGraphicsTransform toWindow = view->getGlobalTransform();
	const CPoint pointer = toWindow.transform(where);
	CRect thumb = toWindow.transform(m_thumb->getViewSize());
	const double zoom = m_editor.getZoom();
	thumb.moveTo(pointer - CPoint(zoom * m_thumbSize.x / 2, zoom * m_thumbSize.y / 2));
	toWindow.inverse().transform(thumb);
	m_thumb->setViewSize(thumb, true);

	limitBounds();
	updateMixValuesFromView();
	invalidateArea();
	return kMouseEventHandled;
}

void uiSourceMix::setThumbTopLeft(const CPoint& topLeft) const
{
	m_thumb->setViewSize(CRect(topLeft, m_thumbSize), true);
}

void uiSourceMix::invalidateArea() const
{
	m_area->invalid();
}
