#pragma once
#include <QApplication>
#include <QWidget>

#include "support/FormWithTree.h"
#include "platform/win/WindowWidget.h"

// A shown form holding one tree view that fills it, as an application has it.
class TreeFixture : public FormWithTree {
protected:
    void SetUp() override
    {
        FormWithTree::SetUp();
        tree->SetAlign(alClient);
        form->Show();
        QApplication::processEvents();
    }

    QWidget* View() { return WindowWidget(tree->Handle()); }
    // The centre of a node's label, in the view's widget coordinates.
    QPoint LabelCentre(TlxTreeViewNode* node)
    {
        RECT r = node->DisplayRect(true);
        return ToWidget(QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    QPoint ToWidget(QPoint client) { return client + static_cast<TWindowWidget*>(View())->ClientRect().topLeft(); }
};
