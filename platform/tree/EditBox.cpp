#include "platform/tree/EditBox.h"

#include <QKeyEvent>
#include <QPointer>
#include <cstring>

#include "platform/win/CommCtrl.h"
#include "platform/win/Gdi.h"
#include "platform/win/WindowWidget.h"

namespace lxtree {

namespace {

int QtKeyFromVirtualKey(WORD vk)
{
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    default: return 0;
    }
}

TEditBoxWidget* EditBoxOf(HWND hwnd) { return qobject_cast<TEditBoxWidget*>(WindowWidget(hwnd)); }

LRESULT CopyTextOut(const QString& text, WPARAM capacity, LPARAM buffer)
{
    if (!buffer || capacity == 0)
        return 0;
    const QByteArray bytes = text.toUtf8();
    const std::size_t n = std::min<std::size_t>(std::size_t(bytes.size()), capacity - 1);
    std::memcpy(reinterpret_cast<char*>(buffer), bytes.constData(), n);
    reinterpret_cast<char*>(buffer)[n] = '\0';
    return LRESULT(n);
}

} // namespace

TEditBoxWidget::TEditBoxWidget(HWND hwnd, QWidget* parent) : QLineEdit(parent), FHandle(hwnd)
{
    setFrame(true);
}

void TEditBoxWidget::keyPressEvent(QKeyEvent* e)
{
    QPointer<TEditBoxWidget> self(this);
    const HWND hwnd = FHandle;
    FDelivering = true;
    FKeyDownPassed = FCharPassed = false;
    const bool sent = SendKeyPressAsMessages(hwnd, e);
    if (!self)
        return;
    FDelivering = false;
    if (!IsWindow(hwnd) || WindowWidget(hwnd) != this)
        return; // the window went away while its routine ran
    const bool hasKey = VirtualKeyFromQt(e->key()) != 0;
    const bool hasText = !e->text().isEmpty();
    const bool passed = !sent || ((!hasKey || FKeyDownPassed) && (!hasText || FCharPassed));
    if (passed)
        QLineEdit::keyPressEvent(e);
}

void TEditBoxWidget::keyReleaseEvent(QKeyEvent* e)
{
    QPointer<TEditBoxWidget> self(this);
    SendKeyReleaseAsMessages(FHandle, e);
    if (self)
        QLineEdit::keyReleaseEvent(e);
}

void TEditBoxWidget::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    SendMessageA(FHandle, WM_SETFOCUS, 0, 0);
}

void TEditBoxWidget::focusOutEvent(QFocusEvent* e)
{
    QPointer<TEditBoxWidget> self(this);
    const HWND hwnd = FHandle;
    SendMessageA(hwnd, WM_KILLFOCUS, WPARAM(GetFocus()), 0);
    if (self)
        QLineEdit::focusOutEvent(e);
}

void TEditBoxWidget::HandleVirtualKey(WORD vk)
{
    const int key = QtKeyFromVirtualKey(vk);
    if (!key)
        return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QLineEdit::keyPressEvent(&press);
}

void TEditBoxWidget::HandleCharacter(char32_t c)
{
    if (c == 0x08)
        backspace();
    else if (c >= 0x20 && c != 0x7F)
        insert(QString::fromUcs4(&c, 1));
}

QWidget* CreateEditBoxWidget(HWND hwnd, QWidget* parent) { return new TEditBoxWidget(hwnd, parent); }

LRESULT EditBoxClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TEditBoxWidget* box = EditBoxOf(hwnd);
    if (!box)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        if (lParam)
            box->setText(QString::fromStdString(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (box->DeliveringKey())
            box->NoteKeyDownPassed();
        else
            box->HandleVirtualKey(WORD(wParam));
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (box->DeliveringKey())
            box->NoteCharPassed();
        else
            box->HandleCharacter(char32_t(wParam));
        return 0;
    case WM_SETFONT: {
        QFont font;
        if (FontFromHandle(reinterpret_cast<HFONT>(wParam), &font))
            box->setFont(font);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_SETTEXT:
        box->setText(lParam ? QString::fromUtf8(reinterpret_cast<const char*>(lParam)) : QString());
        return TRUE;
    case WM_GETTEXT:
        return CopyTextOut(box->text(), wParam, lParam);
    case WM_GETTEXTLENGTH:
        return LRESULT(box->text().toUtf8().size());
    case EM_SETSEL: {
        const int length = int(box->text().size());
        const int start = int(static_cast<std::intptr_t>(wParam));
        int end = int(lParam);
        if (start < 0) {
            box->deselect();
            return 0;
        }
        if (end < 0 || end > length)
            end = length;
        box->setSelection(std::min(start, length), end - std::min(start, length));
        return 0;
    }
    case EM_LIMITTEXT:
        box->setMaxLength(wParam == 0 ? 32767 : int(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace lxtree
