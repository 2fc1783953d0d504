#include "package/lxTreeView70.h"

#include "control/TreeViewPublished.h"
#include "design/lxTreeAbout.h"
#include "design/lxTreeViewEditor.h"
#include "design/lxTreeViewRegister.h"

namespace lxTreeView70 {

namespace {

TPackageState& State()
{
    static TPackageState state(GetPackageInfoTable());
    return state;
}

} // namespace

const TPackageInfoTable& GetPackageInfoTable()
{
    static const TPackageInfoTable table{
        "lxTreeView70",
        "lxTreeView: a tree view with check boxes, radio and value buttons, multi-selection, drag and drop, "
        "and its item editor",
        {"rtl70", "vcl70", "designide70"},
        {
            {"lxTreeAbout", PublishAboutBox, nullptr},
            {"lxTreeView", PublishlxTreeView, nullptr},
            {"lxTreeViewEditor", PublishItemEditor, nullptr},
            {"DesignIntf", nullptr, nullptr},
            {"lxTreeViewRegister", lxTreeViewRegister::InitializeUnit, lxTreeViewRegister::FinalizeUnit},
            {"lxTreeView70", nullptr, nullptr},
        }};
    return table;
}

void Initialize() { State().Initialize(); }

void Finalize() { State().Finalize(); }

} // namespace lxTreeView70
