#include "demo/DemoWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "control/lxTreeViewControl.h"
#include "demo/DemoTree.h"
#include "platform/framework/Menus.h"

namespace {

struct TOptionEntry {
    TTreeOption option;
    const char* title;
};

const TOptionEntry OptionEntries[] = {
    {roAutoExpand, "Auto expand (one branch open)"},
    {roCheckSupport, "Check support"},
    {roHideSelection, "Hide selection when unfocused"},
    {roHotTrack, "Hot tracking"},
    {roMultiSelect, "Multiple selection"},
    {roReadOnly, "Read only"},
    {roRightClickSelect, "Right click selects"},
    {roRowSelect, "Row select"},
    {roShowButtons, "Show buttons"},
    {roShowLines, "Show lines"},
    {roShowRoot, "Show root"},
    {roToolTips, "Tooltips"},
};

TMenuItem* AddMenuItem(TPopupMenu* menu, const std::string& caption, TShortCut keys, TNotifyEvent onClick)
{
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    item->SetShortCut(keys);
    item->OnClick = std::move(onClick);
    menu->Items()->Add(item);
    return item;
}

} // namespace

TDemoWindow::TDemoWindow()
{
    setWindowTitle("lxTreeView demo");
    resize(460, 560);
    auto* host = new QWidget(this);
    host->setLayout(new QVBoxLayout);
    host->layout()->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(host);

    FTree = std::make_unique<TlxTreeView>(nullptr);
    FTree->SetParentWidget(host);
    host->layout()->addWidget(FTree->Widget());
    FTree->SetOptions(FTree->Options() + TTreeOptions{roCheckSupport, roToolTips, roMultiSelect});
    FTree->SetImages(MakeDemoImages(FTree.get()));
    FillDemoTree(FTree->Items());
    TlxTreeViewNode* project = FTree->Items()->GetFirstNode();
    FTree->SetSelection(project->GetFirstChild()->GetFirstChild()->GetFirstChild());
    FTree->OnChange = [this](TObject*, TlxTreeViewNode*) { UpdateStatus(); };

    FStatus = new QLabel;
    statusBar()->addWidget(FStatus);
    BuildFileMenu();
    BuildEditMenu();
    BuildOptionsMenu();
    BuildNodeMenus();
    BuildSortMenu();
    EnableNodeDragging();
    UpdateStatus();
}

TDemoWindow::~TDemoWindow()
{
    FTree->OnChange = nullptr;
    FTree->OnChecked = nullptr;
    FTree->OnPopup = nullptr;
    FTree->OnCompare = nullptr;
    FTree->OnDragOver = nullptr;
    FTree->OnDragDrop = nullptr;
    FTree->OnEndDrag = nullptr;
    FTree.reset();
}

void TDemoWindow::BuildFileMenu()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Open...", QKeySequence::Open, this, [this] { OpenFile(); });
    file->addAction("Save as &tree file (.lxt)...", QKeySequence::Save, this, [this] { SaveFile(true); });
    file->addAction("Save as te&xt...", this, [this] { SaveFile(false); });
    file->addSeparator();
    BuildPrintMenu(file);
    file->addSeparator();
    file->addAction("&Quit", QKeySequence::Quit, this, [this] { close(); });
}

void TDemoWindow::BuildEditMenu()
{
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addAction("&Rename", QKeySequence(Qt::Key_F2), this, [this] {
        if (TlxTreeViewNode* node = FTree->Selection())
            node->EditText();
    });
    edit->addAction("Add &child", QKeySequence(Qt::CTRL | Qt::Key_N), this, [this] { AddChildTo(FTree->Selection()); });
    edit->addAction("&Delete selected", QKeySequence::Delete, this, [this] {
        FTree->Items()->DeleteSelected();
        UpdateStatus();
    });
    edit->addAction("Select &all", QKeySequence::SelectAll, this, [this] { FTree->Items()->SelectAll(); });
    edit->addAction("Clear s&election", this, [this] { FTree->ClearSelection(); });
    edit->addSeparator();
    edit->addAction("E&xpand all", this, [this] { FTree->FullExpand(); });
    edit->addAction("Co&llapse all", this, [this] { FTree->FullCollapse(); });
    edit->addSeparator();
    edit->addAction("Edit &items...", this, [this] { EditItems(); });
}

void TDemoWindow::BuildOptionsMenu()
{
    QMenu* options = menuBar()->addMenu("&Options");
    for (const TOptionEntry& entry : OptionEntries) {
        QAction* action = options->addAction(entry.title);
        action->setCheckable(true);
        action->setChecked(FTree->Options().Contains(entry.option));
        const TTreeOption option = entry.option;
        connect(action, &QAction::toggled, this, [this, option, options](bool on) {
            TTreeOptions value = FTree->Options();
            if (on)
                value.Include(option);
            else
                value.Exclude(option);
            FTree->SetOptions(value);
            // Row select turns lines off: show what the control kept.
            for (QAction* a : options->actions())
                for (const TOptionEntry& e : OptionEntries)
                    if (a->text() == e.title) {
                        const QSignalBlocker block(a);
                        a->setChecked(FTree->Options().Contains(e.option));
                    }
        });
    }
}

// The tree asks for a node's menu on a right click: groups of check boxes have their
// own; every other node leaves the question to its parent, and the top level gets the
// general menu.
void TDemoWindow::BuildNodeMenus()
{
    FNodeMenu = std::make_unique<TPopupMenu>(nullptr);
    TPopupMenu* menu = FNodeMenu.get();
    AddMenuItem(menu, "&Rename", ShortCut(VK_F2, {}), [this](TObject*) {
        if (TlxTreeViewNode* node = FTree->Selection())
            node->EditText();
    });
    AddMenuItem(menu, "Add &child", ShortCut('N', {ssCtrl}), [this](TObject*) { AddChildTo(FTree->Selection()); });
    AddMenuItem(menu, "-", scNone, nullptr);
    AddMenuItem(menu, "E&xpand", scNone, [this](TObject*) {
        if (TlxTreeViewNode* node = FTree->Selection())
            node->Expand(true);
    });
    AddMenuItem(menu, "C&ollapse", scNone, [this](TObject*) {
        if (TlxTreeViewNode* node = FTree->Selection())
            node->Collapse(true);
    });
    AddMenuItem(menu, "-", scNone, nullptr);
    AddMenuItem(menu, "Select &all", ShortCut('A', {ssCtrl}), [this](TObject*) { FTree->Items()->SelectAll(); });
    AddMenuItem(menu, "&Delete selected", ShortCut(VK_DELETE, {}), [this](TObject*) {
        FTree->Items()->DeleteSelected();
        UpdateStatus();
    });

    FGroupMenu = std::make_unique<TPopupMenu>(nullptr);
    AddMenuItem(FGroupMenu.get(), "&Check all", scNone,
                [this](TObject*) { SetChildrenChecked(FTree->Selection(), true); });
    AddMenuItem(FGroupMenu.get(), "&Uncheck all", scNone,
                [this](TObject*) { SetChildrenChecked(FTree->Selection(), false); });

    FTree->OnPopup = [this](TObject*, TlxTreeViewNode* node, bool&, TPopupMenu*& popup) {
        if (node->CheckType() == lxtCheckBox || node->CheckType() == lxtCheckBoxGrayed)
            popup = FGroupMenu.get();
        else if (!node->Parent())
            popup = FNodeMenu.get();
    };
}

void TDemoWindow::AddChildTo(TlxTreeViewNode* parent)
{
    TlxTreeViewNode* node = FTree->Items()->AddChild(parent, "New node");
    node->MakeVisible();
    FTree->ClearSelection();
    FTree->SetSelection(node);
    node->EditText();
}

void TDemoWindow::SetChildrenChecked(TlxTreeViewNode* group, bool checked)
{
    if (!group)
        return;
    for (TlxTreeViewNode* child = group->GetFirstChild(); child; child = child->GetNextSibling())
        child->SetCheckState(checked ? lxsChecked : lxsUnchecked);
}

void TDemoWindow::TraceTo(FILE* out)
{
    FTrace = out;
    FTree->OnChecked = [this](TObject*, TlxTreeViewNode* node) {
        std::fprintf(FTrace, "checked %s: %s\n", node->Text().c_str(), node->CheckState() == lxsChecked ? "on" : "off");
        std::fflush(FTrace);
    };
    PrintNodePlaces();
}

void TDemoWindow::PrintNodePlaces()
{
    QWidget* view = FTree->Widget();
    for (TlxTreeViewNode* node = FTree->TopItem(); node; node = node->GetNextVisible()) {
        const RECT label = node->DisplayRect(true);
        if (label.top >= FTree->ClientHeight())
            break;
        const int y = (label.top + label.bottom) / 2;
        const QPoint at = view->mapToGlobal(QPoint((label.left + label.right) / 2, y));
        std::fprintf(FTrace, "label %s: %d %d\n", node->Text().c_str(), at.x(), at.y());
        for (int x = 0; x < label.left; ++x)
            if (FTree->GetHitTestInfoAt(x, y).Contains(htOnStateIcon)) {
                const QPoint glyph = view->mapToGlobal(QPoint(x + 6, y));
                std::fprintf(FTrace, "glyph %s: %d %d\n", node->Text().c_str(), glyph.x(), glyph.y());
                break;
            }
    }
    std::fflush(FTrace);
}

void TDemoWindow::OpenFile()
{
    QString name = QFileDialog::getOpenFileName(this, "Open a tree", QString(),
                                                "lxTreeView file (*.lxt);;Text (*.txt);;All files (*)");
    if (name.isEmpty())
        return;
    try {
        FTree->LoadFromFile(name.toStdString());
    } catch (const std::exception& e) {
        ShowError(e);
    }
    UpdateStatus();
}

void TDemoWindow::SaveFile(bool binary)
{
    QString name = QFileDialog::getSaveFileName(this, binary ? "Save the tree" : "Save the tree as text", QString(),
                                                binary ? "lxTreeView file (*.lxt)" : "Text (*.txt)");
    if (name.isEmpty())
        return;
    try {
        FTree->SaveToFile(name.toStdString(), binary);
    } catch (const std::exception& e) {
        ShowError(e);
    }
}

void TDemoWindow::ShowError(const std::exception& e) { QMessageBox::warning(this, "lxTreeView demo", e.what()); }

void TDemoWindow::UpdateStatus()
{
    TlxTreeViewNode* node = FTree->Selection();
    FStatus->setText(QString("%1 nodes    %2 selected    %3")
                         .arg(FTree->Items()->Count())
                         .arg(FTree->Items()->GetSelectedCount())
                         .arg(node ? QString::fromStdString(node->Text()) : QString()));
    if (FTrace) {
        std::fprintf(FTrace, "selected %d\n", FTree->Items()->GetSelectedCount());
        std::fflush(FTrace);
    }
}
