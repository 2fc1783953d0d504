#pragma once
// A small owner window for tree windows under test: it records the notifications
// the tree sends, answers the text, image and children questions, and lets a test
// answer any notification its own way.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win/CommCtrl.h"
#include "platform/win/WinApi.h"
#include "platform/tree/CommCtrlInit.h"

struct TTreeNote {
    int code = 0;
    UINT action = 0;
    HTREEITEM itemOld = nullptr;
    HTREEITEM itemNew = nullptr;
    LPARAM paramOld = 0;
    LPARAM paramNew = 0;
    POINT pt;
};

class TreeEngineTest : public ::testing::Test {
protected:
    static constexpr int kTreeId = 42;

    void SetUp() override
    {
        ASSERT_TRUE(InitCommonControl(ICC_TREEVIEW_CLASSES));
        Current() = this;
        if (!GetClassInfoA("TreeEngineTestOwner", nullptr)) {
            WNDCLASSA wc;
            wc.lpszClassName = "TreeEngineTestOwner";
            wc.lpfnWndProc = &OwnerProc;
            RegisterClassA(wc);
        }
        Owner = CreateWindowExA(0, "TreeEngineTestOwner", "", 0, 0, 0, 320, 240, nullptr, 0);
        ASSERT_TRUE(Owner);
    }

    void TearDown() override
    {
        Answer = nullptr;
        if (IsWindow(Owner))
            DestroyWindow(Owner);
        Current() = nullptr;
    }

    HWND CreateTree(DWORD style, int width = 200, int height = 160)
    {
        Tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | style, 0, 0, width, height, Owner,
                               kTreeId);
        return Tree;
    }

    // Shows the owner so that focus and painting behave as on a desktop.
    void ShowOwner()
    {
        QWidget* w = WindowWidget(Owner);
        w->show();
        w->activateWindow();
        QApplication::setActiveWindow(w);
        QApplication::processEvents();
    }

    HTREEITEM Insert(HTREEITEM parent, LPARAM param, HTREEITEM after = TVI_LAST,
                     LPSTR text = LPSTR_TEXTCALLBACKA, int children = -2)
    {
        TVINSERTSTRUCTA ins;
        ins.hParent = parent;
        ins.hInsertAfter = after;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        ins.item.pszText = text;
        ins.item.iImage = ins.item.iSelectedImage = I_IMAGECALLBACK;
        ins.item.lParam = param;
        if (children != -2) {
            ins.item.mask |= TVIF_CHILDREN;
            ins.item.cChildren = children;
        }
        return reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_INSERTITEMA, 0, LPARAM(&ins)));
    }

    HTREEITEM Next(UINT code, HTREEITEM item = nullptr)
    {
        return reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_GETNEXTITEM, code, LPARAM(item)));
    }
    HTREEITEM Caret() { return Next(TVGN_CARET); }

    LPARAM ParamOf(HTREEITEM item)
    {
        TVITEMEXA it;
        it.mask = TVIF_PARAM;
        it.hItem = item;
        return SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&it)) ? it.lParam : -1;
    }

    UINT StateOf(HTREEITEM item) { return UINT(SendMessageA(Tree, TVM_GETITEMSTATE, WPARAM(item), 0xFFFF)); }
    bool Expanded(HTREEITEM item) { return (StateOf(item) & TVIS_EXPANDED) != 0; }

    RECT ItemRect(HTREEITEM item, bool label)
    {
        RECT r;
        std::memcpy(static_cast<void*>(&r), &item, sizeof item);
        if (!SendMessageA(Tree, TVM_GETITEMRECT, label, LPARAM(&r)))
            return RECT{-1, -1, -1, -1};
        return r;
    }

    int CountOf(int code) const
    {
        int n = 0;
        for (const TTreeNote& note : Notes)
            n += note.code == code;
        return n;
    }
    std::vector<TTreeNote> NotesOf(int code) const
    {
        std::vector<TTreeNote> result;
        for (const TTreeNote& note : Notes)
            if (note.code == code)
                result.push_back(note);
        return result;
    }

    // Real Qt input, delivered to the tree's widget at client coordinates.
    void Mouse(QEvent::Type type, POINT pt, Qt::MouseButton button = Qt::LeftButton,
               Qt::MouseButtons held = Qt::NoButton)
    {
        QWidget* w = WindowWidget(Tree);
        POINT screen = pt;
        ClientToScreen(Tree, &screen);
        const QPointF global(screen.x, screen.y);
        const QPointF local = w->mapFromGlobal(global.toPoint());
        QMouseEvent e(type, local, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void Click(POINT pt, Qt::MouseButton button = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonPress, pt, button, button);
        Mouse(QEvent::MouseButtonRelease, pt, button, Qt::NoButton);
    }
    void DoubleClick(POINT pt)
    {
        Click(pt);
        Mouse(QEvent::MouseButtonDblClick, pt, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    }
    static void Key(QWidget* w, int key, const QString& text = QString(), Qt::KeyboardModifiers mods = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(w, &release);
    }
    void Key(int key, const QString& text = QString()) { Key(WindowWidget(Tree), key, text); }

    POINT LabelPoint(HTREEITEM item)
    {
        RECT r = ItemRect(item, true);
        return POINT{r.left + 3, (r.top + r.bottom) / 2};
    }

    HWND Owner = nullptr;
    HWND Tree = nullptr;
    std::vector<TTreeNote> Notes;
    std::map<LPARAM, std::string> Texts; // texts of callback items by lParam; "Item <n>" otherwise
    std::function<LRESULT(NMHDR*)> Answer;

private:
    static TreeEngineTest*& Current()
    {
        static TreeEngineTest* current = nullptr;
        return current;
    }

    static LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        TreeEngineTest* self = Current();
        if (msg == WM_CONTEXTMENU && self) {
            TTreeNote note;
            note.code = int(WM_CONTEXTMENU);
            self->Notes.push_back(note);
            return 0;
        }
        if (msg != WM_NOTIFY || !self)
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        self->Record(hdr);
        if (self->Answer)
            return self->Answer(hdr);
        return 0;
    }

    void Record(NMHDR* hdr)
    {
        TTreeNote note;
        note.code = hdr->code;
        switch (hdr->code) {
        case TVN_SELCHANGINGA:
        case TVN_SELCHANGEDA:
        case TVN_ITEMEXPANDINGA:
        case TVN_ITEMEXPANDEDA:
        case TVN_BEGINDRAGA:
        case TVN_BEGINRDRAGA:
        case TVN_DELETEITEMA:
        case TVN_SINGLEEXPAND: {
            auto* nm = reinterpret_cast<NMTREEVIEWA*>(hdr);
            note.action = nm->action;
            note.itemOld = nm->itemOld.hItem;
            note.itemNew = nm->itemNew.hItem;
            note.paramOld = nm->itemOld.lParam;
            note.paramNew = nm->itemNew.lParam;
            note.pt = nm->ptDrag;
            break;
        }
        case TVN_GETDISPINFOA:
            AnswerDispInfo(reinterpret_cast<NMTVDISPINFOA*>(hdr));
            break;
        default: break;
        }
        if (hdr->code != TVN_GETDISPINFOA && hdr->code != NM_CUSTOMDRAW)
            Notes.push_back(note);
    }

    void AnswerDispInfo(NMTVDISPINFOA* info)
    {
        if (info->item.mask & TVIF_TEXT) {
            auto found = Texts.find(info->item.lParam);
            const std::string text =
                found != Texts.end() ? found->second : "Item " + std::to_string(info->item.lParam);
            std::strncpy(info->item.pszText, text.c_str(), std::size_t(info->item.cchTextMax - 1));
            info->item.pszText[info->item.cchTextMax - 1] = '\0';
        }
        if (info->item.mask & TVIF_IMAGE)
            info->item.iImage = 0;
        if (info->item.mask & TVIF_SELECTEDIMAGE)
            info->item.iSelectedImage = 1;
        if (info->item.mask & TVIF_CHILDREN)
            info->item.cChildren = info->item.lParam % 2 == 0 ? 1 : 0;
    }
};
