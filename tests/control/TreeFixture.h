#pragma once
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "control/lxTreeViewControl.h"
#include "platform/framework/Forms.h"
#include "support/TreeEvents.h"
#include "platform/win/WindowWidget.h"

// A shown form holding one tree view, as an application has it.
class TreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 400);
        tree = new TlxTreeView(form.get());
        tree->SetParent(form.get());
        tree->SetAlign(alClient);
        form->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        // The tests' handlers capture their locals, which are gone by now.
        if (form)
            ClearTreeEvents(tree);
        form.reset();
    }

    QWidget* View() { return WindowWidget(tree->Handle()); }
    TlxTreeViewNodes* Items() { return tree->Items(); }
    // The centre of a node's label, in the view's widget coordinates.
    QPoint LabelCentre(TlxTreeViewNode* node)
    {
        RECT r = node->DisplayRect(true);
        return ToWidget(QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    QPoint ToWidget(QPoint client) { return client + static_cast<TWindowWidget*>(View())->ClientRect().topLeft(); }

    std::unique_ptr<TForm> form;
    TlxTreeView* tree = nullptr;
};
