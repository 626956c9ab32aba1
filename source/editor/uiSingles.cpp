#include "uiSingles.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiSingles::uiSingles(ZentEditor& editor) : m_editor(editor) {}

uiSingles::~uiSingles() = default;

void uiSingles::setSingleNames(size_t offset)
{
	m_pageOffset = offset;
}

void uiSingles::valueChanged(CControl*) {}

CMouseEventResult uiSingles::viewOnMouseDown(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSingles::viewOnMouseUp(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSingles::viewOnMouseMoved(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSingles::viewOnMouseCancel(CView*)
{
	return kMouseEventNotImplemented;
}

void uiSingles::viewOnMouseEntered(CView*) {}

void uiSingles::viewOnMouseExited(CView*) {}

void uiSingles::viewOnMouseEnabled(CView*, bool) {}
