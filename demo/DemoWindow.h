#pragma once
// The demo's main window: a menu bar over a tree view hosted in a plain Qt window.
#include <QMainWindow>
#include <string>

class QMenu;
#include <cstdio>
#include <memory>

class TlxTreeView;
class TlxTreeViewNode;
class TPopupMenu;
class QLabel;
class QString;

class TDemoWindow : public QMainWindow {
    Q_OBJECT
public:
    TDemoWindow();
    ~TDemoWindow() override;
    TlxTreeView* Tree() const { return FTree.get(); }
    // Prints where every visible node's label and check glyph are on the screen, and
    // every check and selection change, for scripts that use the demo with real input.
    void TraceTo(FILE* out);
    // Prints the tree into a PDF file, as "Export PDF..." does.
    void ExportPdfTo(const std::string& path);
    // Opens the item editor on the tree, as "Edit items..." does.
    void EditItems();
    // Saves a picture of the item editor showing one node, then closes it.
    bool SaveEditorScreenshot(const QString& path);

private:
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildOptionsMenu();
    void BuildNodeMenus();
    void BuildSortMenu();
    void BuildPrintMenu(QMenu* file);
    void PrintWithDialog();
    void PreviewPrint();
    void ExportPdf();
    void EnableNodeDragging();
    void AddChildTo(TlxTreeViewNode* parent);
    void SetChildrenChecked(TlxTreeViewNode* group, bool checked);
    void OpenFile();
    void SaveFile(bool binary);
    void ShowError(const std::exception& e);
    void UpdateStatus();

    std::unique_ptr<TlxTreeView> FTree;
    // Right-click menus: one for nodes in general, one for groups of check boxes.
    std::unique_ptr<TPopupMenu> FNodeMenu;
    std::unique_ptr<TPopupMenu> FGroupMenu;
    QLabel* FStatus = nullptr;
    FILE* FTrace = nullptr;
    void PrintNodePlaces();
};
