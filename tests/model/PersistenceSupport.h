#pragma once
// Helpers of the tree stream tests: byte strings built field by field, node blocks
// laid out by hand, and trees to load into and save from.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "tests/model/ModelFixture.h"

// Little-endian bytes, appended field by field.
struct Bytes {
    std::string S;
    Bytes& U8(unsigned Value)
    {
        S += char(Value & 0xFF);
        return *this;
    }
    Bytes& I32(std::int64_t Value)
    {
        for (int I = 0; I < 4; ++I)
            S += char((std::uint64_t(Value) >> (8 * I)) & 0xFF);
        return *this;
    }
    Bytes& Raw(const std::string& Text)
    {
        S += Text;
        return *this;
    }
    Bytes& Zeros(std::size_t Count)
    {
        S.append(Count, '\0');
        return *this;
    }
};

// The fields of one node block, with the values a plain node has.
struct NodeRecord {
    std::string Text;
    std::int32_t ImageIndex = -1, SelectedIndex = -1, StateIndex = -1, OverlayIndex = -1, MultiHeight = 1;
    unsigned CheckState = 0, CheckType = 0, Enabled = 1, Expanded = 0, Selected = 0;
    std::uint32_t Data = 0;
    std::int32_t Count = 0;
    std::int32_t Color = std::int32_t(clWindow); // the control's colour while ParentColor is set
    unsigned ParentColor = 1, ParentFont = 1;
    std::int32_t FontHeight = 0;
    unsigned FontPitch = 0, FontStyle = 0;
    std::string FontName;
    std::int32_t FontColor = 0;
    std::int32_t VarType = 0;
    std::string VarName, VarValue;
};

inline NodeRecord PlainRecord(const std::string& Text, int Count)
{
    NodeRecord R;
    R.Text = Text;
    R.Count = Count;
    return R;
}

// One node block as the stream lays it out: record size, the record up to the text's
// last character, then the variable strings. Unused bytes are zero.
inline std::string NodeBlock(const NodeRecord& R)
{
    Bytes B;
    B.I32(100 + std::int64_t(R.Text.size()));
    B.I32(R.ImageIndex).I32(R.SelectedIndex).I32(R.StateIndex).I32(R.OverlayIndex).I32(R.MultiHeight);
    B.U8(R.CheckState).U8(R.CheckType).U8(R.Enabled).U8(R.Expanded).U8(R.Selected);
    B.I32(R.Data).I32(R.Count).I32(R.Color).U8(R.ParentColor).U8(R.ParentFont);
    B.Zeros(4); // reserved
    if (R.ParentFont) {
        B.Zeros(44); // height, pitch, style, reserved, name, padding, colour
    } else {
        B.I32(R.FontHeight).U8(R.FontPitch).U8(R.FontStyle).Zeros(1);
        B.U8(unsigned(R.FontName.size())).Raw(R.FontName).Zeros(31 - R.FontName.size());
        B.Zeros(1).I32(R.FontColor);
    }
    B.I32(R.VarType).I32(std::int64_t(R.VarName.size())).I32(std::int64_t(R.VarValue.size()));
    B.U8(unsigned(R.Text.size())).Raw(R.Text).Raw(R.VarName).Raw(R.VarValue);
    return B.S;
}

// Texts and nesting of a tree: "A(A1(A1a)) B ".
inline std::string Outline(TlxTreeViewNode* First)
{
    std::string Result;
    for (TlxTreeViewNode* Node = First; Node; Node = Node->GetNextSibling()) {
        Result += Node->Text();
        if (Node->GetFirstChild()) {
            std::string Inner = Outline(Node->GetFirstChild());
            Inner.pop_back();
            Result += "(" + Inner + ")";
        }
        Result += " ";
    }
    return Result;
}
inline std::string Outline(TlxTreeViewNodes* Nodes) { return Outline(Nodes->GetFirstNode()); }

inline std::string SaveTree(TCustomlxTreeView* Tree, bool Binary)
{
    TMemoryStream Stream;
    Tree->SaveToStream(&Stream, Binary);
    return std::string(static_cast<const char*>(Stream.Memory()), std::size_t(Stream.Size()));
}

inline void LoadTree(TCustomlxTreeView* Tree, const std::string& Data)
{
    TStringStream Stream(Data);
    Tree->LoadFromStream(&Stream);
}

class PersistenceFixture : public ModelFixture {
public:
    // A second tree on a form of its own.
    struct Tree {
        Tree()
        {
            form = std::make_unique<TForm>(nullptr);
            tree = new TlxTreeView(form.get());
            tree->SetParent(form.get());
        }
        TlxTreeViewNodes* Items() { return tree->Items(); }
        void Load(const std::string& Data) { LoadTree(tree, Data); }
        std::string SaveBinary() { return SaveTree(tree, true); }
        std::unique_ptr<TForm> form;
        TlxTreeView* tree;
    };

protected:

    void TearDown() override
    {
        for (const std::string& Path : Created)
            std::remove(Path.c_str());
        ModelFixture::TearDown();
    }

    void Load(const std::string& Data) { LoadTree(tree, Data); }
    std::string SaveBinary() { return SaveTree(tree, true); }
    std::string SaveText() { return SaveTree(tree, false); }

    bool NativeSelected(TlxTreeViewNode* Node)
    {
        TVITEMEXA Item;
        Item.mask = TVIF_STATE;
        Item.stateMask = TVIS_SELECTED;
        Item.hItem = Node->ItemId();
        return SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&Item)) && (Item.state & TVIS_SELECTED);
    }

    // The properties the designer stores for a collection, against an ancestor.
    TPropertyMap DesignerProperties(TlxTreeViewNodes* Nodes = nullptr, TlxTreeViewNodes* Ancestor = nullptr)
    {
        TPropertyMap Properties;
        TWriter Writer(Properties);
        Writer.SetAncestor(Ancestor ? Ancestor : (Nodes ? Items() : nullptr));
        Writer.WriteProperties(Nodes ? Nodes : Items());
        return Properties;
    }

    std::string TempPath(const std::string& Name)
    {
        const std::string Path = ::testing::TempDir() + std::to_string(::getpid()) + "-" + Name;
        Created.push_back(Path);
        return Path;
    }

    std::vector<std::string> Created;
};
