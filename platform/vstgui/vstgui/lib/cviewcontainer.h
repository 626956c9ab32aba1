#pragma once

#include "ccolor.h"
#include "cview.h"

#include <functional>
#include <iterator>
#include <list>
#include <vector>

namespace VSTGUI
{
class CViewContainer : public CView
{
public:
	using ChildViews = std::list<SharedPointer<CView>>;

	explicit CViewContainer (const CRect& size);
	CViewContainer (const CViewContainer& viewContainer);
	~CViewContainer () noexcept override;

	virtual bool addView (CView* pView, CView* pBefore = nullptr);
	virtual bool addView (CView* pView, const CRect& mouseableArea, bool mouseEnabled = true);
	virtual bool removeView (CView* pView, bool withForget = true);
	virtual bool removeAll (bool withForget = true);
	virtual bool changeViewZOrder (CView* view, uint32_t newIndex);
	virtual bool isChild (CView* pView, bool deep = false) const;
	virtual bool hasChildren () const { return !children.empty (); }
	virtual uint32_t getNbViews () const { return static_cast<uint32_t> (children.size ()); }
	virtual CView* getView (uint32_t index) const;
	virtual CView* getViewAt (const CPoint& where, bool deep = false, bool mouseEnabledOnly = false) const;
	// Every view under the point, innermost last.
	virtual bool getViewsAt (const CPoint& where, std::vector<CView*>& views, bool mouseEnabledOnly,
	                         bool deep = true) const;
	void forEachChild (const std::function<void (const SharedPointer<CView>&)>& proc) const;
	const ChildViews& getChildren () const { return children; }

	template <class ViewClass, class ContainerClass = std::vector<ViewClass*>>
	uint32_t getChildViewsOfType (ContainerClass& result, bool deep = false) const
	{
		for (const auto& child : children)
		{
			if (auto vObj = child.template cast<ViewClass> ())
				result.push_back (vObj);
			if (deep)
			{
				if (auto container = child->asViewContainer ())
					container->template getChildViewsOfType<ViewClass, ContainerClass> (result, deep);
			}
		}
		return static_cast<uint32_t> (result.size ());
	}

	virtual void setBackgroundColor (const CColor& color);
	CColor getBackgroundColor () const { return backgroundColor; }
	virtual void setBackgroundOffset (const CPoint& p) { backgroundOffset = p; }
	const CPoint& getBackgroundOffset () const { return backgroundOffset; }
	virtual void setBackgroundColorDrawStyle (CDrawStyle style);
	CDrawStyle getBackgroundColorDrawStyle () const { return backgroundColorDrawStyle; }
	virtual void drawBackgroundRect (CDrawContext* context, const CRect& updateRect);

	void setTransform (const CGraphicsTransform& t);
	const CGraphicsTransform& getTransform () const { return transform; }

	void setAutosizingEnabled (bool state) { autosizingEnabled = state; }
	bool getAutosizingEnabled () const { return autosizingEnabled; }

	// CView
	void draw (CDrawContext* context) override;
	void drawRect (CDrawContext* context, const CRect& updateRect) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;
	bool hitTest (const CPoint& where, const CButtonState& buttons = -1) override;
	void setViewSize (const CRect& rect, bool invalid = true) override;
	void invalidRect (const CRect& rect) override;
	void invalid () override;
	bool attached (CView* parent) override;
	bool removed (CView* parent) override;
	CViewContainer* asViewContainer () override { return this; }
	const CViewContainer* asViewContainer () const override { return this; }

	CView* getMouseDownView () const { return mouseDownView; }
	void setMouseDownView (CView* view) { mouseDownView = view; }

	// Visits every dirty, visible view of the tree.
	void invalidateDirtyViews ();

	CLASS_METHODS (CViewContainer, CView)

protected:
	void beforeDelete () override;
	CPoint localise (const CPoint& where) const;

	ChildViews children;
	CGraphicsTransform transform;
	CColor backgroundColor {kBlackCColor};
	CPoint backgroundOffset;
	CDrawStyle backgroundColorDrawStyle {kDrawFilledAndStroked};
	SharedPointer<CView> mouseDownView;
	bool autosizingEnabled {true};
};
// Walks a container's children; *it is the child, or null past either end.
template <bool reverse>
class GenericViewIterator
{
public:
	explicit GenericViewIterator (const CViewContainer* container) : children (container->getChildren ())
	{
		if (reverse)
		{
			it = children.end ();
			if (it != children.begin ())
				--it;
			else
				it = children.end ();
		}
		else
			it = children.begin ();
	}

	GenericViewIterator& operator++ ()
	{
		if (it == children.end ())
			return *this;
		if (reverse)
			it = (it == children.begin ()) ? children.end () : std::prev (it);
		else
			++it;
		return *this;
	}
	GenericViewIterator operator++ (int)
	{
		GenericViewIterator old (*this);
		++(*this);
		return old;
	}
	CView* operator* () const { return it == children.end () ? nullptr : it->get (); }

private:
	const CViewContainer::ChildViews& children;
	CViewContainer::ChildViews::const_iterator it;
};

using ViewIterator = GenericViewIterator<false>;
using ReverseViewIterator = GenericViewIterator<true>;
} // VSTGUI
