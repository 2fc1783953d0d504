// lxTreeView on a form, used as its users would.
#include <QApplication>
#include <QWidget>
#include <algorithm>

#include "bench/Subjects.h"
#include "control/lxTreeViewControl.h"
#include "design/lxTreeViewEditor.h"
#include "platform/framework/Printers.h"
#include "platform/framework/Forms.h"
#include "platform/win/WindowWidget.h"

namespace bench {
namespace {

class TLxSubject : public TSubject {
public:
    TLxSubject() : FForm(nullptr)
    {
        FForm.SetBounds(0, 0, 400, 600);
        FTree = new TlxTreeView(&FForm);
        FTree->SetParent(&FForm);
        FTree->SetAlign(alClient);
        FTree->SetBorderStyle(bsNone);
        FTree->SetOptions(FTree->Options() + TTreeOptions{roMultiSelect});
        FForm.Show();
        FTree->Handle();
        QApplication::processEvents();
    }
    const char* Name() const override { return "lxTreeView"; }
    QWidget* View() override { return FTree->Widget(); }

    void BuildOneByOne(const TShape& shape) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        TlxTreeViewNodes* items = FTree->Items();
        items->BeginUpdate();
        for (int p = 0; p < shape.topLevel; ++p) {
            TlxTreeViewNode* parent = items->Add(nullptr, ParentText(p));
            for (int c = 0; c < shape.perParent; ++c)
                items->AddChild(parent, texts[std::size_t(c)]);
        }
        items->EndUpdate();
    }
    bool BuildBulk(const TShape&) override { return false; }
    long Walk() override
    {
        long n = 0;
        for (TlxTreeViewNode* node = FTree->Items()->GetFirstNode(); node; node = node->GetNext())
            ++n;
        return n;
    }
    bool ReadByIndex(long& checksum) override
    {
        TlxTreeViewNodes* items = FTree->Items();
        const int count = items->Count();
        for (int i = 0; i < count; ++i)
            checksum += long(items->Item(i)->Text().size());
        return true;
    }
    void ExpandAll() override { FTree->FullExpand(); }
    void CollapseAll() override { FTree->FullCollapse(); }
    void ScrollToTop() override { FTree->SetTopItem(FTree->Items()->GetFirstNode()); }
    void ScrollToLast() override
    {
        TlxTreeViewNode* last = FTree->Items()->GetFirstNode();
        while (last && last->GetNextSibling())
            last = last->GetNextSibling();
        while (last && last->Expanded() && last->GetLastChild())
            last = last->GetLastChild();
        if (last)
            last->MakeVisible();
    }
    void SortTopLevelChildren() override
    {
        for (TlxTreeViewNode* node = FTree->Items()->GetFirstNode(); node; node = node->GetNextSibling())
            node->AlphaSort();
    }
    // The tree goes to a memory stream, as the Qt views' trees go to a QByteArray.
    bool Save(const char* form, QByteArray&) override
    {
        FSaved.Clear();
        FTree->SaveToStream(&FSaved, std::string(form) == "binary");
        return true;
    }
    bool Load(const char*, const QByteArray&) override
    {
        FSaved.SetPosition(0);
        FTree->LoadFromStream(&FSaved);
        return true;
    }
    bool SelectAll() override
    {
        FTree->Items()->SelectAll();
        return true;
    }
    bool ClearSelection() override
    {
        FTree->ClearSelection();
        return true;
    }
    void ClickTopRow() override { Click(FTree->TopItem(), 0); }
    void ShiftClickLastRow() override { Click(FTree->GetLastVisibleNode(), MK_SHIFT); }
    // The press lands right of the top row's label, on empty space, where a band starts.
    void DragOverView() override
    {
        const RECT label = FTree->TopItem()->DisplayRect(true);
        const int x = std::min<int>(label.right + 40, FTree->ClientWidth() - 4);
        const int top = (label.top + label.bottom) / 2;
        const int bottom = FTree->ClientHeight() - 4;
        SendMessageA(FTree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, top));
        SendMessageA(FTree->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x / 2, bottom));
        SendMessageA(FTree->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x / 2, bottom));
    }
    void SelectChildrenOf(int parents) override
    {
        FTree->ClearSelection();
        TlxTreeViewNode* parent = FTree->Items()->GetFirstNode();
        for (int p = 0; p < parents && parent; ++p, parent = parent->GetNextSibling())
            for (TlxTreeViewNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
                child->SetSelected(true);
    }
    void DeleteSelected() override { FTree->Items()->DeleteSelected(); }
    void DeleteAll() override { FTree->Items()->Clear(); }
    long Count() override { return FTree->Items()->Count(); }

    void BuildWithValues(const TShape& shape, const std::vector<int>& values) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        TlxTreeViewNodes* items = FTree->Items();
        auto value = [&](std::size_t i) { return reinterpret_cast<void*>(std::intptr_t(values[i])); };
        std::size_t i = 0;
        items->BeginUpdate();
        for (int p = 0; p < shape.topLevel; ++p) {
            TlxTreeViewNode* parent = items->AddObject(nullptr, ParentText(p), value(i++));
            for (int c = 0; c < shape.perParent; ++c)
                items->AddChildObject(parent, texts[std::size_t(c)], value(i++));
        }
        items->EndUpdate();
    }
    // SortType stData sorts the whole tree, every level.
    void SortEveryLevelByValue() override
    {
        FTree->SetSortType(stNone);
        FTree->SetSortType(stData);
        FTree->SetSortType(stNone);
    }
    void SortEveryLevelByHandler() override
    {
        FTree->OnCompare = [](TObject*, TlxTreeViewNode* n1, TlxTreeViewNode* n2, int, int& compare) {
            const int k1 = SortKey(int(reinterpret_cast<std::intptr_t>(n1->Data())));
            const int k2 = SortKey(int(reinterpret_cast<std::intptr_t>(n2->Data())));
            compare = k1 < k2 ? -1 : (k1 > k2 ? 1 : 0);
        };
        FTree->AlphaSort();
        FTree->OnCompare = nullptr;
    }
    void GatherUnderFirst(int n) override
    {
        TlxTreeViewNode* first = FTree->Items()->GetFirstNode();
        for (int i = 1; i < n && first->GetNextSibling(); ++i)
            first->GetNextSibling()->MoveTo(first, naAddChild);
    }
    void MoveFirstSubtree() override
    {
        TlxTreeViewNode* first = FTree->Items()->GetFirstNode();
        TlxTreeViewNode* last = first;
        while (last->GetNextSibling())
            last = last->GetNextSibling();
        first->MoveTo(last, naAddChild);
    }
    void MoveChildrenOneByOne(int n) override
    {
        TlxTreeViewNode* from = FTree->Items()->GetFirstNode();
        TlxTreeViewNode* to = from->GetNextSibling();
        for (int i = 0; i < n && from->GetFirstChild(); ++i)
            from->GetFirstChild()->MoveTo(to, naAddChild);
    }

private:
    void PrintToPdf(const QString& path) override
    {
        TPrinter pdf;
        pdf.SetOutputFileName(path.toStdString());
        pdf.SetResolution(600);
        TPrinter* previous = SetPrinter(&pdf);
        FTree->Print(10, 10, 100, "bench");
        SetPrinter(previous);
    }

    void EditInDialog(double& openMs, double& confirmMs) override
    {
        QElapsedTimer started;
        started.start();
        TimeModalDialog(started, PressOkInTheEditor, [this] { PopupEditor(FTree->Items()); }, [] {}, openMs,
                        confirmMs);
    }

    static void PressOkInTheEditor()
    {
        auto* window = dynamic_cast<TWindowWidget*>(QApplication::activeModalWidget());
        if (auto* editor = window ? dynamic_cast<TlxTreeViewEditor*>(TWinControl::FindControl(window->Handle())) : nullptr)
            editor->OKButtonClick(editor->OKButton);
    }

    void Click(TlxTreeViewNode* node, WPARAM keys)
    {
        const RECT label = node->DisplayRect(true);
        const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
        SendMessageA(FTree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(FTree->Handle(), WM_LBUTTONUP, keys, at);
    }

    TForm FForm;
    TlxTreeView* FTree;
    TMemoryStream FSaved;
};

} // namespace

std::unique_ptr<TSubject> MakeLxTreeView() { return std::make_unique<TLxSubject>(); }

} // namespace bench
