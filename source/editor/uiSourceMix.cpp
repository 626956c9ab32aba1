#include "uiSourceMix.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiSourceMix::uiSourceMix(ZentEditor& editor) : m_editor(editor) {}

uiSourceMix::~uiSourceMix() = default;

void uiSourceMix::onSourceMixParametersChanged() {}

CMouseEventResult uiSourceMix::viewOnMouseDown(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSourceMix::viewOnMouseUp(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSourceMix::viewOnMouseMoved(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult uiSourceMix::viewOnMouseCancel(CView*)
{
	return kMouseEventNotImplemented;
}

void uiSourceMix::viewOnMouseEntered(CView*) {}

void uiSourceMix::viewOnMouseExited(CView*) {}

void uiSourceMix::viewOnMouseEnabled(CView*, bool) {}
