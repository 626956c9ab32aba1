#pragma once

#include "ctextlabel.h"

#include <functional>
#include <memory>
#include <vector>

namespace VSTGUI
{
class CTextEdit;
namespace Detail
{
class TextField;
struct LineSpan;
}

class ITextEditListener
{
public:
	virtual ~ITextEditListener () noexcept = default;
	virtual void onTextEditPlatformControlTookFocus (CTextEdit* textEdit) = 0;
	virtual void onTextEditPlatformControlLostFocus (CTextEdit* textEdit) = 0;
};

// The native text field is a line editor of our own: it exists while the control has the focus,
// takes the keys the frame gives the focus view, and hands its text back on commit. It has a
// caret, a selection made with the mouse or Shift and the arrows, and the desktop clipboard
// (Ctrl+A, C, X, V). Text longer than the field scrolls sideways to keep the caret in sight.
class CTextEdit : public CTextLabel
{
public:
	CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt = nullptr,
	           CBitmap* background = nullptr, const int32_t style = 0);
	CTextEdit (const CTextEdit& textEdit);
	~CTextEdit () noexcept override;

	void setText (const UTF8String& txt) override;
	void setValue (float val) override;

	virtual void setImmediateTextChange (bool state) { immediateTextChange = state; }
	bool getImmediateTextChange () const { return immediateTextChange; }
	virtual void setSecureStyle (bool state);
	bool getSecureStyle () const { return secureStyle; }
	virtual void setPlaceholderString (const UTF8String& str);
	const UTF8String& getPlaceholderString () const { return placeholderString; }

	using StringToValueFunction = std::function<bool (UTF8StringPtr txt, float& result, CTextEdit* textEdit)>;
	void setStringToValueFunction (const StringToValueFunction& func) { stringToValueFunction = func; }

	void registerTextEditListener (ITextEditListener* listener);
	void unregisterTextEditListener (ITextEditListener* listener);

	// The open field, or null when the control is not being edited.
	bool isFieldOpen () const { return platformTextEdit; }
	const UTF8String& getPlatformText () const { return platformText; }
	// The open field's caret and selection, as byte offsets into its text.
	size_t getCaret () const;
	size_t getSelectionStart () const;
	size_t getSelectionEnd () const;

	void draw (CDrawContext* pContext) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	void takeFocus () override;
	void looseFocus () override;

	CLASS_METHODS (CTextEdit, CParamDisplay)

protected:
	void openField ();
	void closeField ();
	void updateText ();
	void commit ();
	bool editKey (const VstKeyCode& keyCode);
	void paste ();
	std::string shownText () const;
	void drawField (CDrawContext* pContext);
	CRect textArea () const;
	// The open field's line in view coordinates: where its text starts (`textStart` as given to
	// the draw context, `glyphStart` where the glyphs land on the frame's pixels), how wide a part
	// of the field's text is drawn, and what the caret takes.
	CCoord textStart () const;
	CCoord glyphStart () const;
	CCoord widthOf (const std::string& fieldText) const;
	CCoord caretWidth () const;
	double pixelScale () const;
	CCoord toPixel (CCoord x) const;
	Detail::LineSpan lineSpan () const;
	size_t offsetAt (const CPoint& where) const;
	void revealCaret ();
	void dragTo (const CPoint& where);
	void stopDragScroll ();
	bool escapePressed {false};
	bool selecting {false};
	bool justOpened {false};

	std::vector<ITextEditListener*> textEditListeners;
	StringToValueFunction stringToValueFunction;
	UTF8String placeholderString;
	UTF8String platformText;
	bool platformTextEdit {false};
	bool immediateTextChange {false};
	bool secureStyle {false};
	bool returnPressed {false};
	std::unique_ptr<Detail::TextField> field;
	CCoord scrollOffset {0.};
	// While a drag selects with the pointer beyond the text's ends, this keeps scrolling.
	SharedPointer<CVSTGUITimer> dragScrollTimer;
	CPoint dragPoint;
};
} // VSTGUI
