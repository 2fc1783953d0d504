// Tooltip and info-tip texts of the native tree.
#include <QString>
#include <algorithm>
#include <cstring>

#include "control/lxTreeViewControl.h"

namespace {
// The longest text the tooltip request's inline buffer takes whole; longer texts are
// cut to their first TruncatedLength characters followed by "...".
constexpr int LongTextLength = 80;
constexpr int TruncatedLength = 76;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT ToolTipZOrderFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

void CopyToBuffer(const std::string& Text, char* Buffer, int Capacity)
{
    if (!Buffer || Capacity <= 0)
        return;
    const std::size_t n = std::min<std::size_t>(Text.size(), std::size_t(Capacity - 1));
    std::memcpy(Buffer, Text.data(), n);
    Buffer[n] = '\0';
}
} // namespace

LRESULT TCustomlxTreeView::NotifyGetInfoTip(NMTVGETINFOTIPA& Info)
{
    if (!OnHint)
        return 0;
    std::string newText;
    OnHint(this, reinterpret_cast<TlxTreeViewNode*>(Info.lParam), newText);
    CopyToBuffer(newText, Info.pszText, Info.cchTextMax);
    return 0;
}

void TCustomlxTreeView::WMNotify(TMessage& Message)
{
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    if (!header || header->code != TTN_NEEDTEXTW) {
        TWinControl::WMNotify(Message);
        return;
    }
    if (!AnswerLongToolTip(Message))
        DefaultHandler(Message);
}

// Answers a tooltip text request for the node under the cursor when its text is too
// long for the framework's own answer; true when the request is answered (or needs
// no answer at all).
bool TCustomlxTreeView::AnswerLongToolTip(TMessage& Message)
{
    auto& request = *reinterpret_cast<NMTTDISPINFOW*>(Message.LParam);
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(Handle(), &pt);
    TlxTreeViewNode* node = GetNodeAt(pt.x, pt.y);
    if (!node || node->Text().empty() || !(request.uFlags & TTF_IDISHWND))
        return true;
    QString text = QString::fromStdString(node->Text());
    if (text.size() < LongTextLength)
        return false;
    text = text.left(TruncatedLength) + QStringLiteral("...");
    std::memset(request.szText, 0, sizeof request.szText);
    const std::u16string wide = text.toStdU16String();
    std::copy_n(wide.begin(), std::min<std::size_t>(wide.size(), LongTextLength - 1), request.szText);
    request.hinst = nullptr;
    // The tooltip window comes to the top of the z-order, where it stays visible.
    SetWindowPos(request.hdr.hwndFrom, nullptr, 0, 0, 0, 0, ToolTipZOrderFlags);
    Message.Result = 1;
    return true;
}
