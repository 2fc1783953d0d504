#pragma once
// The speed button: a tool button that takes no focus. Buttons of one parent with the
// same nonzero GroupIndex are exclusive: one Down releases the others; a click on a
// Down button releases it only with AllowAllUp. OnClick follows a click, after Down
// changed; Down set from code fires nothing.
#include <memory>

#include "platform/framework/WidgetControl.h"

class QToolButton;

class TSpeedButton : public TWidgetControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // Shown as the icon, the colour of its bottom-left pixel transparent.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // Only a grouped button stays down.
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    // Shared by the buttons of a group.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    QToolButton* ToolButton() const;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override;
    void Command(int Code) override;
    void ApplyCaption() override;

private:
    template <class F>
    void ForEachInGroup(F Action);
    void ShowDown();
    void ShowGlyph();
    bool FFlat = false;
    std::unique_ptr<TBitmap> FGlyph;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
};
