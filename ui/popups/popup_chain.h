#pragma once
// The skinned list pop-ups and their owner. Three levels: the function pop-up, its second-level
// pop-up and the macro choice pop-up, each owned (as a window) by the level below it. A choice
// ends the whole chain from inside the handler of the pop-up it was made in, and a handler may
// send to the main window, whose handlers close pop-ups too; so a pop-up is never destroyed under
// a running pop-up handler: closing hides its window at once, and the windows and objects of
// closed pop-ups go when the outermost pop-up handler has returned.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/popups/skinned_dialog.h"
#include "winlib/image_cache.h"

enum class PopupLevel { Menu = 0, SubMenu = 1, MacroChoice = 2 };

// A list pop-up of the chain: rows of one height drawn over a background image, cut by its
// region to its rows. Its messages run inside a handler scope; WM_CLOSE closes its level.
class PopupDialog : public SkinnedDialog {
public:
    // owner: the main window, where choices are reported.
    PopupDialog(int templateId, PopupLevel level, HWND owner) : SkinnedDialog(templateId), owner_(owner), level_(level) {}

    PopupLevel Level() const { return level_; }
    int32_t Width() const { return width_; }
    int32_t RowHeight() const { return rowHeight_; }
    int32_t PopupHeight() const { return popupHeight_; }
    int Rows() const { return rows_; }
    // The row under a client point, BUTTON_NONE for none.
    int HitTest(POINT point) const;
    void PaintTo(HDC dc) final;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    virtual const char16_t* BackgroundImage() const = 0;
    virtual void DrawItems(HDC dc) = 0;

    // Width from the mask image and row height from its height as in pop-up mode heightMode
    // (MenuRowHeight); the pop-up is rows high, plus extraHeight when it has rows. The window's
    // region becomes that rectangle.
    void SetGeometry(const char16_t* maskImage, int heightMode, int rows, int32_t extraHeight);
    const ImageBitmap* Image(const char16_t* name);
    // Copies the band of `row` (1-based) from an image to the same place of dc; nothing for
    // BUTTON_NONE or a row the pop-up does not have.
    void CopyRowStrip(HDC dc, const char16_t* image, int row);
    // Row text in the language's font, red when hovered, white otherwise, at the x of pop-up mode
    // textMode (MenuTextX).
    void DrawRowText(HDC dc, int row, const std::u16string& text, bool hovered, int textMode);
    // Moves a freshly created window of the next level to (x, y), 300 x 400, and shows it.
    static void PlaceAndShow(HWND window, int32_t x, int32_t y);
    // A pointer move that changes `hover` invalidates the pop-up and remembers it in `previous`.
    void TrackHover(POINT point, int& hover, int& previous);
    // The pop-up's top-left corner on the screen.
    POINT ScreenOrigin() const;
    // Closes this pop-up's level (and those above) when it is still open there.
    void CloseOwnLevel();
    // A choice in the second level or the macro choice: the whole chain closes, no skin button
    // stays hovered or owns a pop-up, and the main window shows the new assignment at once.
    void EndChoice();

    HWND owner_;

private:
    PopupLevel level_;
    ImageCache images_;
    int32_t width_ = 0;
    int32_t rowHeight_ = 0;
    int32_t popupHeight_ = 0;
    int rows_ = 0;
};

// While one lives, closed pop-ups wait; the outermost one to go destroys them.
class PopupHandlerScope {
public:
    PopupHandlerScope();
    ~PopupHandlerScope();
    PopupHandlerScope(const PopupHandlerScope&) = delete;
    PopupHandlerScope& operator=(const PopupHandlerScope&) = delete;
};

// Closes the pop-ups of `level` and every level above it (see above for when they go), and keeps
// g_pMenuPopup, g_pSubMenuPopup, g_pMacroChoicePopup, g_subMenuPopupOpen and
// g_macroChoicePopupOpen to what is open.
void ClosePopupLevels(PopupLevel level);

// Makes `popup` the pop-up of its level after closing that level and those above it, and creates
// its window with `parent`. Null when the window could not be made (the level stays closed).
PopupDialog* OpenPopup(std::unique_ptr<PopupDialog> popup, HWND parent);

// The window of an open level, null when none.
HWND PopupWindow(PopupLevel level);
