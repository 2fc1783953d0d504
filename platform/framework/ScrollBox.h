#pragma once
// The scroll box: a container whose children scroll with its scroll bars. With
// AutoScroll a bar's extent is the larger of its Range and the children's extent;
// without, Range alone. A bar shows when it is Visible and its extent exceeds the
// client area. Scrolling moves the children, so their Left and Top change with it.
#include <memory>

#include "platform/framework/Controls.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBox;

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollBox* Control, TScrollBarKind Kind) : FControl(Control), FKind(Kind) {}
    void Assign(TPersistent* Source) override;
    TScrollBarKind Kind() const { return FKind; }
    int Range() const { return FRange; }
    void SetRange(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Kept for the form reader; the thumb scrolls while dragged either way, as the
    // window reports no thumb release.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    // The bar's thickness and arrow size; 0 is the style's, and the style decides.
    int Size() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }
    int ButtonSize() const { return FButtonSize; }
    void SetButtonSize(int Value) { FButtonSize = Value; }
    // Pixels a line step scrolls.
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = std::max(1, Value); }
    bool IsScrollBarVisible() const { return FShown; }

private:
    friend class TScrollBox;
    int Bar() const;
    // The scroll box's client extent along the bar.
    int ClientSize() const;
    // The extent of the scrolled area: Range, with AutoScroll the children's too.
    int Extent() const;
    int MaxPosition() const { return std::max(0, Extent() - ClientSize()); }
    // The new position for a scroll bar message's code, or -1 for none.
    int PositionFor(int Code) const;
    void Update();
    TScrollBox* FControl;
    TScrollBarKind FKind;
    int FRange = 0;
    int FPosition = 0;
    bool FVisible = true;
    bool FTracking = false;
    int FSize = 0;
    int FButtonSize = 0;
    int FIncrement = 8;
    bool FShown = false;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    ~TScrollBox() override;
    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    void SetHorzScrollBar(TControlScrollBar* Value);
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    void SetVertScrollBar(TControlScrollBar* Value);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // Moves the children by the distances given.
    void ScrollBy(int DeltaX, int DeltaY);
    // The bars after a change of the children, the ranges or the size.
    void UpdateScrollBars();

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;

private:
    friend class TControlScrollBar;
    // How far the children reach along a bar's direction, scrolled back to position 0.
    int ChildrenExtent(const TControlScrollBar& Bar) const;
    void ScrollMessage(TControlScrollBar& Bar, int Code);
    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FUpdatingBars = false;
};
