#include "platform/framework/ControlCanvas.h"

#include "platform/framework/Controls.h"
#include "platform/win/Gdi.h"

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TWinControl* Value)
{
    if (FControl == Value)
        return;
    FreeHandle();
    FControl = Value;
}

void TControlCanvas::FreeHandle()
{
    if (!HandleAllocated())
        return;
    HDC dc = Handle();
    SetHandle(nullptr);
    ReleaseDC(FWindow, dc);
    FWindow = nullptr;
}

void TControlCanvas::CreateHandle()
{
    if (!FControl)
        return;
    FWindow = FControl->Handle();
    SetHandle(GetDC(FWindow));
}
