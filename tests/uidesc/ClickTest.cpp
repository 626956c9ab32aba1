// Mouse-down dispatch as the toolkit does it: children from last to first, invisible views
// skipped, a view handles the click when it is a control or has a mouse listener, and a
// non-transparent view that is hit ends the search whether it handled the click or not.
#include "Description.h"

#include <gtest/gtest.h>

#include <set>

using namespace uidesctest;

namespace
{
// The editor's state: which named views it has hidden.
struct State
{
	std::string title;
	std::set<std::string> hidden;
	std::set<const Element*> hiddenViews;
};

// Views whose mouse events the editor listens to besides the controls.
bool listened(const Element& v)
{
	static const std::set<std::string> names = {"LCDLight", "clickableLogo", "btDonate", "throttle", "resizeHandle"};
	const std::string name = v.name();
	return names.count(name) || (name.size() == 8 && name.rfind("single", 0) == 0);
}

bool handles(const Element& v)
{
	const std::string cls = v.cls();
	return cls == "CKickButton" || cls == "CAnimKnob" || cls == "COptionMenu" || cls == "CTextEdit" || listened(v);
}

bool visible(const Element& v, const State& state)
{
	return !state.hidden.count(v.name()) && !state.hiddenViews.count(&v);
}

// The view that takes a click at (x, y) in the container's coordinates, or the view that blocks
// it; nullptr when it falls through.
const Element* hit(const Element& container, double x, double y, const State& state, bool& handled)
{
	for (auto it = container.children.rbegin(); it != container.children.rend(); ++it)
	{
		const Element& child = **it;
		if (child.tag != "view" || !visible(child, state))
			continue;
		const Box b = localBox(child);
		if (x < b.x || x >= b.x + b.w || y < b.y || y >= b.y + b.h)
			continue;
		if (child.cls() == "CViewContainer" && !listened(child))
		{
			const Element* inner = hit(child, x - b.x, y - b.y, state, handled);
			if (handled)
				return inner;
		}
		else if (handles(child))
		{
			handled = true;
			return &child;
		}
		if (child.get("transparent") != "true")
			return &child;
	}
	return nullptr;
}

std::string describe(const Element* v)
{
	return v ? v->cls() + " '" + v->name() + "' " + v->get("title") : "nothing";
}

// Clicks at the centre and near the corners of every visible view that reacts to the mouse.
void expectEveryTargetReachable(const State& state)
{
	SCOPED_TRACE(state.title);
	std::function<void(const Element&)> visit = [&](const Element& container) {
		for (const auto& c : container.children)
		{
			if (c->tag != "view" || !visible(*c, state))
				continue;
			if (handles(*c))
			{
				const Box b = templateBox(*c);
				for (const auto& [fx, fy] : {std::pair{0.5, 0.5}, {0.2, 0.2}, {0.8, 0.2}, {0.2, 0.8}, {0.8, 0.8}})
				{
					bool handled = false;
					const Element* got = hit(templateElement(), b.x + b.w * fx, b.y + b.h * fy, state, handled);
					EXPECT_TRUE(handled && got == c.get())
						<< "click at " << fx << "," << fy << " of " << describe(c.get()) << " reaches " << describe(got);
				}
			}
			if (c->cls() == "CViewContainer")
				visit(*c);
		}
	};
	visit(templateElement());
}

State coarseHiddenAs(State s, bool keyTrackOn)
{
	for (const Element* v : viewsNamed("Param_SourceS1Coarse"))
		if ((v->cls() == "COptionMenu") == keyTrackOn)
			s.hiddenViews.insert(v);
	if (keyTrackOn)
		s.hidden.insert({"btCoarseDec", "btCoarseInc", "btCoarseDecText", "btCoarseIncText"});
	return s;
}
}

TEST(UiClicks, ReachEveryListenedViewOnThePlayPage)
{
	expectEveryTargetReachable({"play page", {"mode_edit", "fontExport"}, {}});
}

TEST(UiClicks, ReachEveryListenedViewOnTheSourcePage)
{
	const State source{"source page", {"mode_play", "edit_common", "fontExport"}, {}};
	expectEveryTargetReachable(coarseHiddenAs({source.title + ", key tracking off", source.hidden, {}}, false));
	expectEveryTargetReachable(coarseHiddenAs({source.title + ", key tracking on", source.hidden, {}}, true));
}

TEST(UiClicks, ReachEveryListenedViewOnTheCommonPage)
{
	expectEveryTargetReachable({"common page", {"mode_play", "edit_source", "fontExport"}, {}});
}

TEST(UiClicks, PassThroughTheDisplayCellsAndShadowToTheLight)
{
	const State play{"play page", {"mode_edit", "fontExport"}, {}};
	for (const char* cell : {"char000", "char015", "char100", "char115"})
	{
		const Box b = templateBox(*viewNamed(cell));
		bool handled = false;
		const Element* got = hit(templateElement(), b.x + b.w / 2, b.y + b.h / 2, play, handled);
		EXPECT_TRUE(handled) << cell;
		EXPECT_EQ(got, viewNamed("LCDLight")) << cell << " reaches " << describe(got);
	}
}

TEST(UiClicks, CaptionsShowTheButtonTooltipWhereTheyCoverIt)
{
	// The caption lies over the button and is the topmost view under the pointer there.
	const Element* button = viewNamed("Param_SourceS1VibABend");
	for (const auto& c : button->parent->children)
		if (c->name() == "Text" && c->get("origin") == button->get("origin") && c->get("title") == "Vib & Autobend")
		{
			EXPECT_EQ(c->get("tooltip"), button->get("tooltip"));
		}
}
