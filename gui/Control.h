// SPDX-License-Identifier: MIT
// Controls: TControl (anything with bounds in a parent), TGraphicControl (drawn on its
// parent's surface) and TWinControl (a control with a window of its own).
#pragma once

#include "gui/Component.h"
#include "gui/Graphics.h"
#include "gui/Messages.h"
#include "platform/backend.h"

#include <memory>
#include <vector>

namespace vx {

class TWinControl;
class TPopupMenu;
class TForm;

// Control styles.
inline constexpr uint32_t csAcceptsControls = 1u << 0; // may hold child controls
inline constexpr uint32_t csDoubleClicks = 1u << 1;    // a quick second click is a double click
using TControlStyle = uint32_t;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    [[nodiscard]] const char* ClassName() const override { return "TControl"; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

    // Starts dragging this control: at once, or once the pointer has moved Threshold pixels
    // with the button held. Drag-over reports go to the control under the pointer, and
    // OnEndDrag runs however the drag ends.
    void BeginDrag(bool Immediate, int Threshold = -1);
    [[nodiscard]] bool Dragging() const;
    // Called by the drag manager.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DoEndDrag(TObject* Target, int X, int Y);

    [[nodiscard]] TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    [[nodiscard]] int Left() const { return FLeft; }
    [[nodiscard]] int Top() const { return FTop; }
    [[nodiscard]] int Width() const { return FWidth; }
    [[nodiscard]] int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    [[nodiscard]] TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    [[nodiscard]] virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
    [[nodiscard]] int ClientWidth() const { return ClientRect().Width(); }
    [[nodiscard]] int ClientHeight() const { return ClientRect().Height(); }
    [[nodiscard]] virtual TPoint ClientToScreen(TPoint point) const;
    [[nodiscard]] TPoint ScreenToClient(TPoint point) const;

    [[nodiscard]] TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    [[nodiscard]] bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents.
    [[nodiscard]] virtual bool Showing() const;
    [[nodiscard]] bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    [[nodiscard]] const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& value);
    [[nodiscard]] TColor Color() const { return FColor; }
    virtual void SetColor(TColor value);
    [[nodiscard]] TFont& Font() { return FFont; }
    [[nodiscard]] const TFont& Font() const { return FFont; }
    [[nodiscard]] bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    [[nodiscard]] TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    [[nodiscard]] bool ShowHint() const { return FShowHint; }
    [[nodiscard]] const std::u16string& Hint() const { return FHint; }

    // Repaints the control soon.
    virtual void Invalidate();

    [[nodiscard]] TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }

    // Sends a control message to this control's handler; returns its result.
    intptr_t Perform(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
    // True while this control holds the mouse capture for a press.
    [[nodiscard]] bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // Input arriving from the window system, in client coordinates.
    void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void HandleMouseMove(TShiftState shift, int x, int y);
    void HandleDoubleClick(TShiftState shift, int x, int y);

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

    // The form that this control is on, or null.
    [[nodiscard]] TForm* ParentForm() const;

protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual void TextChanged() { Invalidate(); }
    virtual void WndProc(TMessage& message);
    virtual void CMDialogKey(TMessage& message);
    virtual void CMDialogChar(TMessage& message);
    virtual void CMFocusChanged(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void FontChanged() { Invalidate(); }
    virtual void ParentFontChanged();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The rectangle this control covers on its parent's window surface.
    [[nodiscard]] TRect Placement() const { return BoundsRect(); }

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    std::u16string FCaption;
    TColor FColor = clBtnFace;
    TFont FFont;
    bool FParentFont = true;
    TPopupMenu* FPopupMenu = nullptr;
    bool FShowHint = false;
    bool FParentShowHint = true;
    std::u16string FHint;
    bool FMouseDownLeft = false;
    TControlStyle FControlStyle = csDoubleClicks;

    friend class TWinControl;
};

// Drawn by its parent window onto the parent's surface.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
    [[nodiscard]] const char* ClassName() const override { return "TGraphicControl"; }
    void Invalidate() override;
    // Paints the control on its parent's canvas, already shifted to the control's origin.
    void PaintOn(TCanvas& canvas);

protected:
    virtual void Paint(TCanvas& canvas) = 0;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    [[nodiscard]] const char* ClassName() const override { return "TWinControl"; }

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    [[nodiscard]] bool HandleAllocated() const { return FHandle != nullptr; }
    // The window, created on first use (with the windows of its parents).
    wapi::HWND Handle();
    [[nodiscard]] wapi::HWND HandleIfAllocated() const { return FHandle; }

    [[nodiscard]] int ControlCount() const { return int(FControls.size()); }
    [[nodiscard]] TControl* Controls(int index) const { return FControls.at(size_t(index)); }
    // The enabled, visible child at a client point, topmost first, if any.
    [[nodiscard]] TControl* ControlAtPos(TPoint point, bool allowDisabled) const;

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    [[nodiscard]] TRect ClientRect() const override;
    [[nodiscard]] TPoint ClientToScreen(TPoint point) const override;
    void Invalidate() override;

    [[nodiscard]] int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value) { FTabOrder = value; }
    [[nodiscard]] bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    [[nodiscard]] bool Focused() const;
    [[nodiscard]] virtual bool CanFocus() const;
    virtual void SetFocus();

    // Events arriving from the window system.
    virtual void HandlePaint(wapi::HDC dc);
    virtual void HandleResized();
    void HandleKeyDown(uint16_t& key, TShiftState shift);
    void HandleKeyUp(uint16_t& key, TShiftState shift);
    void HandleChar(char16_t& key);
    void HandleFocusIn();
    void HandleFocusOut();

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;
    void Loaded() override;

    // Lays out the children that have an alignment.
    void Realign();
    // Sends a message to every child until one handles it.
    void Broadcast(TMessage& message);

    // A canvas on the control's window; it takes the window's device context on first use.
    TCanvas& ControlCanvas();

    // The control's brush follows its colour; a change of it repaints.
    [[nodiscard]] TBrush& Brush() { return FBrush; }
    void SetColor(TColor value) override;

protected:
    virtual void CreateParams(backend::WindowParams& params);
    virtual void CreateHandle();
    void DestroyHandle();
    // Paints the background and the graphic children; subclasses paint on top.
    virtual void PaintWindow(TCanvas& canvas);
    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char16_t& Key);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void ParentBoundsChanged();
    void ParentFontChanged() override;
    void FontChanged() override;
    // Called once the window exists.
    virtual void CreateWnd() {}
    // The brush changed; repaints by default.
    virtual void BrushChanged() { Invalidate(); }
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;

    wapi::HWND FHandle = nullptr;
    std::vector<TControl*> FControls; // children, in z-order (last on top)
    int FTabOrder = -1;
    bool FTabStop = false;
    TBrush FBrush;
    class WindowCanvas;
    std::unique_ptr<WindowCanvas> FCanvas;

private:
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    friend class TControl;
};

// Maps a window back to its control, for the event sink.
TWinControl* FindControl(wapi::HWND window);

} // namespace vx
