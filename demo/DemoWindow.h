#pragma once
// The demo's main window: a menu bar over a tree view hosted in a plain Qt window.
#include <QMainWindow>
#include <memory>

class TlxTreeView;
class QLabel;

class TDemoWindow : public QMainWindow {
    Q_OBJECT
public:
    TDemoWindow();
    ~TDemoWindow() override;
    TlxTreeView* Tree() const { return FTree.get(); }

private:
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildOptionsMenu();
    void OpenFile();
    void SaveFile(bool binary);
    void ShowError(const std::exception& e);
    void UpdateStatus();

    std::unique_ptr<TlxTreeView> FTree;
    QLabel* FStatus = nullptr;
};
