// TlxTreeViewNode in the tree streams: its block of the binary form (record, variable
// strings, children's blocks) and its lines of the text form.
#include <algorithm>
#include <climits>
#include <cstring>

#include "model/ControlBridge.h"
#include "model/lxTreeView.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the node record is copied as it lies in memory");
static_assert(offsetof(TNodeInfo, CheckState) == 0x14 && offsetof(TNodeInfo, Data) == 0x19 &&
                  offsetof(TNodeInfo, Count) == 0x1D && offsetof(TNodeInfo, ParentColor) == 0x25 &&
                  offsetof(TNodeInfo, FontHeight) == 0x2B && offsetof(TNodeInfo, FontName) == 0x32 &&
                  offsetof(TNodeInfo, FontColor) == 0x53 && offsetof(TNodeInfo, VarType) == 0x57 &&
                  offsetof(TNodeInfo, VarValueLen) == 0x5F && offsetof(TNodeInfo, Text) == 0x63,
              "the node record keeps the stream's layout");

namespace {

constexpr int MaxTextLength = 255;
constexpr int MaxFontNameLength = 31;
constexpr std::int32_t MaxRecordSize = sizeof(TNodeInfo);
// Everything up to and including the text's length byte.
constexpr std::int32_t FixedRecordSize = MaxRecordSize - MaxTextLength;

void PutShortString(std::uint8_t* Dest, std::string_view S, int MaxLength)
{
    const std::size_t Length = std::min(S.size(), std::size_t(MaxLength));
    Dest[0] = std::uint8_t(Length);
    std::memcpy(Dest + 1, S.data(), Length);
}

std::string GetShortString(const std::uint8_t* Source, int MaxLength)
{
    return std::string(reinterpret_cast<const char*>(Source + 1), std::min<int>(Source[0], MaxLength));
}

// Length bytes of a string that the block holds after the record. A length beyond the
// stream's end fails before anything is allocated.
std::string ReadCountedString(TStream* Stream, std::int32_t Length)
{
    if (Length <= 0)
        return std::string();
    if (Length > Stream->Size() - Stream->Position())
        throw EReadError(SReadError);
    std::string S(std::size_t(Length), '\0');
    Stream->ReadBuffer(S.data(), Length);
    return S;
}

void WriteString(TStream* Stream, const std::string& S)
{
    if (!S.empty())
        Stream->WriteBuffer(S.data(), std::int64_t(S.size()));
}

// A record whose size or enumerations no writer produces is refused as a whole.
void CheckRecord(const TNodeInfo& Info)
{
    if (Info.CheckType > lxtTimeButton || Info.CheckState > lxsTimeButton)
        throw EReadError("Invalid check data in a node record");
    if (!Info.ParentFont && Info.FontPitch > fpFixed)
        throw EReadError("Invalid font pitch in a node record");
}

constexpr int PrefetchDistance = 4;

void Prefetch(const TlxTreeViewNode* Node)
{
    const char* Bytes = reinterpret_cast<const char*>(Node);
    __builtin_prefetch(Bytes);
    __builtin_prefetch(Bytes + sizeof(TlxTreeViewNode) - 1);
}

} // namespace

// ---- Binary form ----

void TlxTreeViewNode::FillNodeInfo(TNodeInfo& Info)
{
    // Unused bytes are zero, so that equal trees give equal streams; of the text only
    // its characters are written.
    std::memset(static_cast<void*>(&Info), 0, FixedRecordSize);
    Info.ImageIndex = FImageIndex;
    Info.SelectedIndex = FSelectedIndex;
    Info.StateIndex = FStateIndex;
    Info.OverlayIndex = OverlayIndex();
    Info.MultiHeight = GetMultiHeight();
    Info.CheckState = FCheckState;
    Info.CheckType = FCheckType;
    Info.Enabled = FEnabled;
    Info.Expanded = FExpanded;
    // A form never stores a selection.
    Info.Selected = !lxControl::Designing(GetlxTreeView()) && GetSelected();
    Info.Data = std::uint32_t(reinterpret_cast<std::uintptr_t>(FData));
    Info.Count = FChildren.Count();
    Info.Color = GetColor();
    Info.ParentColor = FParentColor;
    Info.ParentFont = FParentFont;
    if (!FParentFont) {
        TFont* Own = GetFont();
        Info.FontHeight = Own->Height();
        Info.FontPitch = std::uint8_t(Own->Pitch());
        Info.FontStyle = std::uint8_t(Own->Style().Bits());
        PutShortString(Info.FontName, Own->Name(), MaxFontNameLength);
        Info.FontColor = Own->Color();
    }
    Info.VarType = VarType();
    Info.VarNameLen = std::int32_t(VarName().size());
    Info.VarValueLen = std::int32_t(VarValue().size());
    PutShortString(Info.Text, FText.View(), MaxTextLength);
}

void TlxTreeViewNode::WriteData(TStream* Stream, TNodeInfo& Info)
{
    WriteRecord(Stream, Info);
    WriteString(Stream, VarName());
    WriteString(Stream, VarValue());
    TlxTreeViewNode* const* Children = FChildren.List();
    const int Count = FChildren.Count();
    for (int I = 0; I < Count; ++I) {
        // Sorted children lie anywhere in memory: fetch a few ahead while this one is written.
        if (I + PrefetchDistance < Count)
            Prefetch(Children[I + PrefetchDistance]);
        Children[I]->WriteData(Stream, Info);
    }
}

// The record size and the record, made in the stream's own memory where it lends some
// (the record is packed, so any place in it will do), in Info otherwise.
void TlxTreeViewNode::WriteRecord(TStream* Stream, TNodeInfo& Info)
{
    constexpr std::int64_t Room = sizeof(std::int32_t) + MaxRecordSize;
    char* const Out = Stream->ReserveWrite(Room);
    TNodeInfo& Record = Out ? *reinterpret_cast<TNodeInfo*>(Out + sizeof(std::int32_t)) : Info;
    FillNodeInfo(Record);
    const std::int32_t RecordSize = FixedRecordSize + Record.Text[0];
    if (Out) {
        std::memcpy(Out, &RecordSize, sizeof RecordSize);
        Stream->CommitWrite(sizeof RecordSize + RecordSize);
        return;
    }
    Stream->WriteBuffer(&RecordSize, sizeof RecordSize);
    Stream->WriteBuffer(&Info, RecordSize);
}

void TlxTreeViewNode::ReadData(TStream* Stream, TNodeInfo& Info)
{
    std::int32_t RecordSize = 0;
    Stream->ReadBuffer(&RecordSize, sizeof RecordSize);
    if (RecordSize < FixedRecordSize || RecordSize > MaxRecordSize)
        throw EReadError(Format("Invalid node record size (%d)", RecordSize));
    Stream->ReadBuffer(&Info, RecordSize);
    // The text cannot reach past the bytes that were read.
    Info.Text[0] = std::uint8_t(std::min<int>(Info.Text[0], RecordSize - FixedRecordSize));
    CheckRecord(Info);
    const std::string StoredVarName = ReadCountedString(Stream, Info.VarNameLen);
    const std::string StoredVarValue = ReadCountedString(Stream, Info.VarValueLen);
    ApplyNodeInfo(Info, StoredVarName, StoredVarValue);

    // The children reuse Info.
    const int ChildCount = Info.Count;
    const bool StoredExpanded = Info.Expanded != 0;
    for (int I = 0; I < ChildCount; ++I)
        Owner()->AddChild(this, std::string())->ReadData(Stream, Info);
    // A node without children cannot expand, and collapsing it does nothing.
    if (!lxControl::Options(GetlxTreeView()).Contains(roAutoExpand) && FChildren.Count() > 0)
        SetExpanded(StoredExpanded);
}

// The record goes through the setters, so the native item and the application hear of
// every value as if it had been set by code. The node was made a moment ago: a value
// it already holds, in the model and in its native item, is not sent again, which
// spares most messages to the window when a large tree is read.
void TlxTreeViewNode::ApplyNodeInfo(const TNodeInfo& Info, const std::string& AVarName,
                                    const std::string& AVarValue)
{
    // The new item shows the node's text already.
    const std::string_view StoredText(reinterpret_cast<const char*>(Info.Text + 1), Info.Text[0]);
    if (StoredText != FText.View())
        StoreText(StoredText);
    SetVarType(Info.VarType);
    SetVarName(AVarName);
    SetVarValue(AVarValue);
    if (Info.ImageIndex != FImageIndex)
        SetImageIndex(Info.ImageIndex);
    if (Info.SelectedIndex != FSelectedIndex)
        SetSelectedIndex(Info.SelectedIndex);
    if (Info.StateIndex != FStateIndex)
        SetStateIndex(Info.StateIndex);
    ApplyStoredChecks(Info);
    if (Info.Selected)
        Owner()->SelectNode(this, stSet);
    if (Info.OverlayIndex != OverlayIndex())
        SetOverlayIndex(Info.OverlayIndex);
    if (Info.MultiHeight != GetMultiHeight())
        SetMultiHeight(Info.MultiHeight);
    SetData(reinterpret_cast<void*>(std::uintptr_t(Info.Data)));
    FParentColor = Info.ParentColor != 0;
    if (!FParentColor)
        Extras().Color = Info.Color;
    FParentFont = Info.ParentFont != 0;
    if (!FParentFont)
        ApplyStoredFont(Info);
}

// The state goes through the rules of the parent's check type, with OnChecking and
// OnChecked; Enabled comes last, so a disabled node still takes its stored state.
void TlxTreeViewNode::ApplyStoredChecks(const TNodeInfo& Info)
{
    SetCheckType(TCheckType(Info.CheckType));
    SetCheckState(TCheckState(Info.CheckState));
    SetEnabled(Info.Enabled != 0);
}

void TlxTreeViewNode::ApplyStoredFont(const TNodeInfo& Info)
{
    auto Own = std::make_unique<TFont>();
    Own->SetHeight(Info.FontHeight);
    Own->SetName(GetShortString(Info.FontName, MaxFontNameLength));
    Own->SetPitch(TFontPitch(Info.FontPitch));
    Own->SetStyle(TFontStyles::FromBits(Info.FontStyle & 0x0F));
    Own->SetColor(Info.FontColor);
    Own->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    Extras().Font = std::move(Own);
}

// ---- Text form ----

void TlxTreeViewNode::WriteStrings(TStream* Stream, int Level)
{
    std::string Line(std::size_t(std::max(Level, 0)), '\t');
    Line += FText.View();
    Line += "\r\n";
    Stream->WriteBuffer(Line.data(), std::int64_t(Line.size()));
    for (int I = 0; I < FChildren.Count(); ++I)
        FChildren.List()[I]->WriteStrings(Stream, Level + 1);
}

// P runs over a buffer that ends with a zero byte. Every line taken, blank lines
// aside, advances the collection's line counter, which therefore holds the number of
// the line after the one taken.
int TlxTreeViewNode::ReadStrings(const char*& P, int Level)
{
    TlxTreeViewNode* const Parent = this == Owner()->FRoot ? nullptr : this;
    int NextLevel = 0;
    do {
        const char* const Start = P;
        while (*P && *P != '\n' && *P != '\r')
            ++P;
        const std::size_t Length = std::size_t(P - Start);
        while (*P == '\r' || *P == '\n')
            ++P;
        ++Owner()->FReadLine;
        if (Length == 0)
            return 0;
        TlxTreeViewNode* const Node = Owner()->AddChild(Parent, std::string(Start, Length));

        NextLevel = 0;
        while ((*P == '\t' || *P == ' ') && NextLevel < INT_MAX) {
            ++NextLevel;
            ++P;
        }
        if (NextLevel - Level > 1) {
            bool RaiseException = true;
            lxControl::LevelError(GetlxTreeView(), Owner()->FReadLine, RaiseException);
            if (RaiseException)
                throw ElxTreeViewError(Format(sInvalidLevel, Owner()->FReadLine));
        }
        if (NextLevel > Level)
            NextLevel = Node->ReadStrings(P, NextLevel);
    } while (NextLevel >= Level);
    return NextLevel;
}
