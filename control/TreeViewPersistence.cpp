// Saving and loading the whole tree through streams and files.
#include <cstring>

#include "control/lxTreeViewControl.h"

namespace {
// The first bytes of the binary form; anything else is read as text.
constexpr char TreeSignature[5] = {'\x0D', 'L', 'X', 'T', '\x0D'};
} // namespace

void TCustomlxTreeView::SaveToStream(TStream* Stream, bool Binary)
{
    if (Binary) {
        Stream->WriteBuffer(TreeSignature, sizeof TreeSignature);
        Items()->WriteData(Stream);
    } else {
        Items()->WriteStrings(Stream);
    }
}

void TCustomlxTreeView::SaveToFile(const std::string& FileName, bool Binary)
{
    TFileStream Stream(FileName, fmCreate);
    SaveToStream(&Stream, Binary);
}

// The tree holds what was read before a failure; the window's update is closed in
// every case.
void TCustomlxTreeView::LoadFromStream(TStream* Stream)
{
    const std::int64_t Start = Stream->Position();
    char Head[sizeof TreeSignature] = {};
    const std::int64_t Got = Stream->Read(Head, sizeof Head);
    TlxTreeViewNodes* Nodes = Items();
    Nodes->BeginUpdate();
    try {
        Nodes->Clear();
        if (Got == sizeof Head && std::memcmp(Head, TreeSignature, sizeof Head) == 0) {
            Nodes->ReadData(Stream);
        } else {
            Stream->SetPosition(Start);
            Nodes->ReadStrings(Stream);
        }
    } catch (...) {
        Nodes->EndUpdate();
        throw;
    }
    Nodes->EndUpdate();
}

void TCustomlxTreeView::LoadFromFile(const std::string& FileName)
{
    TFileStream Stream(FileName, fmOpenRead);
    LoadFromStream(&Stream);
}
