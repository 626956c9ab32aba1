#include "uiDisplay.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiDisplay::uiDisplay(ZentEditor& editor) : m_editor(editor) {}

uiDisplay::~uiDisplay() = default;

void uiDisplay::setTextShowCurrentSingle() {}

CMouseEventResult uiDisplay::viewOnMouseDown(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiDisplay::viewOnMouseUp(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiDisplay::viewOnMouseMoved(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiDisplay::viewOnMouseCancel(CView*)
{
	return kMouseEventNotImplemented;
}

void uiDisplay::viewOnMouseEntered(CView*) {}

void uiDisplay::viewOnMouseExited(CView*) {}

void uiDisplay::viewOnMouseEnabled(CView*, bool) {}
