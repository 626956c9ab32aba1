#include "ZentEditor.h"

#include "synth/Plugin.h"
#include "synth/log.h"
#include "vstgui/vstgui_uidescription.h"

#include "XmlContentProvider.h"
#include "uiDisplay.h"
#include "uiEnvelope.h"
#include "uiMultilevelOptionMenu.h"
#include "uiResizer.h"
#include "uiSingles.h"
#include "uiSourceMix.h"

using namespace VSTGUI;
using zentlib::EParam;

namespace
{
// The id the description loader stores a view's custom-view-name under, 'uicv', spelled out: compilers
// that warn about multi-character constants give the same value.
constexpr CViewAttributeID kCustomViewName = CViewAttributeID('u') << 24 | CViewAttributeID('i') << 16 |
                                             CViewAttributeID('c') << 8 | CViewAttributeID('v');
constexpr uint32_t kTooltipDelayMs = 500;
// How often the window picks up what other threads reported; a little faster than a screen refresh.
constexpr uint32_t kRelayIntervalMs = 15;

std::string customViewName(const CView* view)
{
	uint32_t size = 0;
	if (!view->getAttributeSize(kCustomViewName, size) || size == 0)
		return {};
	std::string name(size, '\0');
	view->getAttribute(kCustomViewName, size, name.data(), size);
	// The loader stores the terminating zero with the text.
	name.resize(name.find('\0') == std::string::npos ? size : name.find('\0'));
	return name;
}
}

ZentEditor::ZentEditor(zentlib::Plugin& plugin, void* parent, VSTGUI::VSTGUIEditorInterface* editorInterface,
                       ZentEditorListener* listener, const VSTGUI::CRect& rect, VSTGUI::PlatformType platformType,
                       VSTGUI::IPlatformFrameConfig* frameConfig)
: m_plugin(plugin)
, m_parent(parent)
, m_editorInterface(editorInterface)
, m_listener(listener)
, m_rect(rect)
, m_windowThread(std::this_thread::get_id())
{
	ZENT_LOG("Opening GUI");

	XmlContentProvider provider;
	auto description = owned(new UIDescription(&provider));
	if (!description->parse())
	{
		ZENT_LOG("Failed to parse UI description");
		return;
	}
	// The frame takes over the reference the description hands out.
	CView* templateView = description->createView("Virel", nullptr);
	if (!templateView)
	{
		ZENT_LOG("Failed to create the editor template");
		return;
	}

	CRect size(m_rect);
	validateRect(size);

	m_frame = new CFrame(size, m_editorInterface);
	m_frame->setTransparency(true);
	m_frame->setBitmapInterpolationQuality(BitmapInterpolationQuality::kHigh);
	m_frame->addView(templateView);
	m_frame->open(m_parent, platformType, frameConfig);

	initializeViews(templateView);

	m_zoom = size.getWidth() / kTemplateWidth;
	setFrameZoomTransform();
	m_rect = m_frame->getViewSize();
	if (m_rect != rect && m_listener)
		m_listener->onSizeChanged();

	m_frame->enableTooltips(true, kTooltipDelayMs);

	m_relayTimer = owned(new CVSTGUITimer([this](CVSTGUITimer*) { applyRelayedCalls(); }, kRelayIntervalMs));
}

ZentEditor::~ZentEditor()
{
	m_relayTimer = nullptr;

	if (m_clickableLogo)
		m_clickableLogo->unregisterViewMouseListener(this);
	if (m_btDonate)
		m_btDonate->unregisterViewMouseListener(this);

	m_bitmapSmallOff = nullptr;
	m_bitmapSmallOn = nullptr;
	m_bitmapSmallRed = nullptr;
	m_bitmapLargeOff = nullptr;
	m_bitmapLargeOn = nullptr;

	for (auto& entry : m_multilevelMenus)
		entry.reset();

	m_display.reset();
	m_singles.reset();
	m_resizer.reset();
	m_sourceMix.reset();

	// The envelope is a view of the tree now; the frame deletes it with the rest.
	m_envelope = nullptr;

	if (m_frame)
	{
		m_frame->close();
		m_frame = nullptr;
	}
}

void ZentEditor::getViewsByCustomViewName(ViewsByName& out, CView* view)
{
	const std::string name = customViewName(view);
	if (!name.empty())
		out[name].push_back(view);
	if (auto* container = view->asViewContainer())
		for (uint32_t i = 0; i < container->getNbViews(); ++i)
			getViewsByCustomViewName(out, container->getView(i));
}

template <typename T>
T* ZentEditor::initView(const std::string& name)
{
	const auto found = m_viewsByName.find(name);
	if (found == m_viewsByName.end())
	{
		ZENT_LOG("Failed to find view named " << name);
		return nullptr;
	}
	for (CView* view : found->second)
		if (auto* typed = dynamic_cast<T*>(view))
			return typed;
	ZENT_LOG("View named " << name << " not found as required type");
	return nullptr;
}

template CViewContainer* ZentEditor::initView<CViewContainer>(const std::string&);
template CKickButton* ZentEditor::initView<CKickButton>(const std::string&);
template CView* ZentEditor::initView<CView>(const std::string&);
template CTextEdit* ZentEditor::initView<CTextEdit>(const std::string&);
template CTextLabel* ZentEditor::initView<CTextLabel>(const std::string&);

void ZentEditor::initializeViews(CView* root)
{
	getViewsByCustomViewName(m_viewsByName, root);

	for (const auto& [name, views] : m_viewsByName)
		for (CView* view : views)
			if (auto* control = dynamic_cast<CControl*>(view))
				control->setListener(this);

	bindParameterViews();

	m_modePlay = initView<CViewContainer>("mode_play");
	m_modeEdit = initView<CViewContainer>("mode_edit");
	m_editCommon = initView<CViewContainer>("edit_common");
	m_editSource = initView<CViewContainer>("edit_source");

	m_btModeEdit = initView<CKickButton>("btModeEdit");
	m_btModePlay = initView<CKickButton>("btModePlay");
	m_btEditCommon = initView<CKickButton>("btEditCommon");
	m_btWaveDec = initView<CKickButton>("btWaveDec");
	m_btWaveInc = initView<CKickButton>("btWaveInc");
	m_btCoarseDec = initView<CKickButton>("btCoarseDec");
	m_btCoarseInc = initView<CKickButton>("btCoarseInc");
	m_btCoarseDecText = initView<CView>("btCoarseDecText");
	m_btCoarseIncText = initView<CView>("btCoarseIncText");
	m_editSingleName = initView<CTextEdit>("editSingleName");

	takeButtonBitmaps();
	createControllers();

	m_activeSource = 0;
	valueChanged(m_btEditSource[0]);
	valueChanged(m_btModePlay);

	updateEditSingleName();

	for (uint32_t p = 0; p < zentlib::ParamCount; ++p)
	{
		const auto parameter = static_cast<EParam>(p);
		onParamChanged(parameter, m_plugin.getParameter(parameter));
	}

	m_clickableLogo = initView<CView>("clickableLogo");
	m_btDonate = initView<CView>("btDonate");
	if (m_clickableLogo)
		m_clickableLogo->registerViewMouseListener(this);
	if (m_btDonate)
		m_btDonate->registerViewMouseListener(this);
}

void ZentEditor::bindParameterViews()
{
	for (uint32_t p = 0; p < zentlib::ParamCount; ++p)
	{
		const auto parameter = static_cast<EParam>(p);
		const auto found = m_viewsByName.find(zentlib::CParam::getEnumString(parameter));
		if (found == m_viewsByName.end())
			continue;
		for (CView* view : found->second)
		{
			if (auto* button = dynamic_cast<CKickButton*>(view))
			{
				m_kickButtons[p] = button;
			}
			else if (auto* menu = dynamic_cast<COptionMenu*>(view))
			{
				initOptionMenu(menu, p);
				m_menus[p] = menu;
				if (parameter == zentlib::Param_SourceS1Coarse || parameter == zentlib::Param_SourceS1Wave)
					m_multilevelMenus[p] = std::make_unique<uiMultilevelOptionMenu>(menu);
			}
			else if (auto* label = dynamic_cast<CTextLabel*>(view))
			{
				m_labels[p] = label;
			}
			else if (auto* control = dynamic_cast<CControl*>(view))
			{
				m_controls[p] = control;
				// Fine adjustment with the modifier held moves the knob half as fast.
				if (auto* knob = dynamic_cast<CKnobBase*>(control))
					knob->setZoomFactor(2.f);
			}
		}
	}
	tagParameterControls();
}

// The toolkit reports a drag or click on a control to the owner as an edit gesture under the control's
// tag, and the owner hands the tag to the host as the parameter being edited. So each control carries
// the parameter it drives right now; the window itself still tells controls apart by pointer.
void ZentEditor::tagParameterControls()
{
	for (uint32_t p = 0; p < zentlib::ParamCount; ++p)
		for (CControl* control : {static_cast<CControl*>(m_kickButtons[p]), static_cast<CControl*>(m_menus[p]),
		                          m_controls[p]})
			if (control && control->getTag() != static_cast<int32_t>(p))
				control->setTag(static_cast<int32_t>(p));
}

void ZentEditor::takeButtonBitmaps()
{
	for (size_t s = 0; s < 4; ++s)
	{
		m_btEditSource[s] = initView<CKickButton>(std::string("btEditSource") + static_cast<char>('A' + s));
		initView<CKickButton>(std::string("Param_SourceS") + static_cast<char>('1' + s) + "Mute");
	}

	// The description draws each button state once; the window re-uses those pictures on other buttons.
	auto backgroundOf = [](CView* view) { return view ? view->getBackground() : nullptr; };
	m_bitmapSmallOff = backgroundOf(m_kickButtons[zentlib::Param_SourceS1Mute]);
	m_bitmapSmallOn = backgroundOf(m_kickButtons[zentlib::Param_SourceS2Mute]);
	m_bitmapSmallRed = backgroundOf(m_kickButtons[zentlib::Param_SourceS3Mute]);
	m_bitmapLargeOff = backgroundOf(m_kickButtons[zentlib::Param_SourceS1VibABend]);
	m_bitmapLargeOn = backgroundOf(m_kickButtons[zentlib::Param_SourceS1PressureToFreq]);

	for (size_t p = zentlib::Param_SourceS1Mute; p <= zentlib::Param_SourceS4Mute; ++p)
		if (m_kickButtons[p])
			m_kickButtons[p]->setBackground(m_bitmapSmallOff);
}

void ZentEditor::createControllers()
{
	m_display = std::make_unique<uiDisplay>(*this);
	m_singles = std::make_unique<uiSingles>(*this);
	m_resizer = std::make_unique<uiResizer>(*this);
	m_sourceMix = std::make_unique<uiSourceMix>(*this);

	CView* placeholder = initView<CView>("envdummy");
	if (placeholder && m_editSource)
	{
		m_envelope = new uiEnvelope(*this, placeholder->getViewSize(), nullptr, 0, nullptr);
		m_editSource->addView(m_envelope);
	}
}

void ZentEditor::setFrameZoomTransform()
{
	m_frame->setTransform(CGraphicsTransform().scale(m_zoom, m_zoom));
}

VSTGUI::CMouseEventResult ZentEditor::viewOnMouseUp(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

VSTGUI::CMouseEventResult ZentEditor::viewOnMouseMoved(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}

VSTGUI::CMouseEventResult ZentEditor::viewOnMouseCancel(CView*)
{
	return kMouseEventNotImplemented;
}

void ZentEditor::viewOnMouseEntered(CView*) {}

void ZentEditor::viewOnMouseExited(CView*) {}

void ZentEditor::viewOnMouseEnabled(CView*, bool) {}
