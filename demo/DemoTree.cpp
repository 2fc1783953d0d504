#include "demo/DemoTree.h"

#include <cstdint>
#include <string>

#include "model/lxTreeView.h"

namespace {

const char* const Modules[] = {"Accounts", "Billing", "Catalogue", "Delivery", "Inventory", "Reports"};
const char* const Layers[] = {"Forms", "Data modules", "Reports", "Resources"};
const char* const Settings[] = {"Colours", "Fonts", "Shortcuts", "Start-up", "Updates"};

void SetImages(TlxTreeViewNode* Node, int Image, int Selected)
{
    Node->SetImageIndex(Image);
    Node->SetSelectedIndex(Selected);
}

void AddModule(TlxTreeViewNodes* items, TlxTreeViewNode* parent, const std::string& module)
{
    TlxTreeViewNode* moduleNode = items->AddChild(parent, module);
    SetImages(moduleNode, diFolder, diOpenFolder);
    for (const char* layer : Layers) {
        TlxTreeViewNode* layerNode = items->AddChild(moduleNode, layer);
        SetImages(layerNode, diFolder, diOpenFolder);
        for (int i = 1; i <= 8; ++i) {
            TlxTreeViewNode* unit = items->AddChild(layerNode, module + " " + layer + " " + std::to_string(i));
            SetImages(unit, diDocument, diDocument);
            if (i % 3 == 0) {
                SetImages(items->AddChild(unit, "Interface"), diDocument, diDocument);
                SetImages(items->AddChild(unit, "Implementation"), diDocument, diDocument);
            }
        }
    }
}

} // namespace

void FillDemoTree(TlxTreeViewNodes* Items)
{
    Items->BeginUpdate();
    TlxTreeViewNode* project = Items->Add(nullptr, "Project: Vornak Trading");
    SetImages(project, diFolder, diOpenFolder);
    for (const char* module : Modules)
        AddModule(Items, project, module);
    // Each settings group shows another kind of check glyph for its options.
    const TCheckType groupTypes[] = {lxtRadioButton, lxtCheckBox, lxtTextButton, lxtCheckBoxGrayed, lxtTimeButton};
    TlxTreeViewNode* settings = Items->Add(nullptr, "Settings");
    SetImages(settings, diSettings, diSettings);
    int g = 0;
    for (const char* s : Settings) {
        TlxTreeViewNode* group = Items->AddChild(settings, s);
        SetImages(group, diSettings, diSettings);
        group->SetCheckType(groupTypes[g++]);
        for (int i = 1; i <= 4; ++i)
            Items->AddChild(group, group->CheckType() == lxtTimeButton ? "0" + std::to_string(7 + i) + ":30:00"
                                                                        : std::string(s) + " option " + std::to_string(i));
        if (group->CheckType() == lxtRadioButton || group->CheckType() == lxtCheckBox)
            group->GetFirstChild()->GetNextSibling()->SetCheckState(lxsChecked);
    }
    TlxTreeViewNode* notes = Items->Add(nullptr, "Release notes");
    SetImages(notes, diFolder, diOpenFolder);
    for (int v = 1; v <= 12; ++v)
        SetImages(Items->AddChild(notes, "Version 7." + std::to_string(v)), diNote, diNote);
    // The sort menu's "data" is each text's length.
    for (TlxTreeViewNode* node = Items->GetFirstNode(); node; node = node->GetNext())
        node->SetData(reinterpret_cast<void*>(std::intptr_t(node->Text().size())));
    Items->EndUpdate();

    project->Expand(false);
    project->GetFirstChild()->Expand(false);
    project->GetFirstChild()->GetFirstChild()->Expand(false);
    settings->Expand(false);
    settings->GetFirstChild()->Expand(false);
    settings->GetFirstChild()->GetNextSibling()->Expand(false);
}
