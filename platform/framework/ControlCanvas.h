#pragma once
// The canvas of a windowed control outside its paint routine: its context is over the
// control's client area, so reading its pixels (CopyRect, Pixels) reads what the control
// shows now. Drawing belongs in the paint routine and raises here.
#include "platform/framework/Graphics.h"

class TWinControl;

class TControlCanvas : public TCanvas {
public:
    ~TControlCanvas() override;
    TWinControl* Control() const { return FControl; }
    void SetControl(TWinControl* Value);
    // Gives the context back; the next use takes a new one.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TWinControl* FControl = nullptr;
    HWND FWindow = nullptr;
};
