#pragma once
// The tree view control: a windowed control that shows a node collection through the
// native tree window, turns its notifications into model changes and events, and
// offers every event through an overridable hook.
#include <memory>

#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/Controls.h"
#include "platform/Timers.h"

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

    // Sorting the whole tree; a null SortProc sorts by OnCompare or by text.
    bool AlphaSort();
    bool CustomSort(TlxTreeViewCompare SortProc, LPARAM Data);

    void SetCheckImage(TlxTreeViewNode* Node, int ImageIndex);

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
    virtual bool CanCheck(TlxTreeViewNode* Node);
    virtual void Check(TlxTreeViewNode* Node);
    void GetImageIndex(TlxTreeViewNode* Node);
    void GetSelectedIndex(TlxTreeViewNode* Node);
    virtual TlxTreeViewNode* CreateNode();
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

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void CNNotify(TMessage& Message);
    void WMDestroy(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void FontChanged(TObject* Sender);
    TlxTreeViewNode* GetNodeFromItem(const TVITEMA& Item) const;
    void OnChangeTimer(TObject* Sender);

private:
    friend struct TlxTreeViewAccess;
    friend void lxControl::StopChangeTimer(TCustomlxTreeView*);
    friend void lxControl::SetModelExpanding(TCustomlxTreeView*, bool);
    friend void lxControl::ForgetNode(TCustomlxTreeView*, TlxTreeViewNode*);
    friend class TlxTreeViewNodes;
    friend class TlxTreeViewNode;

    void SetStyle(DWORD Value, bool UseStyle);
    TlxTreeViewNode* NodeOfItem(HTREEITEM Item) const;
    // Notification handlers.
    LRESULT NotifyGetDispInfo(NMTVDISPINFOA& Info);
    LRESULT NotifySetDispInfo(NMTVDISPINFOA& Info);
    LRESULT NotifySelChanging(NMTREEVIEWA& Info);
    LRESULT NotifySelChanged(NMTREEVIEWA& Info);
    LRESULT NotifyItemExpanding(NMTREEVIEWA& Info);
    LRESULT NotifyItemExpanded(NMTREEVIEWA& Info);
    LRESULT NotifyDeleteItem(NMTREEVIEWA& Info);
    LRESULT NotifyBeginLabelEdit(NMTVDISPINFOA& Info);
    LRESULT NotifySingleExpand(NMTREEVIEWA& Info);

    TBorderStyle FBorderStyle = bsSingle;
    std::unique_ptr<TTimer> FChangeDelayTimer;
    std::unique_ptr<TlxTreeViewNodes> FItems;
    TSortType FSortType = stNone;
    TTreeOptions FOptions;
    bool FModelExpanding = false;
    bool FRecreating = false;
    bool FDestroying = false;
    bool FDragged = false;
    TlxTreeViewNode* FDragNode = nullptr;
    TlxTreeViewNode* FLastDropTarget = nullptr;
    TlxTreeViewNode* FAnchorNode = nullptr;
    TlxTreeViewNode* FCheckNode = nullptr;
};

// The control as an application places it on a form.
class TlxTreeView : public TCustomlxTreeView {
public:
    using TCustomlxTreeView::TCustomlxTreeView;
};
