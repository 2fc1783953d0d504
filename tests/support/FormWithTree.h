#pragma once
#include <gtest/gtest.h>
#include <memory>

#include "control/lxTreeViewControl.h"
#include "platform/framework/Forms.h"
#include "support/TreeEvents.h"

// A form of 300 by 400 pixels holding one tree view, not yet shown. The form owns the
// tree and frees it after the test.
class FormWithTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 400);
        tree = new TlxTreeView(form.get());
        tree->SetParent(form.get());
    }
    void TearDown() override
    {
        // The tests' handlers capture their locals, which are gone by now.
        if (form)
            ClearTreeEvents(tree);
        form.reset();
    }

    TlxTreeViewNodes* Items() { return tree->Items(); }

    std::unique_ptr<TForm> form;
    TlxTreeView* tree = nullptr;
};
