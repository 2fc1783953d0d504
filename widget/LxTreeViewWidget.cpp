// The widget's life and its events: the control hosted to fill the widget, and the
// control's events turned into signals.
#include "widget/LxTreeViewWidget.h"

#include <QEvent>
#include <QVBoxLayout>

#include "platform/win/WinApi.h"

LxTreeViewWidget::LxTreeViewWidget(QWidget* parent)
    : QWidget(parent), FTree(std::make_unique<TlxTreeView>(nullptr))
{
    FTree->SetParentWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FTree->Widget());
    resetScrollDelayTime();
    FDefaultIndent = FTree->Indent();
    connectEvents();
}

LxTreeViewWidget::~LxTreeViewWidget()
{
    releaseEvents();
    FTree.reset();
}

QSize LxTreeViewWidget::sizeHint() const { return QSize(200, 250); }

void LxTreeViewWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        FTree->SetEnabled(isEnabled());
    QWidget::changeEvent(event);
}

void LxTreeViewWidget::connectEvents()
{
    FTree->OnChange = [this](TObject*, TlxTreeViewNode* node) { emit currentNodeChanged(node); };
    FTree->OnExpanded = [this](TObject*, TlxTreeViewNode* node) { emit nodeExpanded(node); };
    FTree->OnCollapsed = [this](TObject*, TlxTreeViewNode* node) { emit nodeCollapsed(node); };
    FTree->OnChecked = [this](TObject*, TlxTreeViewNode* node) { emit nodeChecked(node); };
    FTree->OnEdited = [this](TObject*, TlxTreeViewNode* node, std::string& text) {
        emit nodeEdited(node, QString::fromStdString(text));
    };
    FTree->OnDblClick = [this](TObject*) { emit nodeDoubleClicked(nodeUnderMouse()); };
}

// The handlers capture this widget, which is going.
void LxTreeViewWidget::releaseEvents()
{
    FTree->OnChange = nullptr;
    FTree->OnExpanded = nullptr;
    FTree->OnCollapsed = nullptr;
    FTree->OnChecked = nullptr;
    FTree->OnEdited = nullptr;
    FTree->OnDblClick = nullptr;
}

TlxTreeViewNode* LxTreeViewWidget::nodeUnderMouse() const
{
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(FTree->Handle(), &at);
    return FTree->GetNodeAt(at.x, at.y);
}
