#pragma once
// The tree view control: a windowed control that shows a node collection through the
// native tree window, turns its notifications into model changes and events, and
// offers every event through an overridable hook.
#include <memory>
#include <unordered_set>
#include <vector>

#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/framework/Controls.h"
#include "platform/framework/DragDrop.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/Timers.h"
#include "platform/win/FirstError.h"

// Set while a value button's press starts label editing: CanEdit then grants the edit
// even to a read-only tree, and clears it. One flag for every tree view.
extern bool ButtonEditing;

// The check glyphs that every tree view without StateImages of its own shows: one
// image list of 16 x 16 images for the whole library, made by the first initialisation
// and freed by the matching last finalisation (the library initialises once at load).
void InitializelxTreeViewUnit();
void FinalizelxTreeViewUnit();
TImageList* SharedCheckImages();
// Fills the shared list with the check glyphs in the current system colours.
void LoadCheckImages();

class TPopupMenu;

// Asked for the popup menu of a right-clicked node; leaving PopupMenu null and
// AskParent true asks again for the node's parent.
using TTVPopupEvent =
    std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& AskParent, TPopupMenu*& PopupMenu)>;
// Asked for the help context of the caret node when F1 is pressed; 0 asks its parent.
using TTVHelpContextEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, int& HelpContext)>;

class TCustomlxTreeView : public TWinControl {
public:
    explicit TCustomlxTreeView(TComponent* AOwner);
    ~TCustomlxTreeView() override;

    // The node collection.
    TlxTreeViewNodes* Items() const { return FItems.get(); }
    void SetItems(TlxTreeViewNodes* Value) { SetlxTreeViewNodes(Value); }
    void SetlxTreeViewNodes(TlxTreeViewNodes* Value);

    TTreeOptions Options() const { return FOptions; }
    void SetOptions(TTreeOptions Value);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int ChangeDelay() const { return GetChangeDelay(); }
    void SetChangeDelay(int Value);
    int GetChangeDelay() const;
    int Indent() { return GetIndent(); }
    int GetIndent();
    void SetIndent(int Value);
    std::int8_t ItemHeight() { return GetItemHeight(); }
    std::int8_t GetItemHeight();
    void SetItemHeight(std::int8_t Value);
    int ScrollDelayTime() { return GetScrollDelayTime(); }
    int GetScrollDelayTime();
    void SetScrollDelayTime(int Value);
    std::string SearchString() { return GetSearchString(); }
    std::string GetSearchString();
    HWND ToolTips() { return GetToolTips(); }
    HWND GetToolTips();
    void SetToolTips(HWND Value);
    void SetDragMode(TDragMode Value) override;

    // Colours.
    TColor MarkColor() const { return FMarkColor; }
    void SetMarkColor(TColor Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    TColor UnfocusedSelectedColor() const { return FUnfocusedSelectedColor; }
    void SetUnfocusedSelectedColor(TColor Value);
    TColor DropSelectedColor() const { return FDropSelectedColor; }
    void SetDropSelectedColor(TColor Value);

    // Image lists; without StateImages the shared check glyphs are the state images.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);

    // Node access.
    TlxTreeViewNode* Selection() const { return GetSelection(); }
    TlxTreeViewNode* GetSelection() const;
    void SetSelection(TlxTreeViewNode* Node);
    TlxTreeViewNode* TopItem() const { return GetTopItem(); }
    TlxTreeViewNode* GetTopItem() const;
    void SetTopItem(TlxTreeViewNode* Node);
    TlxTreeViewNode* LastVisibleNode() { return GetLastVisibleNode(); }
    TlxTreeViewNode* GetLastVisibleNode();
    TlxTreeViewNode* GetNodeAt(int X, int Y);
    THitTests GetHitTestInfoAt(int X, int Y);
    bool IsEditing();
    void FullExpand();
    void FullCollapse();
    // Empties the multi-selection with one change notification (for no node).
    void ClearSelection();
    // Applies a click with modifier keys to the multi-selection: PrevNode is the caret
    // node before the click, PrevSelectType whether it is still selected, NodeSelectType
    // what the click does to Node (stReset when Node was selected before).
    void HandleMultiSelection(TlxTreeViewNode* PrevNode, TSelectType PrevSelectType, TShiftState Shift,
                              TSelectType NodeSelectType, TlxTreeViewNode* Node);
    // True while a rubber band is dragged and covers some area.
    bool IsMouseSelecting() const;
    POINT ScreenToClientEx(POINT Screen);

    // The node under the drop highlight; while no item carries it, the last node that
    // did during the drag. Null removes the highlight.
    TlxTreeViewNode* DropTarget() { return GetDropTarget(); }
    TlxTreeViewNode* GetDropTarget();
    void SetDropTarget(TlxTreeViewNode* Node);
    // Shows the insertion mark before or after Node's row; a null Node removes it.
    void ShowMark(TlxTreeViewNode* Node, TlxMarkPlace MarkPlace);

    // Sorting the whole tree; a null SortProc sorts by OnCompare or by text.
    bool AlphaSort();
    bool CustomSort(TlxTreeViewCompare SortProc, LPARAM Data);

    void SetCheckImage(TlxTreeViewNode* Node, int ImageIndex);

    // Inverts a dotted frame on the control's window; the same rectangle drawn again
    // removes it. The frames stay on the window (repaints keep them) until removed.
    void DrawFocusRect(const RECT& Rect);

    // Saving and loading the whole tree: the binary form (with its signature) keeps
    // every node attribute, the text form only texts and levels. Loading replaces the
    // tree and takes either form.
    void SaveToStream(TStream* Stream, bool Binary);
    void SaveToFile(const std::string& FileName, bool Binary);
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);

    // Overridable event hooks.
    virtual bool CanChange(TlxTreeViewNode* Node);
    virtual void Change(TlxTreeViewNode* Node);
    virtual bool CanExpand(TlxTreeViewNode* Node);
    virtual void Expand(TlxTreeViewNode* Node);
    virtual bool CanCollapse(TlxTreeViewNode* Node);
    virtual void Collapse(TlxTreeViewNode* Node);
    virtual bool CanEdit(TlxTreeViewNode* Node);
    virtual void Edit(const TVITEMA& Item);
    // Printing: the whole scrollable tree as one picture, composed from screenfuls of
    // the control's own window (the control scrolls through them and back), stretched
    // onto the first page of Printer() at Left, Top (millimetres from the canvas origin)
    // and Width millimetres wide, keeping its proportions. An empty tree prints nothing.
    void Print(int Left, int Top, int Width, const std::string& Title);
    // Composes the picture onto a canvas of at least GetCanvasWidth x GetCanvasHeight pixels.
    void DrawTree(TCanvas* Canvas);
    int GetCanvasWidth();
    int GetCanvasHeight(); // needs a node
    virtual bool CanCheck(TlxTreeViewNode* Node);
    virtual void Check(TlxTreeViewNode* Node);
    void GetImageIndex(TlxTreeViewNode* Node);
    void GetSelectedIndex(TlxTreeViewNode* Node);
    virtual TlxTreeViewNode* CreateNode();
    // Chooses the directions to scroll for a client point near the edges, and starts
    // or stops the auto-scroll timer.
    virtual void DoAutoScroll(int X, int Y);
    virtual void DoChange(TlxTreeViewNode* Node);

    // Events.
    TTVCustomDrawEvent OnCustomDraw;
    TTVCustomDrawEvent OnBeforeCustomDraw;
    TTVCustomDrawItemEvent OnCustomDrawItem;
    TTVBeforeCustomDrawItemEvent OnBeforeCustomDrawItem;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnExpanded;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnCollapsed;
    TTVCollapsingEvent OnCollapsing;
    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVCompareEvent OnCompare;
    TTVExpandedEvent OnDeletion;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVHintEvent OnHint;
    TTVAutoExpandingEvent OnAutoExpanded;
    TTVCreateNodeEvent OnCreateNode;
    TTVCheckingEvent OnChecking;
    TTVCheckedEvent OnChecked;
    TLevelErrorEvent OnLevelError;
    TTVPopupEvent OnPopup;
    TTVHelpContextEvent OnHelpContext;

private:
    int PrintRowHeight();
    void CopyScreenfulsOfRow(TCanvas* Canvas, TCanvas* Window, int Y, int TotalWidth);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void CNNotify(TMessage& Message);
    void WMNotify(TMessage& Message);
    void WMDestroy(TMessage& Message);
    void WMRButtonDown(TMessage& Message);
    void WMRButtonUp(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMKeyDown(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    // The auto-scroll timer, which runs while the mouse rests near an edge of the view,
    // and the timer that expands a collapsed drop target.
    TTimer* ScrollTimer() const { return FScrollTimer.get(); }
    TTimer* ExpandTimer() const { return FExpandTimer.get(); }
    TScrollDirection ScrollDirection() const { return FScrollDirection; }
    // Drag and drop (TreeViewDragDrop.cpp) and auto-scroll (TreeViewAutoScroll.cpp).
    void DoStartDrag(TDragObject*& DragObject) override;
    void DoEndDrag(TObject* Target, int X, int Y) override;
    TDragImageList* GetDragImages() override;
    void CMDrag(TMessage& Message);
    void DoDragOver(TDragObject* Source, int X, int Y, bool CanDrop);
    void DoDragExpand(TObject* Sender);
    void DoScroll(TObject* Sender);
    void CMMouseLeave(TMessage& Message);
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // Applies the rubber band's rectangle to the selection.
    void HandleDrawSelection(TShiftState Shift, const RECT& Rect);
    void CMColorChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void CMSysColorChange(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMPaint(TMessage& Message);
    void FontChanged(TObject* Sender);
    TlxTreeViewNode* GetNodeFromItem(const TVITEMA& Item) const;
    void OnChangeTimer(TObject* Sender);
    void SetImageList(HIMAGELIST Value, WPARAM Flags);
    void ImageListChange(TObject* Sender);
    void ReleaseImageList(TCustomImageList*& List, TChangeLink* Link);
    // The in-place edit box's window procedure while a label is edited.
    void EditWndProc(TMessage& Message);

private:
    friend struct TlxTreeViewAccess;
    friend void lxControl::StopChangeTimer(TCustomlxTreeView*);
    friend void lxControl::SetModelExpanding(TCustomlxTreeView*, bool);
    friend bool lxControl::SetDirectDeletionReports(TCustomlxTreeView*, bool);
    friend void lxControl::ForgetNode(TCustomlxTreeView*, TlxTreeViewNode*);
    friend void lxControl::ForgetAnchorIfSelected(TCustomlxTreeView*);
    friend class TlxTreeViewNodes;
    friend class TlxTreeViewNode;

    void SetStyle(DWORD Value, bool UseStyle);
    TlxTreeViewNode* NodeOfItem(HTREEITEM Item) const;
    // Hooks stay quiet while the control goes and while a tree is rebuilt after a failure.
    bool EventsQuiet() const { return FDestroying || FQuietEvents; }
    // Window re-creation (TreeViewRecreate.cpp).
    void SaveTreeForRecreation();
    void RestoreSavedTree();
    void ReadSavedTreeQuietly(TStream* Stream);
    void ApplyWindowSettings();
    void RecreateTreeWindow();
    // Notification handlers.
    LRESULT NotifyGetDispInfo(NMTVDISPINFOA& Info);
    LRESULT NotifySetDispInfo(NMTVDISPINFOA& Info);
    LRESULT NotifySelChanging(NMTREEVIEWA& Info);
    LRESULT NotifySelChanged(NMTREEVIEWA& Info);
    LRESULT NotifyItemExpanding(NMTREEVIEWA& Info);
    LRESULT NotifyItemExpanded(NMTREEVIEWA& Info);
    LRESULT NotifyDeleteItem(NMTREEVIEWA& Info);
    // The native tree's deletion reports straight to NotifyDeleteItem (Value) or through
    // the parent window again; returns the previous setting.
    bool SetDirectDeletionReports(bool Value);
    static void ReportDeletionToControl(void* Control, NMTREEVIEWA& Info);
    LRESULT NotifyBeginLabelEdit(NMTVDISPINFOA& Info);
    LRESULT NotifySingleExpand(NMTREEVIEWA& Info);
    LRESULT NotifyGetInfoTip(NMTVGETINFOTIPA& Info);
    LRESULT NotifyRightClick();
    // Set as FRightClickNode when the native tree consumed a right click; never a node.
    static TlxTreeViewNode* RightClickMarker();
    LRESULT NotifyFocusChange(bool Gained);
    void SubclassEditBox(TlxTreeViewNode* Node);
    // Mouse and keyboard (TreeViewMouse.cpp, TreeViewKeys.cpp, TreeViewPopup.cpp).
    void PressNode(TMessage& Message, POINT At, TShiftState Shift);
    void PressCheckGlyph(POINT At);
    // After the native tree reported a drag of the pressed node: selects and focuses it
    // and starts the framework's drag.
    void StartNodeDrag();
    void DragLeft(TDragObject* Source);
    void StopDragState();
    bool ScrollStep(TScrollDirectionMember Direction, bool AtLimit, UINT Msg, WPARAM Code);
    void ScrollVertically(bool ByPages, bool Band);
    void ScrollHorizontally(bool Band);
    void ShowStateImage(TlxTreeViewNode* Node, int Glyph);
    void StartBand(POINT At, TShiftState Shift);
    void EndBand();
    std::vector<TlxTreeViewNode*> RowsUnderBand(const RECT& Rect, TlxTreeViewNode*& Last);
    void ExtendByArrow(TMessage& Message, TlxTreeViewNode* Caret, bool Up);
    void MoveByArrow(TMessage& Message, TlxTreeViewNode* Caret, bool Up);
    void ExtendByPage(TMessage& Message, TlxTreeViewNode* Caret);
    void MoveByPage(TMessage& Message);
    void ShowHelpFor(TlxTreeViewNode* Node);
    TPopupMenu* AskPopupMenu();
    // Custom draw (TreeViewCustomDraw.cpp).
    LRESULT NotifyCustomDraw(NMTVCUSTOMDRAW& Draw);
    LRESULT CustomDrawItemPrePaint(NMTVCUSTOMDRAW& Draw);
    // The colours and font of an item about to be painted; the CDRF_NEWFONT bit when
    // a font was selected or restored.
    LRESULT ApplyItemAppearance(NMTVCUSTOMDRAW& Draw, TlxTreeViewNode* Node, TNodeStates States);
    TColor ItemBackground(const NMTVCUSTOMDRAW& Draw, TlxTreeViewNode* Node, TNodeStates States);
    LRESULT SelectItemFont(NMTVCUSTOMDRAW& Draw, TlxTreeViewNode* Node, TNodeStates States);
    bool AnswerLongToolTip(TMessage& Message);

    TBorderStyle FBorderStyle = bsSingle;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    std::unique_ptr<TChangeLink> FImagesLink;
    std::unique_ptr<TChangeLink> FStateImagesLink;
    std::unique_ptr<TTimer> FExpandTimer;
    std::unique_ptr<TTimer> FScrollTimer;
    TScrollDirection FScrollDirection;
    std::unique_ptr<TImageList> FDragImage;
    int FSavedTopIndex = 0;
    int FSavedSelectedIndex = 0;
    int FSavedIndent = -1;
    int FSavedItemHeight = -1;
    int FScrollDelayTime = 0;
    std::unique_ptr<TMemoryStream> FSavedStream;
    TColor FMarkColor = clBtnFace;
    WNDPROC FEditWndProc;
    WNDPROC FEditOldWndProc;
    HWND FEditWindow = nullptr;
    TlxTreeViewNode* FRightClickNode = nullptr;
    bool FRightClickTaken = false;      // the native tree reported the current right click
    bool FSwallowRightButtonUp = false; // the coming right-button release was taken with it
    std::unique_ptr<TCanvas> FControlCanvas;
    // The focus rectangles shown on the window, in the order they were drawn.
    std::vector<RECT> FFocusRects;
    HFONT FPrevFont = nullptr;
    TColor FUnfocusedSelectedColor = clBtnFace;
    TColor FSelectedColor = clHighlight;
    TColor FDropSelectedColor = clBtnFace;
    // A handler's exception while the old window went, delivered once the new one stands.
    TFirstError FPendingError; // raised by a handler while the window went; passed on once it is back
    bool FQuietEvents = false;
    bool FInRecreate = false;

    std::unique_ptr<TTimer> FChangeDelayTimer;
    std::unique_ptr<TlxTreeViewNodes> FItems;
    TSortType FSortType = stNone;
    TTreeOptions FOptions;
    bool FModelExpanding = false;
    bool FDirectDeletionReports = false;
    bool FRecreating = false;
    bool FDestroying = false;
    bool FDragged = false;
    bool FDragStartDue = false; // the native tree reported a left drag not yet started
    TlxTreeViewNode* FDragNode = nullptr;
    TDragObject* FDragObject = nullptr;
    TlxTreeViewNode* FLastDropTarget = nullptr;
    TlxTreeViewNode* FAnchorNode = nullptr;
    TlxTreeViewNode* FCheckNode = nullptr;
    // The rubber band: where it started, its rectangle, and the nodes it selected or
    // toggled so far (in that order, and as a set for membership).
    bool FBandSelecting = false;
    POINT FBandOrigin{};
    RECT FBandRect{};
    std::vector<TlxTreeViewNode*> FBandNodes;
    std::unordered_set<const TlxTreeViewNode*> FBandMembers;
};

// The control as an application places it on a form.
class TlxTreeView : public TCustomlxTreeView {
public:
    using TCustomlxTreeView::TCustomlxTreeView;
};
