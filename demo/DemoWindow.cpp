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
    FTree->SetOptions(FTree->Options() + TTreeOptions{roCheckSupport, roToolTips});
    FillDemoTree(FTree->Items());
    TlxTreeViewNode* project = FTree->Items()->GetFirstNode();
    FTree->SetSelection(project->GetFirstChild()->GetFirstChild()->GetFirstChild());
    FTree->OnChange = [this](TObject*, TlxTreeViewNode*) { UpdateStatus(); };

    FStatus = new QLabel;
    statusBar()->addWidget(FStatus);
    BuildFileMenu();
    BuildEditMenu();
    BuildOptionsMenu();
    UpdateStatus();
}

TDemoWindow::~TDemoWindow()
{
    FTree->OnChange = nullptr;
    FTree.reset();
}

void TDemoWindow::BuildFileMenu()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Open...", QKeySequence::Open, this, [this] { OpenFile(); });
    file->addAction("Save as &tree file (.lxt)...", QKeySequence::Save, this, [this] { SaveFile(true); });
    file->addAction("Save as te&xt...", this, [this] { SaveFile(false); });
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
    edit->addAction("Add &child", QKeySequence(Qt::CTRL | Qt::Key_N), this, [this] {
        TlxTreeViewNode* parent = FTree->Selection();
        TlxTreeViewNode* node = FTree->Items()->AddChild(parent, "New node");
        node->MakeVisible();
        FTree->SetSelection(node);
        node->EditText();
    });
    edit->addAction("&Delete", QKeySequence::Delete, this, [this] {
        if (TlxTreeViewNode* node = FTree->Selection())
            node->Delete();
        UpdateStatus();
    });
    edit->addSeparator();
    edit->addAction("E&xpand all", this, [this] { FTree->FullExpand(); });
    edit->addAction("Co&llapse all", this, [this] { FTree->FullCollapse(); });
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
    FStatus->setText(QString("%1 nodes    %2")
                         .arg(FTree->Items()->Count())
                         .arg(node ? QString::fromStdString(node->Text()) : QString()));
}
