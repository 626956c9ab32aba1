#include "EditorHarness.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace
{
CRect validated(CRect r, void (*rule)(CRect&))
{
	rule(r);
	return r;
}
}

TEST(EditorSize, SizesAreLimitedThenShrunkToSixteenByNine)
{
	EXPECT_EQ(validated(CRect(0, 0, 3000, 1000), ZentEditor::validateRect), CRect(0, 0, 2560, 1000));
	EXPECT_EQ(validated(CRect(0, 0, 500, 200), ZentEditor::validateRect), CRect(0, 0, 640, 360));
	EXPECT_EQ(validated(CRect(10, 20, 1000, 600), ZentEditor::validateRect), CRect(10, 20, 1000, 600));
	EXPECT_EQ(validated(CRect(0, 0, 800, 600), ZentEditor::validateAspect), CRect(0, 0, 800, 450));
	EXPECT_EQ(validated(CRect(0, 0, 2000, 900), ZentEditor::validateAspect), CRect(0, 0, 1600, 900));
	EXPECT_EQ(validated(CRect(0, 0, 1024, 576), ZentEditor::validateAspect), CRect(0, 0, 1024, 576));
	EXPECT_EQ(validated(CRect(-0.5, 0.5, 2.5, -2.5), ZentEditor::roundRect), CRect(-1, 1, 3, -3));
	EXPECT_EQ(ZentEditor::getDefaultRect(), CRect(0, 0, 1024, 576));
}

TEST(EditorSize, SetSizeResizesOnceAndAnAdjustedRequestOnlySnapsTheHostBack)
{
	EditorHarness h(CRect(0, 0, 1280, 720));
	EXPECT_FALSE(h.editor->setSize(CRect(0, 0, 1280, 720)));
	EXPECT_EQ(h.listener.sizeChanges, 0);
	EXPECT_FALSE(h.editor->setSize(CRect(0, 0, 1281, 720)));
	EXPECT_EQ(h.listener.sizeChanges, 1);

	EXPECT_TRUE(h.editor->setSize(CRect(0, 0, 1000, 1000)));
	CRect r;
	h.editor->getRect(r);
	EXPECT_EQ(r, CRect(0, 0, 1000, 563));
	EXPECT_DOUBLE_EQ(h.zoom(), 0.390625);
	EXPECT_EQ(h.listener.sizeChanges, 2);
	// The panel is drawn to the new edge.
	EXPECT_EQ(h.pixel(998, 561).alpha, 255);
}

TEST(EditorSize, ZoomIsHeldBetweenAQuarterAndFullSize)
{
	EditorHarness h(CRect(0, 0, 1280, 720));
	h.editor->changeZoom(2.0);
	CRect r;
	h.editor->getRect(r);
	EXPECT_EQ(r, CRect(0, 0, 2560, 1440));
	EXPECT_DOUBLE_EQ(h.zoom(), 1.0);
	h.editor->changeZoom(0.1);
	h.editor->getRect(r);
	EXPECT_EQ(r, CRect(0, 0, 640, 360));
	EXPECT_EQ(h.listener.sizeChanges, 2);
	h.editor->changeZoom(0.25);
	EXPECT_EQ(h.listener.sizeChanges, 2);
}

TEST(EditorSize, DraggingTheHandleZoomsInProportionToTheDistanceFromTheCorner)
{
	EditorHarness h(CRect(0, 0, 1280, 720));
	const CPoint press = h.centre("resizeHandle");
	h.click(press, kRButton);
	h.down(press, kLButton | kRButton);
	h.move(CPoint(press.x * 1.5, press.y * 1.5), kLButton | kRButton);
	h.up(CPoint(press.x * 1.5, press.y * 1.5), kLButton | kRButton);
	EXPECT_DOUBLE_EQ(h.zoom(), 0.5);

	h.drag(press, CPoint(press.x * 1.5, press.y * 1.5));
	EXPECT_DOUBLE_EQ(h.zoom(), 0.75);
	CRect r;
	h.editor->getRect(r);
	EXPECT_EQ(r, CRect(0, 0, 1920, 1080));
	EXPECT_EQ(h.listener.sizeChanges, 8);  // one for each step of the drag

	// The panel follows: the handle is again in the bottom-right corner.
	CView* handle = h.view("resizeHandle");
	CPoint corner = handle->getViewSize().getBottomRight();
	handle->getGlobalTransform().transform(corner);
	EXPECT_EQ(corner, CPoint(1920, 1080));
}

// Movements reach the handle only during a drag the toolkit started on it; one that still arrives after the
// toolkit cancelled that drag must not zoom by the cancelled press.
TEST(EditorSize, ACancelledHandleDragIsOver)
{
	EditorHarness h(CRect(0, 0, 1280, 720));
	CView* handle = h.view("resizeHandle");
	h.down(h.centre(handle));
	h.frame().onMouseCancel();
	const CPoint further = handle->getViewSize().getCenter() * 1.5;
	EXPECT_EQ(handle->callMouseListener(CView::kMouseMoved, further, kLButton), kMouseEventNotHandled);
	EXPECT_DOUBLE_EQ(h.zoom(), 0.5);
}

// A zoom ends at a size the window's own rules keep: the host view hands each size back, and none may come back
// a pixel smaller (the frame rounds a zoomed width and height each on its own).
TEST(EditorSize, EveryZoomEndsAtASizeTheWindowKeepsWhenItIsHandedBack)
{
	EditorHarness h;
	for (double zoom = 0.25; zoom <= 1.0; zoom += 0.00737)
	{
		h.editor->changeZoom(zoom);
		CRect r;
		ASSERT_TRUE(h.editor->getRect(r));
		const int changes = h.listener.sizeChanges;
		EXPECT_FALSE(h.editor->setSize(r)) << zoom;
		EXPECT_EQ(h.listener.sizeChanges, changes) << zoom;
	}
}
