#pragma once
// The in-place edit box: windows of class WC_EDITA ("Edit") whose widget is a
// QLineEdit. Keys reach the window routine as WM_KEYDOWN / WM_CHAR first, so that a
// routine installed with SetWindowProc can swallow them; whatever reaches the
// class's own routine is then handled by the QLineEdit as usual.
#include <QLineEdit>
#include "platform/win/WinApi.h"

namespace lxtree {

class TEditBoxWidget : public QLineEdit {
    Q_OBJECT
public:
    TEditBoxWidget(HWND hwnd, QWidget* parent);

    // Called by the class routine when a key message of the key being delivered
    // was not swallowed on its way.
    void NoteKeyDownPassed() { FKeyDownPassed = true; }
    void NoteCharPassed() { FCharPassed = true; }
    bool DeliveringKey() const { return FDelivering; }
    // Keys sent as messages by the program rather than typed.
    void HandleVirtualKey(WORD vk);
    void HandleCharacter(char32_t c);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    HWND FHandle;
    bool FDelivering = false;
    bool FKeyDownPassed = false;
    bool FCharPassed = false;
};

// The class routine of WC_EDITA.
LRESULT EditBoxClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
QWidget* CreateEditBoxWidget(HWND hwnd, QWidget* parent);

} // namespace lxtree
