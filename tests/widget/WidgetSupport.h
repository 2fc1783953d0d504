#pragma once
#include <QPoint>
#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <ostream>
#include <string>
#include <vector>

#include "platform/win/WindowWidget.h"
#include "widget/LxTreeViewWidget.h"

// Fills a tree with the nodes that NodesForm.ui carries in its Data property: a check box
// parent and a radio button parent with nested children, one checked child each. The
// tree needs roCheckSupport for the check states.
inline void FillFormTree(TlxTreeViewNodes* Nodes)
{
    TlxTreeViewNode* documents = Nodes->Add(nullptr, "Documents");
    documents->SetCheckType(lxtCheckBox);
    Nodes->AddChild(documents, "Letters")->SetCheckState(lxsChecked);
    TlxTreeViewNode* invoices = Nodes->AddChild(documents, "Invoices");
    Nodes->AddChild(invoices, "2026");
    TlxTreeViewNode* music = Nodes->Add(nullptr, "Music");
    music->SetCheckType(lxtRadioButton);
    Nodes->AddChild(music, "Jazz")->SetCheckState(lxsChecked);
    Nodes->AddChild(music, "Folk");
}

// Every node in document order as "level text check-type check-state", for comparing trees.
inline std::vector<std::string> Outline(TlxTreeViewNodes* Nodes)
{
    std::vector<std::string> lines;
    for (TlxTreeViewNode* n = Nodes->GetFirstNode(); n; n = n->GetNext())
        lines.push_back(std::to_string(n->Level()) + " " + n->Text() + " " + std::to_string(int(n->CheckType())) +
                        " " + std::to_string(int(n->CheckState())));
    return lines;
}

// The outline of FillFormTree's nodes.
inline std::vector<std::string> FormTreeOutline()
{
    return {"0 Documents 1 0", "1 Letters 0 1", "1 Invoices 0 0", "2 2026 0 0",
            "0 Music 3 0",     "1 Jazz 0 1",    "1 Folk 0 0"};
}

// The options the form sets: the control's defaults and check support.
inline LxTreeViewWidget::TreeOptions FormOptions()
{
    return LxTreeViewWidget::TreeOptions::fromInt(int(DefaultTreeOptions)) | LxTreeViewWidget::roCheckSupport;
}

// The widget of the tree's own window, which takes the mouse and the keys.
inline QWidget* TreeWindow(LxTreeViewWidget& Widget) { return WindowWidget(Widget.tree()->Handle()); }

// A point of the tree's client area in the coordinates of its window widget.
inline QPoint InTreeWindow(LxTreeViewWidget& Widget, QPoint Client)
{
    return Client + static_cast<TWindowWidget*>(TreeWindow(Widget))->ClientRect().topLeft();
}

// The centre of a node's label, in the coordinates of the tree's window widget.
inline QPoint LabelCentre(LxTreeViewWidget& Widget, TlxTreeViewNode* Node)
{
    const RECT r = Node->DisplayRect(true);
    return InTreeWindow(Widget, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

// Collects the warnings Qt reports while it lives (one at a time).
class TWarnings {
public:
    TWarnings() : FPrevious(qInstallMessageHandler(&TWarnings::Collect)) { Texts().clear(); }
    ~TWarnings() { qInstallMessageHandler(FPrevious); }
    TWarnings(const TWarnings&) = delete;
    TWarnings& operator=(const TWarnings&) = delete;
    static QStringList& Texts()
    {
        static QStringList texts;
        return texts;
    }

private:
    static void Collect(QtMsgType Type, const QMessageLogContext&, const QString& Text)
    {
        if (Type == QtWarningMsg)
            Texts() << Text;
    }
    QtMessageHandler FPrevious;
};

// Lets GoogleTest print a QString as text.
inline void PrintTo(const QString& Text, std::ostream* Out) { *Out << '"' << Text.toStdString() << '"'; }
