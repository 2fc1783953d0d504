#pragma once
// The native tree window: one object per window of class WC_TREEVIEWA, kept in
// the window's private data. It answers the TVM_* messages, sends the TVN_* and
// NM_* notifications to the parent window, lays out, paints, scrolls, hit-tests,
// and handles the keyboard, the mouse, label editing and tooltips.
//
// Notification handlers are application code: they may send messages back, delete
// items, destroy the window or throw. Every path below re-resolves item handles
// after a notification and keeps its state consistent when one throws.
#include <QElapsedTimer>
#include <QFont>
#include <QPoint>
#include <memory>
#include <string>
#include <unordered_map>
#include "platform/win/CommCtrl.h"
#include "platform/win/WinApi.h"
#include "platform/tree/LabelCache.h"
#include "platform/tree/RowGeometry.h"
#include "platform/tree/TreeItemStore.h"

class QPainter;
class QTimer;

namespace lxtree {

// Messages the engine posts to itself.
constexpr UINT TVM_PRIVATE_UPDATESCROLL = TV_FIRST + 0xF0;
// The last message number of the range that holds the TVM_* messages and ours.
constexpr UINT kLastTreeMessage = TV_FIRST + 0xFF;
// The narrowest indent that TVM_SETINDENT accepts.
constexpr int kMinIndent = 5;

class TNativeTreeWindow {
public:
    explicit TNativeTreeWindow(HWND hwnd);
    ~TNativeTreeWindow();
    TNativeTreeWindow(const TNativeTreeWindow&) = delete;
    TNativeTreeWindow& operator=(const TNativeTreeWindow&) = delete;

    // The class's window routine.
    static LRESULT ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    friend class TEngineCall;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    TSlot ItemOf(LPARAM value) const;
    // The item a message names as a parent or a subtree: the root for TVI_ROOT and for
    // null, a live item for its handle, kNil for a stale or foreign handle.
    TSlot ItemOrRoot(HTREEITEM h) const;

    // ---- Message families (NativeTree.cpp); each clears *handled for a message not its own.
    LRESULT ItemMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT ViewMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT EditMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT LookMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT LifeMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT SurfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT InputMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT SelectItemMessage(UINT code, LPARAM value);
    LRESULT EnsureVisibleMessage(TSlot s);
    LRESULT SetInsertMark(LPARAM value, bool after);
    LRESULT ReplaceColor(COLORREF& field, LPARAM value, bool repaint);
    LRESULT SetImageList(WPARAM kind, HIMAGELIST list);
    LRESULT SetItemHeight(int height);
    LRESULT SetToolTips(HWND tip);
    void OnStyleChanged();
    LRESULT ChildNotify(NMHDR* hdr, bool* handled);

    // ---- Notifications (NativeTreeNotify.cpp)
    LRESULT Notify(NMHDR& hdr, int code);
    void FillItemRecord(TVITEMA& item, TSlot s) const;
    // The record of a TVN_* notification about oldItem and newItem (either may be kNil).
    NMTREEVIEWA TreeViewRecord(UINT action, TSlot oldItem, TSlot newItem, POINT pt = {}) const;
    LRESULT NotifyTreeView(int code, UINT action, TSlot oldItem, TSlot newItem, POINT pt = {});
    // TVN_DELETEITEMA for s, to the deletion routine when one is set; header is the
    // notification header made once for a whole deletion.
    void ReportDeletion(TSlot s, const NMHDR& header);
    NMHDR DeletionHeader() const;
    std::string ItemText(TSlot s);
    int ItemImage(TSlot s, bool selected);
    bool ItemHasChildren(TSlot s);
    bool ItemHasButton(TSlot s);
    int AskChildren(TSlot s);

    // ---- Items (NativeTreeItems.cpp)
    HTREEITEM InsertItem(const TVINSERTSTRUCTA& insert);
    TSlot SortedPosition(TSlot parent, const std::string& text);
    BOOL DeleteItem(HTREEITEM h);
    void DeleteAll();
    void DeleteChildren(TSlot parent);
    void DeleteSubtree(TSlot s);
    void ForgetItemsOf(TSlot subtree);
    BOOL GetItem(TVITEMEXA& item, bool extended);
    BOOL SetItem(const TVITEMEXA& item, bool extended);
    void StoreItemFields(TSlot s, const TVITEMEXA& item, bool extended, bool linked);
    void SetItemState(TSlot s, UINT state, UINT mask);
    HTREEITEM GetNextItem(UINT code, HTREEITEM h);
    BOOL SortChildrenOf(HTREEITEM parent, bool recurse, PFNTVCOMPARE compare, LPARAM data);
    BOOL SortChildren(TSlot parent, bool recurse, PFNTVCOMPARE compare, LPARAM data);
    // ---- Ordering children as told (NativeTreeOrder.cpp)
    BOOL OrderChildren(const TVORDERCHILDREN& order);
    using TSlotPair = std::pair<std::uint32_t, std::uint32_t>;
    bool KeysOfChildren(TSlot parent, const TVORDERCHILDREN& order, std::vector<TSlotPair>& present,
                        std::vector<UINT>& keyOfPlace) const;
    bool IsLiveItem(TSlot s) const;

    // ---- Expansion and selection (NativeTreeSelect.cpp)
    BOOL Expand(TSlot s, UINT action, bool notify);
    bool ExpandByUser(TSlot s, UINT action);
    void ExpandAllBelow(TSlot s);
    bool SelectCaret(TSlot s, UINT cause);
    void MoveCaretOutOf(TSlot subtree);
    void SetDropHilite(TSlot s);
    bool EnsureVisible(TSlot s, bool* expanded = nullptr);
    bool ExpandAncestors(TSlot s);
    void SingleExpand(HTREEITEM oldCaret, HTREEITEM newCaret);
    void SelectByUser(TSlot s, UINT cause);

    // ---- Layout and scrolling (NativeTreeLayout.cpp)
    void ReadStyle();
    void SetFont(HFONT font);
    void UpdateDefaultItemHeight();
    int ItemHeight() const { return FItemHeight; }
    int ClientWidth() const;
    int ClientHeight() const;
    int PageRows() const;
    std::uint32_t TopRow();
    void SetTopRow(std::int64_t row);
    void SetTopItem(TSlot s);
    void ClampTop();
    void ScrollRows(std::int64_t rows);
    void ScrollHorizontally(int pos);
    void OnVScroll(int code, int position);
    void OnHScroll(int code, int position);
    int ThumbPosition(int bar, int position) const;
    void OnMouseWheel(int delta);
    void UpdateScrollBars();
    void LayoutChanged();
    int RootColumns() const;
    TItemGeometry Geometry(TSlot s, int top, int labelWidth = -1);
    bool ItemTop(TSlot s, int* top);
    bool ItemRow(TSlot s, RECT* row);
    bool ItemGeometry(TSlot s, TItemGeometry* g);
    TVisibleRows VisibleRows() const { return TVisibleRows(FItems, FTop, FItemHeight); }
    const TRowsInView& RowsInView();
    int LabelWidth(TSlot s);
    QFont ItemFont(TSlot s) const;
    BOOL GetItemRect(RECT* rect, bool labelOnly);
    HTREEITEM HitTest(TVHITTESTINFO& info);
    TSlot ItemAtPoint(int y, int* top);
    void InvalidateItem(TSlot s);
    void Invalidate();

    // ---- Painting (NativeTreePaint.cpp)
    void Paint(HDC dc, const RECT& update);
    LRESULT CustomDraw(HDC dc, DWORD stage, const RECT& rc, TSlot s, UINT itemState, COLORREF* text,
                       COLORREF* textBk, int level);
    struct TItemLook;
    TItemLook LookOf(TSlot s) const;
    void PaintItem(HDC dc, TSlot s, int top, DWORD prepaintFlags);
    bool ItemPrePaint(HDC dc, TSlot s, const RECT& row, DWORD prepaintFlags, TItemLook& look, LRESULT* result);
    QFont PaintFont(HDC dc, TSlot s, LRESULT itemResult, bool hot, bool* custom) const;
    bool PaintItemParts(HDC dc, TSlot s, const TItemGeometry& g, const TItemLook& look, int rowRight);
    void PaintLabel(QPainter& p, TSlot s, const TItemGeometry& g, const TLabelLine& line, const TItemLook& look,
                    int rowRight);
    void PaintLines(QPainter& p, TSlot s, const TItemGeometry& g);
    void PaintButton(QPainter& p, TSlot s, const TItemGeometry& g);
    void PaintImages(HDC dc, TSlot s, const TItemGeometry& g);
    void PaintInsertMark(QPainter& p);
    COLORREF BackgroundColor() const;
    COLORREF TextColor() const;
    COLORREF LineColor() const;

    // ---- Keyboard and mouse (NativeTreeInput.cpp)
    void OnKeyDown(WORD vk);
    TSlot WalkVisible(TSlot s, int steps, bool down) const;
    void MoveCaretByKey(WORD vk, TSlot caret);
    void ActOnCaret(WORD vk, TSlot caret);
    void NotifyReturn();
    void OnChar(char32_t c);
    void IncrementalSearch(char32_t c);
    TSlot FindByPrefix(TSlot start, const QString& prefix);
    LRESULT GetSearchString(char* buffer);
    void OnButtonDown(bool right, WPARAM keys, POINT pt);
    void OnButtonUp(bool right, POINT pt);
    void OnDoubleClick(POINT pt);
    void OnMouseMove(WPARAM keys, POINT pt);
    void OnMouseLeave();
    void BeginDrag(bool right);
    void SetHotItem(TSlot s);
    void OnFocus(bool focused);
    void ArmLabelEditTimer(TSlot s);

    // ---- Label editing (NativeTreeEdit.cpp)
    HWND EditLabel(TSlot s);
    void EndEditLabel(bool cancel);
    LRESULT EditBoxProc(const WNDPROC& previous, HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);
    void PositionEditBox();

    // ---- Tooltips (NativeTreeToolTip.cpp)
    void CreateToolTip();
    void DestroyToolTip();
    void TrackToolTip(TSlot s);
    void ShowToolTip();
    void HideToolTip();
    LRESULT AnswerToolTipText(NMTTDISPINFOW& info);

    // ---- Drag image (NativeTreePaint.cpp)
    HIMAGELIST CreateDragImage(TSlot s);

    HWND FHwnd;
    TTreeItemStore FItems;
    TVDELETIONREPORT FDeletionReport = nullptr;
    void* FDeletionReportContext = nullptr;
    DWORD FStyle = 0;

    // Look.
    HFONT FFont = nullptr;     // the font in effect (WM_SETFONT or our own)
    HFONT FOwnFont = nullptr;  // made from the application font; freed with the engine
    QFont FQFont;
    int FItemHeight = 16;
    bool FCustomItemHeight = false;
    int FIndent = 19;
    COLORREF FBkColor = CLR_NONE;
    COLORREF FTextColor = CLR_NONE;
    COLORREF FLineColor = CLR_DEFAULT;
    COLORREF FInsertMarkColor = CLR_DEFAULT;
    HIMAGELIST FNormalImages = nullptr;
    HIMAGELIST FStateImages = nullptr;
    UINT FScrollTime = 50;
    BOOL FUnicodeFormat = FALSE;

    // Items with a special role.
    TSlot FCaret = kNil;
    TSlot FDropHilite = kNil;
    TSlot FHot = kNil;
    TSlot FInsertMark = kNil;
    bool FInsertMarkAfter = false;
    TSlot FTop = kNil;
    std::unordered_map<TSlot, int> FCustomLabelWidths; // measured with a custom-draw font
    TLabelCache FLabels;

    // Layout and scrolling.
    std::uint64_t FTopRowEpoch = 0;
    std::uint32_t FTopRow = 0;
    TRowsInView FRowsInView;
    int FXPos = 0;
    int FContentWidth = 0; // the widest row painted since the layout last changed
    bool FRedraw = true;
    bool FVBarShown = false;
    bool FHBarShown = false;
    bool FLayoutDirty = false;
    bool FWholeViewPending = false; // the whole view is invalid and not yet painted
    int FLayoutBatch = 0; // while above 0, layout work waits for the end of a batch of deletions
    bool FScrollUpdatePosted = false;
    int FWheelRemainder = 0;
    bool FFocused = false;

    // Keyboard search.
    QString FSearch;
    bool FSkipChar = false; // the character of a key that already acted (+, -, *, Enter)
    QElapsedTimer FSearchClock;

    // Mouse.
    bool FPressed = false;
    bool FPressRight = false;
    QPoint FPressPoint;
    HTREEITEM FPressItem = nullptr;
    bool FDragReported = false;
    QTimer* FEditTimer = nullptr;
    HTREEITEM FEditTimerItem = nullptr;

    // Label editing.
    HWND FEdit = nullptr;
    HTREEITEM FEditItem = nullptr;

    // Tooltips.
    HWND FToolTip = nullptr;
    bool FOwnToolTip = false;
    HTREEITEM FTipItem = nullptr;
    QTimer* FTipTimer = nullptr;
    bool FTipShown = false;
    std::u16string FTipText;

    // Lifetime: the window may be destroyed from inside a notification.
    int FCallDepth = 0;
    bool FDeleteWhenIdle = false;
};

} // namespace lxtree
