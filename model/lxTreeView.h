#pragma once
// lxTreeView's chief header: the node model (node list, node, node collection) and
// the types shared by the model and the control.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/NodeImageIndex.h"
#include "model/NodeText.h"
#include "platform/framework/Classes.h"
#include "platform/win/CommCtrl.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/SysUtils.h"

class TCustomlxTreeView;
class TlxTreeViewNode;
namespace lxModel {
struct TNativeRanks;
} // namespace lxModel
class TlxTreeViewNodes;

// ---- Shared types ----

enum TCheckType : std::uint8_t {
    lxtNone, lxtCheckBox, lxtCheckBoxGrayed, lxtRadioButton, lxtTextButton, lxtNumberButton, lxtDateButton,
    lxtTimeButton
};
enum TCheckState : std::uint8_t {
    lxsUnchecked, lxsChecked, lxsGrayed, lxsCheckedGrayed, lxsTextButton, lxsNumberButton, lxsDateButton,
    lxsTimeButton
};

enum TNodeState {
    nsChecked, nsCut, nsDisabled, nsDropHilited, nsExpanded, nsExpandedOnce, nsExpandPartial, nsFocused,
    nsGrayed, nsHot, nsIndeterminate, nsMarked, nsSelected
};
using TNodeStates = TSet<TNodeState>;

enum TTreeOption {
    roAutoExpand, roAutoEraseBackground, roAutoScroll, roCheckSupport, roHideSelection, roHotTrack,
    roLevelSelection, roMultiSelect, roNoScroll, roReadOnly, roRightClickSelect, roRowSelect, roShowButtons,
    roShowLines, roShowRoot, roToolTips, roVerifyData
};
using TTreeOptions = TSet<TTreeOption>;
constexpr TTreeOptions DefaultOptions{roAutoEraseBackground, roAutoScroll,  roHideSelection, roRightClickSelect,
                                     roShowButtons,         roShowLines,   roShowRoot,      roVerifyData};
constexpr std::uint64_t DefaultTreeOptions = DefaultOptions.Bits();
static_assert(DefaultTreeOptions == 95254, "the stored default of Options");
// Every option's bit: what a stored Options value may hold.
constexpr std::uint64_t AllTreeOptionBits = (std::uint64_t(1) << (roVerifyData + 1)) - 1;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
enum TAddMode { taAddFirst, taAdd, taInsert };
enum TSelectType { stSet, stReset, stToggle };
enum TFindOption { lxfoText, lxfoData };
using TFindOptions = TSet<TFindOption>;
enum THitTest {
    htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
    htOnStateIcon, htToLeft, htToRight
};
using THitTests = TSet<THitTest>;
enum TSortType { stNone, stData, stText, stBoth };
enum TScrollDirectionMember { sdLeft, sdUp, sdRight, sdDown };
using TScrollDirection = TSet<TScrollDirectionMember>;
enum TlxMarkPlace { lxBefore, lxAfter };

// The class of the nodes a collection makes: a function that creates one for the
// collection. NodeClassOf<T> names the class T.
using TlxTreeViewNodeClass = TlxTreeViewNode* (*)(TlxTreeViewNodes* Owner);
template <typename T>
TlxTreeViewNode* NodeClassOf(TlxTreeViewNodes* Owner)
{
    return new T(Owner);
}

// The comparison of sorts: the two nodes and the caller's value; negative sorts the
// first before the second.
using TlxTreeViewCompare = int (*)(LPARAM Node1, LPARAM Node2, LPARAM Data);

// Events. Sender is the control unless said otherwise.
using TTVChangingEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, std::string& S)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node)>;
using TTVHintEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, std::string& NewText)>;
using TTVCompareEvent =
    std::function<void(TObject* Sender, TlxTreeViewNode* Node1, TlxTreeViewNode* Node2, int Data, int& Compare)>;
using TTVCustomDrawEvent = std::function<void(TObject* Sender)>;
using TTVBeforeCustomDrawItemEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, const RECT& ARect,
                                                        TNodeStates NodeStates, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    std::function<void(TObject* Sender, TlxTreeViewNode* Node, const RECT& ARect, TNodeStates NodeStates)>;
using TTVAutoExpandingEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& AutoCollapse)>;
using TTVCreateNodeEvent = std::function<void(TObject* Sender, TlxTreeViewNodeClass& NodeClass)>;
using TTVCheckingEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node, bool& CanCheck)>;
using TTVCheckedEvent = std::function<void(TObject* Sender, TlxTreeViewNode* Node)>;
using TLevelErrorEvent = std::function<void(int Line, bool& RaiseException)>;

// The model's own error.
class ElxTreeViewError : public Exception {
public:
    using Exception::Exception;
};

// ---- Node list ----

// A growable array of node references. It never owns, frees or notifies the nodes.
class TlxTreeNodeList : public TObject {
public:
    static constexpr int MaxListSize = 134217727;

    TlxTreeNodeList() = default;
    ~TlxTreeNodeList() override;
    TlxTreeNodeList(const TlxTreeNodeList&) = delete;
    TlxTreeNodeList& operator=(const TlxTreeNodeList&) = delete;

    int Add(TlxTreeViewNode* Item);
    void Insert(int Index, TlxTreeViewNode* Item);
    void Delete(int Index);
    int Remove(TlxTreeViewNode* Item);
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    TlxTreeViewNode* Get(int Index) const;
    void Put(int Index, TlxTreeViewNode* Item);
    int IndexOf(const TlxTreeViewNode* Item) const;
    // Item's index within NearReach places of Hint, or -1: a remembered place checked
    // and corrected without a search of the whole list.
    static constexpr int NearReach = 256;
    int IndexNear(const TlxTreeViewNode* Item, int Hint) const;
    TlxTreeViewNode* First() const;
    TlxTreeViewNode* Last() const;
    TlxTreeNodeList* Expand();
    void Pack();
    virtual void Clear();
    void Sort(TlxTreeViewCompare Compare, LPARAM Data);
    [[noreturn]] static void Error(const char* Msg, int Data);

    int Count() const { return FCount; }
    void SetCount(int NewCount);
    int Capacity() const { return FCapacity; }
    void SetCapacity(int NewCapacity);
    TlxTreeViewNode* Items(int Index) const { return Get(Index); }
    void SetItems(int Index, TlxTreeViewNode* Item) { Put(Index, Item); }
    TlxTreeViewNode* operator[](int Index) const { return Get(Index); }

    // Unchecked access for the model's own loops over valid ranges.
    TlxTreeViewNode* const* List() const { return FList; }

protected:
    virtual void Grow();

private:
    std::size_t Skipped() const;
    TlxTreeViewNode** Block() const;
    int Room() const;
    void Compact();
    void MakeRoom(int Needed);

    TlxTreeViewNode** FList = nullptr;
    int FCount = 0;
    int FCapacity = 0;
};

// A node's child list, made on the first child: most nodes of a big tree are leaves,
// and an empty list would still take 24 bytes of each. Reads of a node without
// children see an empty list; everything else goes to the list itself.
class TlxNodeChildren {
public:
    int Count() const { return FList ? FList->Count() : 0; }
    TlxTreeViewNode* const* List() const { return FList ? FList->List() : nullptr; }
    TlxTreeViewNode* Get(int Index) const { return Own().Get(Index); }
    int IndexOf(const TlxTreeViewNode* Item) const { return FList ? FList->IndexOf(Item) : -1; }
    void Clear() { if (FList) FList->Clear(); }
    void Delete(int Index) { Own().Delete(Index); }
    void Insert(int Index, TlxTreeViewNode* Item) { Own().Insert(Index, Item); }
    void Sort(TlxTreeViewCompare Compare, LPARAM Data) { if (FList) FList->Sort(Compare, Data); }
    operator TlxTreeNodeList&() { return Own(); }
    operator const TlxTreeNodeList&() const { return Own(); }

private:
    TlxTreeNodeList& Own() const;
    mutable std::unique_ptr<TlxTreeNodeList> FList;
};

// ---- Node record of the binary tree stream ----

// One node's attributes as the binary tree stream stores them: a packed little-endian
// record of which a node block holds the first RecordSize bytes (everything up to the
// text's last character). Data keeps the low 32 bits of the node's pointer.
#pragma pack(push, 1)
struct TNodeInfo {
    std::int32_t ImageIndex;
    std::int32_t SelectedIndex;
    std::int32_t StateIndex;
    std::int32_t OverlayIndex;
    std::int32_t MultiHeight;
    std::uint8_t CheckState;
    std::uint8_t CheckType;
    std::uint8_t Enabled;
    std::uint8_t Expanded;
    std::uint8_t Selected;
    std::uint32_t Data;
    std::int32_t Count;
    std::int32_t Color;
    std::uint8_t ParentColor;
    std::uint8_t ParentFont;
    std::uint8_t Reserved1[4];
    // The font fields hold the node's own font; they mean nothing when ParentFont is set.
    std::int32_t FontHeight;
    std::uint8_t FontPitch;
    std::uint8_t FontStyle;
    std::uint8_t Reserved2;
    std::uint8_t FontName[32]; // length byte, then up to 31 characters
    std::uint8_t Reserved3;
    std::int32_t FontColor;
    std::int32_t VarType;
    std::int32_t VarNameLen;
    std::int32_t VarValueLen;
    std::uint8_t Text[256]; // length byte, then up to 255 characters
};
#pragma pack(pop)
static_assert(sizeof(TNodeInfo) == 0x163, "the node record is 355 bytes");

// ---- Node ----

class TlxTreeViewNode : public TPersistent {
public:
    explicit TlxTreeViewNode(TlxTreeViewNodes* AOwner);
    ~TlxTreeViewNode() override;
    TlxTreeViewNode(const TlxTreeViewNode&) = delete;
    TlxTreeViewNode& operator=(const TlxTreeViewNode&) = delete;

    // Nodes of this exact class come from a pool: a million of them cost no more
    // than their fields.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);

    void Assign(TPersistent* Source) override;
    bool IsEqual(TlxTreeViewNode* Node) const;

    // Properties.
    std::string Text() const { return FText.Str(); }
    // The text without a copy; valid until the text changes.
    std::string_view TextView() const { return FText.View(); }
    void SetText(const std::string& S);
    void* Data() const { return FData; }
    void SetData(void* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int Value);
    int OverlayIndex() const;
    void SetOverlayIndex(int Value);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int Value);
    TColor Color() const { return GetColor(); }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() { return GetFont(); }
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    int MultiHeight() const { return GetMultiHeight(); }
    void SetMultiHeight(int Value);
    bool Expanded() const { return GetExpanded(); }
    void SetExpanded(bool Value);
    bool ExpandedOnce() const { return GetExpandedOnce(); }
    bool ExpandedPartial() const { return GetExpandedPartial(); }
    void SetExpandedPartial(bool Value);
    bool Cut() const { return GetCut(); }
    void SetCut(bool Value);
    bool DropTarget() const { return GetDropTarget(); }
    void SetDropTarget(bool Value);
    bool Focused() const { return GetFocused(); }
    void SetFocused(bool Value);
    bool HasChildren() const { return GetChildren(); }
    void SetHasChildren(bool Value) { SetChildren(Value); }
    TCheckType CheckType() const { return TCheckType(FCheckType); }
    TCheckState CheckState() const { return TCheckState(FCheckState); }
    bool Enabled() const { return FEnabled; }
    // The check rules. A node's CheckType governs its children; the node itself
    // follows its parent's CheckType (its governing type).
    void SetCheckType(TCheckType Value);
    void SetCheckState(TCheckState Value);
    void SetEnabled(bool Value);
    // Steps the check state as one user click on the glyph does.
    void DoCheckClick();
    // Normalises the text of a number, date or time button node, chosen by its glyph.
    void VerifyNodeText();
    const std::string& VarName() const;
    void SetVarName(const std::string& Value);
    const std::string& VarValue() const;
    void SetVarValue(const std::string& Value);
    int VarType() const;
    void SetVarType(int Value);
    TlxTreeViewNode* Parent() const { return GetParent(); }
    TlxTreeViewNode* Item(int Index) const { return GetItem(Index); }
    void SetItem(int Index, TlxTreeViewNode* Value);
    int Count() const { return GetCount(); }
    int Index() const { return GetIndex(); }
    int AbsoluteIndex() const { return GetAbsoluteIndex(); }
    int Level() const { return GetLevel(); }
    HWND Handle() const { return GetHandle(); }
    TCustomlxTreeView* TreeView() const { return GetlxTreeView(); }
    TlxTreeViewNodes* Owner() const;
    HTREEITEM ItemId() const { return FItemId; }
    bool Deleting() const { return FDeleting; }

    // Expansion.
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    void ExpandItem(bool Expand, bool Recurse);
    bool DoCanExpand(bool Expand);
    void DoExpand(bool Expand);

    void Delete();
    void DeleteChildren();

    // Sort this node's children (not deeper), native items and child list alike;
    // true when the native sort succeeded.
    bool AlphaSort();
    bool CustomSort(TlxTreeViewCompare SortProc, LPARAM Data);

    // Moves the node with its subtree to where Mode puts it relative to Destination
    // (null: the end of the top level); the nodes stay, their native items are made
    // anew. Nothing happens for a Destination in another control or in the node's own
    // subtree. OnChanging and OnChange stay silent, and the current node is kept.
    void MoveTo(TlxTreeViewNode* Destination, TNodeAttachMode Mode);

    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const;

    bool EditText();
    void EndEdit(bool Cancel);
    RECT DisplayRect(bool TextOnly) const;
    void MakeVisible();

    bool HasAsParent(const TlxTreeViewNode* Value) const;
    int IndexOf(const TlxTreeViewNode* Node) const;
    bool IsNodeVisible() const;

    // Navigation.
    TlxTreeViewNode* GetFirstChild() const;
    TlxTreeViewNode* GetLastChild() const;
    TlxTreeViewNode* GetNextSibling() const;
    TlxTreeViewNode* GetPrevSibling() const;
    TlxTreeViewNode* GetNextChild(const TlxTreeViewNode* Node) const;
    TlxTreeViewNode* GetPrevChild(const TlxTreeViewNode* Node) const;
    TlxTreeViewNode* GetNext() const;
    TlxTreeViewNode* GetPrev() const;
    TlxTreeViewNode* GetNextVisible() const;
    TlxTreeViewNode* GetPrevVisible() const;
    int GetChildrenCount() const;

    bool GetState(TNodeState NodeState) const;
    void FontChanged(TObject* Sender);

    // Membership in the collection's selection list; setting goes through SelectNode.
    bool Selected() const { return GetSelected(); }
    bool GetSelected() const;
    void SetSelected(bool Value);
    // The neighbours in the selection list (the order of selection); null at its ends
    // and for a node that is not selected.
    TlxTreeViewNode* GetNextSelected() const;
    TlxTreeViewNode* GetPrevSelected() const;

    // The binary tree stream: this node's block followed by its children's blocks.
    // Info is the caller's scratch record, shared by a whole walk. Node classes of
    // the application may extend both.
    virtual void WriteData(TStream* Stream, TNodeInfo& Info);
    // Reads into this freshly made node; the children are made and read as well.
    virtual void ReadData(TStream* Stream, TNodeInfo& Info);
    // The text form: one line per node, indented by one tab per level.
    void WriteStrings(TStream* Stream, int Level);
    // Reads lines from P as children of this node at Level; returns the level of the
    // first line it did not take.
    int ReadStrings(const char*& P, int Level);

    // Accessors named as the properties' getters.
    TColor GetColor() const;
    TFont* GetFont();
    int GetMultiHeight() const;
    bool GetExpanded() const { return FExpanded; }
    bool GetExpandedOnce() const { return GetState(nsExpandedOnce); }
    bool GetExpandedPartial() const { return GetState(nsExpandPartial); }
    bool GetCut() const { return GetState(nsCut); }
    bool GetDropTarget() const { return GetState(nsDropHilited); }
    bool GetFocused() const { return GetState(nsFocused); }
    bool GetChildren() const;
    void SetChildren(bool Value);
    TlxTreeViewNode* GetParent() const;
    TlxTreeViewNode* GetItem(int Index) const;
    int GetCount() const { return FChildren.Count(); }
    int GetIndex() const;
    int GetAbsoluteIndex() const;
    int GetLevel() const;
    HWND GetHandle() const;
    TCustomlxTreeView* GetlxTreeView() const;

private:
    friend class TlxTreeViewNodes;
    friend class TCustomlxTreeView;

    // Rarely used attributes live in a table beside the nodes, made on first write:
    // most nodes have none, and a pointer in each would cost every node 8 bytes.
    struct TExtras {
        std::string VarName;
        std::string VarValue;
        int VarType = 0;
        int OverlayIndex = -1;
        int UpdateCount = 0;
        TColor Color = 0;
        std::unique_ptr<TFont> Font;
    };
    TExtras& Extras();
    const TExtras* FindExtras() const { return FHasExtras ? LookUpExtras() : nullptr; }
    TExtras* FindExtras() { return FHasExtras ? LookUpExtras() : nullptr; }
    TExtras* LookUpExtras() const;
    struct TExtrasTable;
    static TExtrasTable& ExtrasTable();
    void DropExtras() noexcept;
    TColor OwnColor() const;

    LRESULT SendItemMessage(UINT Msg, WPARAM wParam, LPARAM lParam) const;
    void SetItemFields(TVITEMEXA& Item) const;
    bool GetItemFields(TVITEMEXA& Item) const;
    void SetItemState(UINT Mask, UINT StateMask, UINT State);
    // The binary tree stream's node record (NodePersistence.cpp).
    void FillNodeInfo(TNodeInfo& Info);
    void WriteRecord(TStream* Stream, TNodeInfo& Info);
    // The text in the model only, for a node whose item asks for it.
    void StoreText(std::string_view S);
    void ResortAfterTextChange();
    void ApplyNodeInfo(const TNodeInfo& Info, const std::string& AVarName, const std::string& AVarValue);
    void ApplyStoredChecks(const TNodeInfo& Info);
    void ApplyStoredFont(const TNodeInfo& Info);
    void ResortAfterChange();
    // Sorting (NodeSorting.cpp): one level, native items under ParentItem and the child
    // list, for Control (found once by the caller).
    bool SortLevel(TCustomlxTreeView* Control, HTREEITEM ParentItem, TlxTreeViewCompare SortProc, LPARAM Data);
    bool SortLevelByCompare(TCustomlxTreeView* Control, HTREEITEM ParentItem, TlxTreeViewCompare SortProc, LPARAM Data);
    bool SortLevelByKeys(TCustomlxTreeView* Control, HTREEITEM ParentItem);
    bool OrderNativeChildren(HTREEITEM ParentItem, const lxModel::TNativeRanks& Order);
    void MatchNativeOrder(HTREEITEM ParentItem);
    // Every level below this node, parents before their children, in document order.
    template <typename Visit>
    static void WalkDescendants(const TlxTreeViewNode* Top, Visit&& VisitNode); // NodeWalk.h
    void SortDescendantLevels(TCustomlxTreeView* Control, TlxTreeViewCompare SortProc, LPARAM Data);
    void ResortAfterMove();
    // Moving (NodeMoving.cpp).
    void MoveSubtree(TlxTreeViewNode* Destination, TNodeAttachMode Mode);
    void InternalMove(TlxTreeViewNode* ParentNode, TlxTreeViewNode* Node, HTREEITEM ParentItem, TAddMode AddMode);
    void SetItemParam(LPARAM Value);
    TlxTreeViewNode* CaretNode() const;
    void RestoreCaret(TlxTreeViewNode* Node);
    void CollapseAsChildless();
    void RepaintNode();
    void MakeOwnFont(bool AttachChangeHandler);
    void RenumberChildren() const;
    TlxTreeViewNode* ChildAt(int Index) const;
    static bool PrecedesInDocument(const TlxTreeViewNode* A, const TlxTreeViewNode* B);
    TlxTreeViewNode* NextOutsideSubtree() const;
    TlxTreeViewNode* TopmostCollapsedAncestor() const;
    void RemoveFromParent();
    std::exception_ptr Unlink() noexcept;
    // Check rules (NodeChecks.cpp).
    TCheckType GoverningCheckType() const;
    void SetCheckGlyph(int Index);
    void TakeParentCheckType(TCheckType Value);
    std::exception_ptr ApplyCheckState(TCheckState Value);
    std::exception_ptr PushCheckStateToChildren(TCheckState Value);
    void CheckRadioButton();
    void UpdateParentState();

    // The node above: the parent, or the hidden root for a top-level node. Null for
    // the root itself and for a node outside any tree.
    TlxTreeViewNode* Up() const { return FUp & kOwnerTag ? nullptr : reinterpret_cast<TlxTreeViewNode*>(FUp); }
    // Null keeps the owner: a node out of the tree still knows its collection.
    void SetUp(TlxTreeViewNode* Node);

    // The node above, or for a node without one its collection, marked by the lowest
    // bit: the collection is found through the root, and no node spends 8 bytes on it.
    static constexpr std::uintptr_t kOwnerTag = 1;
    std::uintptr_t FUp;
    TNodeText FText;
    // The remembered position among the siblings; checked on use and renumbered when
    // it no longer holds. Beside the 12-byte text, it fills the text's last word.
    mutable int FIndexHint = 0;
    void* FData = nullptr;
    HTREEITEM FItemId = nullptr;
    TlxNodeChildren FChildren;
    TNodeImageIndex<std::int16_t> FImageIndex;
    TNodeImageIndex<std::int16_t> FSelectedIndex;
    TNodeImageIndex<std::int8_t> FStateIndex; // check glyphs and state images: a short list
    // Flags share one byte, the check state and type another (three bits each),
    // and the rows of the native item a third: they fit in what would otherwise be
    // padding, and a million nodes are 8 MB smaller.
    bool FExpanded : 1;
    bool FParentColor : 1;
    bool FParentFont : 1;
    bool FDeleting : 1;
    bool FInTree : 1;
    bool FEnabled : 1;
    // Set exactly while the node is in the selection list: membership is answered
    // without a search, and a node that was never selected leaves without one.
    bool FInSelection : 1;
    // Whether the native item was last told that it has children.
    bool FChildrenShown : 1;
    std::uint8_t FCheckState : 3;
    std::uint8_t FCheckType : 3;
    // Whether the extras table holds attributes of this node.
    bool FHasExtras : 1;
    // The native item's rows, kept as the window keeps them (1 to 255) whenever the
    // node has an item: saving a large tree asks the window nothing per node.
    std::uint8_t FMultiHeight = 1;
};

// ---- Node collection ----

class TlxTreeViewNodes : public TPersistent {
public:
    explicit TlxTreeViewNodes(TCustomlxTreeView* AOwner);
    ~TlxTreeViewNodes() override;
    TlxTreeViewNodes(const TlxTreeViewNodes&) = delete;
    TlxTreeViewNodes& operator=(const TlxTreeViewNodes&) = delete;

    TlxTreeViewNode* Add(TlxTreeViewNode* Sibling, const std::string& S);
    TlxTreeViewNode* AddObject(TlxTreeViewNode* Sibling, const std::string& S, void* Ptr);
    TlxTreeViewNode* AddFirst(TlxTreeViewNode* Sibling, const std::string& S);
    TlxTreeViewNode* AddObjectFirst(TlxTreeViewNode* Sibling, const std::string& S, void* Ptr);
    TlxTreeViewNode* AddChild(TlxTreeViewNode* Parent, const std::string& S);
    TlxTreeViewNode* AddChildObject(TlxTreeViewNode* Parent, const std::string& S, void* Ptr);
    TlxTreeViewNode* AddChildFirst(TlxTreeViewNode* Parent, const std::string& S);
    TlxTreeViewNode* AddChildObjectFirst(TlxTreeViewNode* Parent, const std::string& S, void* Ptr);
    TlxTreeViewNode* Insert(TlxTreeViewNode* Sibling, const std::string& S);
    TlxTreeViewNode* InsertObject(TlxTreeViewNode* Sibling, const std::string& S, void* Ptr);

    void Delete(TlxTreeViewNode* Node);
    void Clear();
    void Assign(TPersistent* Source) override;

    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const { return FUpdateCount > 0; }
    bool IsDeleting() const { return FDeleting; }

    TlxTreeViewNode* GetFirstNode() const;
    TlxTreeViewNode* GetNode(HTREEITEM ItemId) const;
    TlxTreeViewNode* GetNodeFromIndex(int Index);
    TlxTreeViewNode* Item(int Index) { return GetNodeFromIndex(Index); }
    TlxTreeViewNode* operator[](int Index) { return GetNodeFromIndex(Index); }
    void SetItem(int Index, TlxTreeViewNode* Value);
    int Count() const { return GetCount(); }
    int GetCount() const;
    HWND Handle() const { return GetHandle(); }
    HWND GetHandle() const;
    TCustomlxTreeView* Owner() const { return FOwner; }

    TlxTreeViewNode* Find(TFindOptions Options, const std::string& S, const void* Data) const;

    void Repaint(TlxTreeViewNode* Node);
    void AddedNode(TlxTreeViewNode* Node);
    void FillCache();
    virtual void InvalidateItemCache();

    // Selects, deselects or toggles one node, as the application allows (OnChanging).
    void SelectNode(TlxTreeViewNode* Node, TSelectType SelectType);
    // Selects the visible nodes from one node to the other (in either order); unless
    // AddOnly, every other node is deselected. One change is reported, for the later end.
    void SelectNodes(TlxTreeViewNode* Node1, TlxTreeViewNode* Node2, bool AddOnly);
    // Toggles the visible nodes strictly between the two; one change for ToNode.
    void ToggleSelectionRange(TlxTreeViewNode* FromNode, TlxTreeViewNode* ToNode);
    // Selects every node, collapsed ones too (one level only under roLevelSelection).
    void SelectAll();
    // Deletes every selected node with its subtree, each node once.
    void DeleteSelected();
    // A list of nodes that a bulk operation or an input handler walks while application handlers run: a
    // node deleted meanwhile reads as null (its pointer is compared, never followed).
    class TNodeWalk {
    public:
        TNodeWalk(TlxTreeViewNodes& Owner, std::vector<TlxTreeViewNode*> Nodes);
        ~TNodeWalk();
        TNodeWalk(const TNodeWalk&) = delete;
        TNodeWalk& operator=(const TNodeWalk&) = delete;
        std::size_t Size() const { return FNodes.size(); }
        TlxTreeViewNode* At(std::size_t Position) const;

    private:
        friend class TlxTreeViewNodes;
        TlxTreeViewNodes& FOwner;
        std::vector<TlxTreeViewNode*> FNodes;
        std::unordered_set<const TlxTreeViewNode*> FGone;
    };
    // While locked, AddToSelection and RemoveFromSelection leave the list alone.
    void LockSelection() { ++FSelectionLock; }
    void UnlockSelection();

    // The binary tree stream without its signature: check type, top-level count and
    // node blocks. ReadData replaces the tree.
    void WriteData(TStream* Stream);
    void ReadData(TStream* Stream);
    // The text form. ReadStrings reads from the stream's position to its end and adds
    // the nodes to the tree as it is.
    void WriteStrings(TStream* Stream);
    void ReadStrings(TStream* Stream);

    // The selection list: nodes remove themselves when they go.
    void AddToSelection(TlxTreeViewNode* Node);
    void RemoveFromSelection(TlxTreeViewNode* Node);
    bool IsInSelection(const TlxTreeViewNode* Node) const;
    int GetSelectedCount() const { return FSelection.Count(); }
    TlxTreeViewNode* GetFirstSelected() const { return FSelection.Count() ? FSelection.Get(0) : nullptr; }

    TCheckType CheckType() const { return TCheckType(FCheckType); }
    // The check type of the hidden root, which governs the top-level nodes.
    void SetCheckType(TCheckType Value);

    // The hidden root: parent of the top-level nodes, never returned by navigation.
    TlxTreeViewNode* Root() const { return FRoot; }

protected:
    TVITEMEXA CreateItem(TlxTreeViewNode* Node);
    HTREEITEM AddItem(HTREEITEM ParentItem, HTREEITEM Target, const TVITEMEXA& Item, TAddMode AddMode);
    TlxTreeViewNode* InternalAddObject(TlxTreeViewNode* Node, const std::string& S, void* Ptr, TAddMode AddMode);
    void SetUpdateState(bool Updating);
    // Stores the tree as the binary property "Data" (the binary stream without its
    // signature) when it differs from the filer's ancestor.
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TlxTreeViewNode;
    friend class TCustomlxTreeView;
    friend class TBulkSelectingScope;

    // Whether the "Data" property needs writing for this filer.
    bool DataDiffersFromAncestor(TFiler* Filer) const;

    // Every node that goes passes here: it leaves the selection and the running walks.
    void NodeLeaving(TlxTreeViewNode* Node);
    bool OwnsNode(const TlxTreeViewNode* Node) const;
    std::vector<TlxTreeViewNode*> VisibleRange(TlxTreeViewNode* Node1, TlxTreeViewNode* Node2) const;
    // SelectNode for each node of the walk; returns the first exception raised.
    std::exception_ptr SelectEach(TNodeWalk& Walk, TSelectType SelectType);
    int SelectionPosition(const TlxTreeViewNode* Node) const;
    int SelectionIndexNearCursor(const TlxTreeViewNode* Node) const;

    TlxTreeViewNode* LinkNewNode(TlxTreeViewNode* Parent, const std::string& S, void* Ptr, HTREEITEM Target,
                                 TAddMode AddMode, int ListIndex);

    TCustomlxTreeView* FOwner;
    int FUpdateCount = 0;
    bool FBulkSelecting = false;
    bool FDeleting = false;
    TlxTreeViewNode* FRoot = nullptr;
    std::unique_ptr<TlxTreeNodeList> FCache;
    // Nodes enter it only through AddToSelection, which marks them.
    TlxTreeNodeList FSelection;
    // Takes a node out of the selection list, whatever the lock says.
    void DropFromSelection(TlxTreeViewNode* Node);
    int FSelectionLock = 0;
    mutable int FSelectionCursor = 0; // where SelectionPosition found a node last
    std::vector<TNodeWalk*> FWalks;
    std::uint8_t FCheckType = lxtNone;
    int FSelectionLevel = -1;
    // The number of the next line while the text form is read.
    int FReadLine = 0;
    // Above 0 while nodes move: their Text and Data changes re-sort nothing.
    int FResortHold = 0;
};

// Holds the collection's bulk-selection state for a scope (when On) and restores what
// it was, also when the scope ends by an exception: the single selections inside
// report nothing, the operation reports once at its end.
class TBulkSelectingScope {
public:
    explicit TBulkSelectingScope(TlxTreeViewNodes& Nodes, bool On = true)
        : FFlag(Nodes.FBulkSelecting), FWas(Nodes.FBulkSelecting)
    {
        if (On)
            FFlag = true;
    }
    ~TBulkSelectingScope() { FFlag = FWas; }
    TBulkSelectingScope(const TBulkSelectingScope&) = delete;
    TBulkSelectingScope& operator=(const TBulkSelectingScope&) = delete;

private:
    bool& FFlag;
    bool FWas;
};
