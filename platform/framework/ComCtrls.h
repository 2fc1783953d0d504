#pragma once
// The status bar: panels shown left to right with their widths, or with SimplePanel
// one text over the whole bar. Aligned to the bottom of its parent by default.
#include <memory>
#include <vector>

#include "platform/framework/WidgetControl.h"

class QLabel;
class QStatusBar;
class TStatusPanels;

class TStatusPanel : public TPersistent {
public:
    explicit TStatusPanel(TStatusPanels* Owner) : FOwner(Owner) {}
    void Assign(TPersistent* Source) override;
    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Index() const;

private:
    TStatusPanels* FOwner;
    std::string FText;
    int FWidth = 50;
};

class TStatusBar;

class TStatusPanels : public TPersistent {
public:
    explicit TStatusPanels(TStatusBar* Owner) : FOwner(Owner) {}
    ~TStatusPanels() override;
    void Assign(TPersistent* Source) override;
    TStatusPanel* Add();
    int Count() const { return int(FItems.size()); }
    TStatusPanel* Items(int Index) const { return FItems.at(std::size_t(Index)).get(); }
    void Delete(int Index);
    void Clear();

private:
    friend class TStatusPanel;
    void Changed();
    TStatusBar* FOwner;
    std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

class TStatusBar : public TWidgetControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value);
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& Value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    QStatusBar* StatusBar() const;
    // The label that shows a panel, while the bar has a window.
    QLabel* PanelLabel(int Index) const;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Window; }

private:
    friend class TStatusPanels;
    void ShowPanels();
    void ShowSimpleText();
    std::unique_ptr<TStatusPanels> FPanels;
    std::vector<QLabel*> FLabels; // children of the status bar widget
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
};
