#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"
#include "vstguifwd.h"

namespace VSTGUI
{
class IViewListener
{
public:
	virtual ~IViewListener () noexcept = default;
	virtual void viewSizeChanged (CView* view, const CRect& oldSize) = 0;
	virtual void viewAttached (CView* view) = 0;
	virtual void viewRemoved (CView* view) = 0;
	virtual void viewLostFocus (CView* view) = 0;
	virtual void viewTookFocus (CView* view) = 0;
	virtual void viewWillDelete (CView* view) = 0;
};

class ViewListenerAdapter : public IViewListener
{
public:
	void viewSizeChanged (CView*, const CRect&) override {}
	void viewAttached (CView*) override {}
	void viewRemoved (CView*) override {}
	void viewLostFocus (CView*) override {}
	void viewTookFocus (CView*) override {}
	void viewWillDelete (CView*) override {}
};

// Every operation has a default (results "not implemented", notifications ignored), so a
// listener overrides only what it handles; see the README.
class IViewMouseListener
{
public:
	virtual ~IViewMouseListener () noexcept = default;
	virtual CMouseEventResult viewOnMouseDown (CView* /*view*/, CPoint /*pos*/, CButtonState /*buttons*/)
	{
		return kMouseEventNotImplemented;
	}
	virtual CMouseEventResult viewOnMouseUp (CView* /*view*/, CPoint /*pos*/, CButtonState /*buttons*/)
	{
		return kMouseEventNotImplemented;
	}
	virtual CMouseEventResult viewOnMouseMoved (CView* /*view*/, CPoint /*pos*/, CButtonState /*buttons*/)
	{
		return kMouseEventNotImplemented;
	}
	virtual CMouseEventResult viewOnMouseCancel (CView* /*view*/) { return kMouseEventNotImplemented; }
	virtual void viewOnMouseEntered (CView* /*view*/) {}
	virtual void viewOnMouseExited (CView* /*view*/) {}
	virtual void viewOnMouseEnabled (CView* /*view*/, bool /*state*/) {}
};

class ViewMouseListenerAdapter : public IViewMouseListener
{
public:
	CMouseEventResult viewOnMouseDown (CView*, CPoint, CButtonState) override { return kMouseEventNotImplemented; }
	CMouseEventResult viewOnMouseUp (CView*, CPoint, CButtonState) override { return kMouseEventNotImplemented; }
	CMouseEventResult viewOnMouseMoved (CView*, CPoint, CButtonState) override { return kMouseEventNotImplemented; }
	CMouseEventResult viewOnMouseCancel (CView*) override { return kMouseEventNotImplemented; }
	void viewOnMouseEntered (CView*) override {}
	void viewOnMouseExited (CView*) override {}
	void viewOnMouseEnabled (CView*, bool) override {}
};
} // VSTGUI
