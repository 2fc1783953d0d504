#pragma once
// Internal to the window layer: the record of one window and the table that
// resolves handles to records.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>
#include "platform/win/WinApi.h"

struct TWindowRecord {
    HWND handle = nullptr;
    std::string className;
    DWORD classStyle = 0;
    std::vector<std::unique_ptr<WNDPROC>> procs; // every routine ever installed stays alive
    WNDPROC* proc = nullptr;                     // the current one
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT_PTR id = 0;
    HWND parent = nullptr;
    std::vector<HWND> children;
    QPointer<QWidget> widget;
    void* data = nullptr;
    bool redraw = true;
    HFONT font = nullptr;
    std::string text;
    int callDepth = 0;
    bool destroying = false;
    SCROLLINFO scroll[2];
    bool scrollShown[2] = {false, false};
    // How far the client area lies inside each edge of the window (left, top, right,
    // bottom), as the window answered WM_NCCALCSIZE last; the scroll bars come off after.
    RECT nonClient;
};

namespace WindowTable {
TWindowRecord* Find(HWND hwnd);
// The frame width the window's style asks for (WS_BORDER 1, WS_EX_CLIENTEDGE 2).
int FrameWidth(const TWindowRecord& r);
// Asks the window for its client area (WM_NCCALCSIZE) and keeps the answer in nonClient.
void UpdateNonClient(HWND hwnd);
} // namespace WindowTable
