#pragma once
// The tree window's messages, notifications, records and constants, and those of
// the custom-draw protocol and the tooltip window it uses.
#include "platform/win/WinTypes.h"

struct TREEITEM__;
using HTREEITEM = TREEITEM__*;

constexpr const char* WC_TREEVIEWA = "SysTreeView32";
constexpr const char* WC_EDITA = "Edit";
constexpr const char* TOOLTIPS_CLASSA = "tooltips_class32";

// Tree styles.
constexpr DWORD TVS_HASBUTTONS = 0x0001, TVS_HASLINES = 0x0002, TVS_LINESATROOT = 0x0004,
                TVS_EDITLABELS = 0x0008, TVS_DISABLEDRAGDROP = 0x0010, TVS_SHOWSELALWAYS = 0x0020,
                TVS_RTLREADING = 0x0040, TVS_NOTOOLTIPS = 0x0080, TVS_CHECKBOXES = 0x0100,
                TVS_TRACKSELECT = 0x0200, TVS_SINGLEEXPAND = 0x0400, TVS_INFOTIP = 0x0800,
                TVS_FULLROWSELECT = 0x1000, TVS_NOSCROLL = 0x2000, TVS_NONEVENHEIGHT = 0x4000,
                TVS_NOHSCROLL = 0x8000;

// Item record masks.
constexpr UINT TVIF_TEXT = 0x0001, TVIF_IMAGE = 0x0002, TVIF_PARAM = 0x0004, TVIF_STATE = 0x0008,
               TVIF_HANDLE = 0x0010, TVIF_SELECTEDIMAGE = 0x0020, TVIF_CHILDREN = 0x0040,
               TVIF_INTEGRAL = 0x0080;

// Item states.
constexpr UINT TVIS_FOCUSED = 0x0001, TVIS_SELECTED = 0x0002, TVIS_CUT = 0x0004,
               TVIS_DROPHILITED = 0x0008, TVIS_BOLD = 0x0010, TVIS_EXPANDED = 0x0020,
               TVIS_EXPANDEDONCE = 0x0040, TVIS_EXPANDPARTIAL = 0x0080,
               TVIS_OVERLAYMASK = 0x0F00, TVIS_STATEIMAGEMASK = 0xF000, TVIS_USERMASK = 0xF000;
inline UINT INDEXTOSTATEIMAGEMASK(int i) { return UINT(i) << 12; }
inline UINT INDEXTOOVERLAYMASK(int i) { return UINT(i) << 8; }

inline const LPSTR LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(std::intptr_t(-1));
constexpr int I_IMAGECALLBACK = -1;
constexpr int I_IMAGENONE = -2;
constexpr int I_CHILDRENCALLBACK = -1;

struct TVITEMA {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    LPSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};
struct TVITEMEXA : TVITEMA {
    int iIntegral = 0;
};

#define TVI_ROOT reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000))
#define TVI_FIRST reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF))
#define TVI_LAST reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE))
#define TVI_SORT reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD))

struct TVINSERTSTRUCTA {
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = nullptr;
    TVITEMEXA item; // a TVITEMA, extended by iIntegral when the mask asks for it
};

// Messages.
constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_CREATEDRAGIMAGE = TV_FIRST + 18;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_GETISEARCHSTRINGA = TV_FIRST + 23;
constexpr UINT TVM_SETTOOLTIPS = TV_FIRST + 24;
constexpr UINT TVM_GETTOOLTIPS = TV_FIRST + 25;
constexpr UINT TVM_SETINSERTMARK = TV_FIRST + 26;
constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;
constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;
constexpr UINT TVM_GETBKCOLOR = TV_FIRST + 31;
constexpr UINT TVM_GETTEXTCOLOR = TV_FIRST + 32;
constexpr UINT TVM_SETSCROLLTIME = TV_FIRST + 33;
constexpr UINT TVM_GETSCROLLTIME = TV_FIRST + 34;
constexpr UINT TVM_SETINSERTMARKCOLOR = TV_FIRST + 37;
constexpr UINT TVM_GETINSERTMARKCOLOR = TV_FIRST + 38;
constexpr UINT TVM_GETITEMSTATE = TV_FIRST + 39;
constexpr UINT TVM_SETLINECOLOR = TV_FIRST + 40;
constexpr UINT TVM_GETLINECOLOR = TV_FIRST + 41;
// This tree window's own: while a routine is set (lParam, with wParam as its context;
// null lParam clears it), each deleted item is reported to it with the record of
// TVN_DELETEITEMA instead of through the parent window, sparing a large deletion a
// round trip per item.
constexpr UINT TVM_SETDELETIONREPORT = TV_FIRST + 0x70;
struct NMTREEVIEWA;
using TVDELETIONREPORT = void (*)(void* Context, NMTREEVIEWA& Info);
// Our own: puts a parent's children into a given order (lParam: a TVORDERCHILDREN).
constexpr UINT TVM_ORDERCHILDREN = TV_FIRST + 0xE0;
constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETUNICODEFORMAT = CCM_FIRST + 5;
constexpr UINT CCM_GETUNICODEFORMAT = CCM_FIRST + 6;

// TVM_EXPAND actions.
constexpr UINT TVE_COLLAPSE = 0x0001, TVE_EXPAND = 0x0002, TVE_TOGGLE = 0x0003,
               TVE_EXPANDPARTIAL = 0x4000, TVE_COLLAPSERESET = 0x8000;

// TVM_GETNEXTITEM / TVM_SELECTITEM codes.
constexpr UINT TVGN_ROOT = 0x0000, TVGN_NEXT = 0x0001, TVGN_PREVIOUS = 0x0002, TVGN_PARENT = 0x0003,
               TVGN_CHILD = 0x0004, TVGN_FIRSTVISIBLE = 0x0005, TVGN_NEXTVISIBLE = 0x0006,
               TVGN_PREVIOUSVISIBLE = 0x0007, TVGN_DROPHILITE = 0x0008, TVGN_CARET = 0x0009,
               TVGN_LASTVISIBLE = 0x000A;

// Image list kinds of TVM_SETIMAGELIST.
constexpr WPARAM TVSIL_NORMAL = 0, TVSIL_STATE = 2;

// Hit test.
constexpr UINT TVHT_NOWHERE = 0x0001, TVHT_ONITEMICON = 0x0002, TVHT_ONITEMLABEL = 0x0004,
               TVHT_ONITEMINDENT = 0x0008, TVHT_ONITEMBUTTON = 0x0010, TVHT_ONITEMRIGHT = 0x0020,
               TVHT_ONITEMSTATEICON = 0x0040,
               TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON,
               TVHT_ABOVE = 0x0100, TVHT_BELOW = 0x0200, TVHT_TORIGHT = 0x0400, TVHT_TOLEFT = 0x0800;
struct TVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

// Sorting with a callback: lParam1 and lParam2 are the items' application values.
using PFNTVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
struct TVSORTCB {
    HTREEITEM hParent = nullptr;
    PFNTVCOMPARE lpfnCompare = nullptr;
    LPARAM lParam = 0;
};

// Ordering without comparisons: phItems names every child of hParent (TVI_ROOT or
// null: the top level) once; the children are put in the order of their keys
// (puKeys[i] for phItems[i]), those of equal keys staying in their present order.
// Without keys the items are taken in the given order. Anything else is refused
// (FALSE) and leaves the children as they were.
struct TVORDERCHILDREN {
    HTREEITEM hParent = nullptr;
    const HTREEITEM* phItems = nullptr;
    const UINT* puKeys = nullptr;
    UINT cItems = 0;
};

// What a control answers to WM_GETDLGCODE: the keys it wants for itself.
constexpr LRESULT DLGC_WANTARROWS = 0x0001, DLGC_WANTALLKEYS = 0x0004, DLGC_WANTCHARS = 0x0080;

// Notifications.
constexpr int TVN_FIRST = -400;
constexpr int TVN_SELCHANGINGA = TVN_FIRST - 1;
constexpr int TVN_SELCHANGEDA = TVN_FIRST - 2;
constexpr int TVN_GETDISPINFOA = TVN_FIRST - 3;
constexpr int TVN_SETDISPINFOA = TVN_FIRST - 4;
constexpr int TVN_ITEMEXPANDINGA = TVN_FIRST - 5;
constexpr int TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr int TVN_BEGINDRAGA = TVN_FIRST - 7;
constexpr int TVN_BEGINRDRAGA = TVN_FIRST - 8;
constexpr int TVN_DELETEITEMA = TVN_FIRST - 9;
constexpr int TVN_BEGINLABELEDITA = TVN_FIRST - 10;
constexpr int TVN_ENDLABELEDITA = TVN_FIRST - 11;
constexpr int TVN_KEYDOWN = TVN_FIRST - 12;
constexpr int TVN_GETINFOTIPA = TVN_FIRST - 13;
constexpr int TVN_SINGLEEXPAND = TVN_FIRST - 15;
constexpr LRESULT TVNRET_DEFAULT = 0, TVNRET_SKIPOLD = 1, TVNRET_SKIPNEW = 2;

// Why a selection changed (NMTREEVIEWA::action of the selection notifications).
constexpr UINT TVC_UNKNOWN = 0x0000, TVC_BYMOUSE = 0x0001, TVC_BYKEYBOARD = 0x0002;

struct NMTREEVIEWA {
    NMHDR hdr;
    UINT action = 0;
    TVITEMA itemOld;
    TVITEMA itemNew;
    POINT ptDrag;
};
struct NMTVDISPINFOA {
    NMHDR hdr;
    TVITEMA item;
};
struct NMTVGETINFOTIPA {
    NMHDR hdr;
    LPSTR pszText = nullptr;
    int cchTextMax = 0;
    HTREEITEM hItem = nullptr;
    LPARAM lParam = 0;
};
struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

// Custom draw.
constexpr DWORD CDDS_PREPAINT = 0x00000001, CDDS_POSTPAINT = 0x00000002, CDDS_PREERASE = 0x00000003,
                CDDS_POSTERASE = 0x00000004, CDDS_ITEM = 0x00010000,
                CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT, CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT,
                CDDS_ITEMPREERASE = CDDS_ITEM | CDDS_PREERASE, CDDS_ITEMPOSTERASE = CDDS_ITEM | CDDS_POSTERASE,
                CDDS_SUBITEM = 0x00020000;
constexpr LRESULT CDRF_DODEFAULT = 0x00, CDRF_NEWFONT = 0x02, CDRF_SKIPDEFAULT = 0x04,
                  CDRF_NOTIFYPOSTPAINT = 0x10, CDRF_NOTIFYITEMDRAW = 0x20, CDRF_NOTIFYSUBITEMDRAW = 0x20,
                  CDRF_NOTIFYPOSTERASE = 0x40, CDRF_NOTIFYITEMERASE = 0x80;
constexpr UINT CDIS_SELECTED = 0x0001, CDIS_GRAYED = 0x0002, CDIS_DISABLED = 0x0004,
               CDIS_CHECKED = 0x0008, CDIS_FOCUS = 0x0010, CDIS_DEFAULT = 0x0020, CDIS_HOT = 0x0040,
               CDIS_MARKED = 0x0080, CDIS_INDETERMINATE = 0x0100;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    HDC hdc = nullptr;
    RECT rc;
    UINT_PTR dwItemSpec = 0; // the item handle in the item stages
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};
struct NMTVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0;
    COLORREF clrTextBk = 0;
    int iLevel = 0;
};

// Tooltips.
constexpr int TTN_FIRST = -520;
constexpr int TTN_NEEDTEXTW = TTN_FIRST - 10;
constexpr UINT TTF_IDISHWND = 0x0001;
struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText = nullptr;
    char16_t szText[80] = {};
    HINSTANCE hinst = nullptr;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};
constexpr UINT TTM_POP = WM_USER + 28;
