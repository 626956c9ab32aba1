#include "uiResizer.h"

#include <cmath>

#include "ZentEditor.h"

using namespace VSTGUI;

namespace
{
double distanceFromOrigin(const CPoint& p)
{
	return std::hypot(p.x, p.y);
}
}

uiResizer::uiResizer(ZentEditor& editor) : m_editor(editor), m_handle(editor.initView<CView>("resizeHandle"))
{
	if (m_handle)
		m_handle->registerViewMouseListener(this);
}

uiResizer::~uiResizer()
{
	if (m_handle)
		m_handle->unregisterViewMouseListener(this);
}

CPoint uiResizer::toWindow(const CPoint& where) const
{
	CPoint p(where);
	return m_handle->getGlobalTransform().transform(p);
}

CMouseEventResult uiResizer::viewOnMouseDown(CView*, CPoint where, CButtonState buttons)
{
	if (!buttons.isLeftButton())
		return kMouseEventNotHandled;
	m_dragging = true;
	m_pressPoint = toWindow(where);
	m_pressZoom = m_editor.getZoom();
	return kMouseEventHandled;
}

CMouseEventResult uiResizer::viewOnMouseMoved(CView*, CPoint where, CButtonState buttons)
{
	if (!m_dragging || !buttons.isLeftButton())
		return kMouseEventNotImplemented;
	const double pressDistance = distanceFromOrigin(m_pressPoint);
	// A press exactly on the window's corner gives no scale to follow.
	if (pressDistance > 0)
		m_editor.changeZoom(distanceFromOrigin(toWindow(where)) * m_pressZoom / pressDistance);
	return kMouseEventHandled;
}

// A drag ends with its button, or when the toolkit cancels it; a later movement over the handle must not
// zoom by a stale press.
CMouseEventResult uiResizer::viewOnMouseUp(CView*, CPoint, CButtonState)
{
	m_dragging = false;
	return kMouseEventNotImplemented;
}

CMouseEventResult uiResizer::viewOnMouseCancel(CView*)
{
	m_dragging = false;
	return kMouseEventNotImplemented;
}

void uiResizer::viewOnMouseEntered(CView*) {}

void uiResizer::viewOnMouseExited(CView*) {}

void uiResizer::viewOnMouseEnabled(CView*, bool) {}
