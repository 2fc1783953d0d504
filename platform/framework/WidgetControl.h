#pragma once
// A windowed control whose window hosts one Qt widget filling its client area. The
// widget is made with the window and goes with it; the control's Enabled, Caption,
// Font and Color reach it, its focus changes reach the window as WM_SETFOCUS and
// WM_KILLFOCUS (so OnEnter and OnExit fire), and its signals come back to the control
// as CN_COMMAND messages: a handler may free the control, and the window layer then
// keeps the widget alive until the signal has returned.
#include <QPalette>
#include <QPointer>

#include "platform/framework/Controls.h"

class TWidgetControl : public TWinControl {
public:
    explicit TWidgetControl(TComponent* AOwner);
    ~TWidgetControl() override;

    // The hosted widget; null while the control has no window.
    QWidget* HostedWidget() const { return FWidget; }

protected:
    // Makes the hosted widget as a child of Parent; called each time the window is made.
    virtual QWidget* CreateHostedWidget(QWidget* Parent) = 0;
    // The control's properties given to a new widget; Caption, Color and Enabled are
    // already applied.
    virtual void InitHostedWidget() {}
    // A signal of the widget, passed on with Notify(Code).
    virtual void Command(int Code) { (void)Code; }
    virtual void ApplyCaption() {}
    // The palette role that Color paints; QPalette::NoRole leaves the palette alone.
    virtual QPalette::ColorRole ColorRole() const { return QPalette::Button; }
    void Notify(int Code);
    // Where the hosted widget lies in the window widget: the client area.
    virtual QRect HostedGeometry() const;

    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;

private:
    void ApplyColor();
    void ApplyEnabled();
    void FollowFocus(QWidget* Widget);
    QPointer<QWidget> FWidget;
};
