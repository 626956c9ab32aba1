#include "ZentEditor.h"

#include <algorithm>
#include <cmath>

using namespace VSTGUI;

namespace
{
constexpr double kMinWidth = 640;
constexpr double kMinHeight = 360;
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 1.0;
}

CRect ZentEditor::getDefaultRect()
{
	return CRect(0, 0, 1024, 576);
}

void ZentEditor::validateRect(CRect& rect)
{
	if (rect.getWidth() > kTemplateWidth)
		rect.right = rect.left + kTemplateWidth;
	else if (rect.getWidth() < kMinWidth)
		rect.right = rect.left + kMinWidth;
	if (rect.getHeight() > kTemplateHeight)
		rect.bottom = rect.top + kTemplateHeight;
	else if (rect.getHeight() < kMinHeight)
		rect.bottom = rect.top + kMinHeight;
}

void ZentEditor::validateAspect(CRect& rect)
{
	const double w = rect.getWidth();
	const double h = rect.getHeight();
	const double widthForHeight = h * kTemplateWidth / kTemplateHeight;
	if (w > widthForHeight)
	{
		rect.right = rect.left + widthForHeight;
		rect.bottom = rect.top + std::round(widthForHeight * kTemplateHeight / kTemplateWidth);
		return;
	}
	const double heightForWidth = w * kTemplateHeight / kTemplateWidth;
	if (h > heightForWidth)
	{
		rect.bottom = rect.top + heightForWidth;
		rect.right = rect.left + std::round(heightForWidth * kTemplateWidth / kTemplateHeight);
	}
}

void ZentEditor::roundRect(CRect& rect)
{
	rect.left = std::round(rect.left);
	rect.top = std::round(rect.top);
	rect.right = std::round(rect.right);
	rect.bottom = std::round(rect.bottom);
}

void ZentEditor::fitRect(CRect& rect)
{
	// Each pass shrinks or keeps; three always suffice.
	for (int pass = 0; pass < 4; ++pass)
	{
		const CRect before(rect);
		validateRect(rect);
		validateAspect(rect);
		roundRect(rect);
		if (rect == before)
			return;
	}
}

bool ZentEditor::getRect(CRect& out) const
{
	if (!m_frame)
		return false;
	out = m_frame->getViewSize();
	return true;
}

bool ZentEditor::setSize(const CRect& rect)
{
	if (!m_frame)
		return false;
	CRect size(rect);
	fitRect(size);

	if (size == m_rect)
	{
		// The request was adjusted: the host view has to snap back to the window.
		if (rect != m_rect && m_listener)
			m_listener->onSizeChanged();
		return false;
	}

	m_frame->setSize(size.getWidth(), size.getHeight());
	m_rect = m_frame->getViewSize();
	m_zoom = m_rect.getWidth() / kTemplateWidth;
	setFrameZoomTransform();
	if (m_listener)
		m_listener->onSizeChanged();
	return true;
}

void ZentEditor::changeZoom(double zoom)
{
	if (!m_frame)
		return;
	zoom = std::min(kMaxZoom, std::max(kMinZoom, zoom));
	if (zoom == m_zoom)
		return;
	m_frame->setSize(kTemplateWidth * m_zoom, kTemplateHeight * m_zoom);
	if (!m_frame->setZoom(zoom))
		return;
	m_zoom = zoom;
	m_rect = m_frame->getViewSize();
	// The frame rounds width and height each on its own, which can leave one a pixel off 16:9. Handed to the
	// host as it is, the host's view would hand it back, have it corrected and follow a pixel back again.
	CRect fitted(m_rect);
	fitRect(fitted);
	if (fitted != m_rect)
	{
		m_frame->setSize(fitted.getWidth(), fitted.getHeight());
		m_rect = m_frame->getViewSize();
		m_zoom = m_rect.getWidth() / kTemplateWidth;
		setFrameZoomTransform();
	}
	if (m_listener)
		m_listener->onSizeChanged();
}

double ZentEditor::getZoom() const
{
	return m_zoom;
}
