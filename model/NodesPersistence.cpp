// TlxTreeViewNodes in the tree streams: the binary form without its signature, the
// text form, and the designer's binary property "Data".
#include <algorithm>
#include <vector>

#include "model/BufferedStreams.h"
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"

namespace {

// Opens and closes one update of the collection around a piece of work, also when
// the work raises.
class TUpdateScope {
public:
    explicit TUpdateScope(TlxTreeViewNodes* Nodes)
        : FNodes(Nodes)
    {
        FNodes->BeginUpdate();
    }
    ~TUpdateScope() noexcept(false)
    {
        if (std::uncaught_exceptions() > FUncaught) {
            try {
                FNodes->EndUpdate();
            } catch (...) {
                // The exception already on its way is the one to report.
            }
        } else {
            FNodes->EndUpdate();
        }
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TlxTreeViewNodes* FNodes;
    int FUncaught = std::uncaught_exceptions();
};

} // namespace

// ---- Binary form ----

namespace {

// Room reserved in a memory stream before the binary form is written: a node block is
// about 110 bytes for short texts. Reserving more than is written costs only address
// space; the pages are touched when written.
constexpr std::int64_t ReservedBytesPerNode = 128;

} // namespace

void TlxTreeViewNodes::WriteData(TStream* Stream)
{
    const std::int64_t Expected = 5 + ReservedBytesPerNode * GetCount();
    WithWriteBuffer(Stream, [this](TStream* Out) {
        const std::uint8_t StoredCheckType = FCheckType;
        Out->WriteBuffer(&StoredCheckType, 1);
        const TlxTreeNodeList& TopLevel = FRoot->FChildren;
        const std::int32_t Count = TopLevel.Count();
        Out->WriteBuffer(&Count, sizeof Count);
        TNodeInfo Info;
        for (int I = 0; I < TopLevel.Count(); ++I)
            TopLevel.List()[I]->WriteData(Out, Info);
    }, Expected);
}

void TlxTreeViewNodes::ReadData(TStream* Stream)
{
    Clear();
    TUpdateScope Update(this);
    WithReadBuffer(Stream, [this](TStream* In) {
        std::uint8_t StoredCheckType = lxtNone;
        In->ReadBuffer(&StoredCheckType, 1);
        if (StoredCheckType > lxtTimeButton)
            throw EReadError("Invalid check type in a tree stream");
        SetCheckType(TCheckType(StoredCheckType));
        std::int32_t Count = 0;
        In->ReadBuffer(&Count, sizeof Count);
        TNodeInfo Info;
        for (std::int32_t I = 0; I < Count; ++I)
            Add(nullptr, std::string())->ReadData(In, Info);
    });
}

// ---- Text form ----

void TlxTreeViewNodes::WriteStrings(TStream* Stream)
{
    WithWriteBuffer(Stream, [this](TStream* Out) {
        const TlxTreeNodeList& TopLevel = FRoot->FChildren;
        for (int I = 0; I < TopLevel.Count(); ++I)
            TopLevel.List()[I]->WriteStrings(Out, 0);
    });
}

void TlxTreeViewNodes::ReadStrings(TStream* Stream)
{
    const std::int64_t Remaining = Stream->Size() - Stream->Position();
    if (Remaining <= 0)
        return;
    // The zero byte after the text ends the last line.
    std::vector<char> Buffer(std::size_t(Remaining) + 1, '\0');
    Stream->ReadBuffer(Buffer.data(), Remaining);
    const char* P = Buffer.data();
    FReadLine = 1;
    FRoot->ReadStrings(P, 0);
}

// ---- Designer property ----

void TlxTreeViewNodes::DefineProperties(TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data", [this](TStream& Stream) { ReadData(&Stream); }, [this](TStream& Stream) { WriteData(&Stream); },
        DataDiffersFromAncestor(Filer));
}

// A tree equal to the ancestor's, node by node in document order, needs storing only
// for its check type; without an ancestor, an empty tree of no check type is not stored.
bool TlxTreeViewNodes::DataDiffersFromAncestor(TFiler* Filer) const
{
    const auto* Ancestor = dynamic_cast<const TlxTreeViewNodes*>(Filer->Ancestor());
    if (Ancestor) {
        TlxTreeViewNode* Mine = GetFirstNode();
        TlxTreeViewNode* Theirs = Ancestor->GetFirstNode();
        while (Mine && Theirs && Mine->IsEqual(Theirs)) {
            Mine = Mine->GetNext();
            Theirs = Theirs->GetNext();
        }
        if (!Mine && !Theirs)
            return FCheckType != lxtNone;
    }
    return GetFirstNode() != nullptr || FCheckType != lxtNone;
}
