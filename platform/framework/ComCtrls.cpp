#include "platform/framework/ComCtrls.h"

#include <QLabel>
#include <QStatusBar>

// ---------------------------------------------------------------------------
// Panels

void TStatusPanel::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStatusPanel*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FText = source->FText;
    FWidth = source->FWidth;
    FOwner->Changed();
}

void TStatusPanel::SetText(const std::string& Value)
{
    if (Replace(FText, Value))
        FOwner->Changed();
}

void TStatusPanel::SetWidth(int Value)
{
    if (Replace(FWidth, std::max(0, Value)))
        FOwner->Changed();
}

int TStatusPanel::Index() const
{
    for (int i = 0; i < FOwner->Count(); ++i)
        if (FOwner->Items(i) == this)
            return i;
    return -1;
}

TStatusPanels::~TStatusPanels() = default;

void TStatusPanels::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStatusPanels*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FItems.clear();
    for (const auto& panel : source->FItems)
        Add()->Assign(panel.get());
    Changed();
}

TStatusPanel* TStatusPanels::Add()
{
    FItems.push_back(std::make_unique<TStatusPanel>(this));
    Changed();
    return FItems.back().get();
}

void TStatusPanels::Delete(int Index)
{
    FItems.erase(FItems.begin() + std::ptrdiff_t(Items(Index)->Index()));
    Changed();
}

void TStatusPanels::Clear()
{
    FItems.clear();
    Changed();
}

void TStatusPanels::Changed()
{
    if (FOwner)
        FOwner->ShowPanels();
}

// ---------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner) : TWidgetControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this))
{
    SetTabStop(false);
    SetBounds(0, 0, 0, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

QStatusBar* TStatusBar::StatusBar() const { return qobject_cast<QStatusBar*>(HostedWidget()); }

QLabel* TStatusBar::PanelLabel(int Index) const
{
    return StatusBar() && Index >= 0 && Index < int(FLabels.size()) ? FLabels[std::size_t(Index)] : nullptr;
}

QWidget* TStatusBar::CreateHostedWidget(QWidget* Parent)
{
    auto* bar = new QStatusBar(Parent);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

void TStatusBar::InitHostedWidget()
{
    StatusBar()->setSizeGripEnabled(FSizeGrip);
    FLabels.clear();
    ShowPanels();
}

void TStatusBar::ShowPanels()
{
    QStatusBar* bar = StatusBar();
    if (!bar)
        return;
    for (QLabel* label : FLabels)
        delete label;
    FLabels.clear();
    // Every panel has its width but the last, which runs on to the bar's end.
    for (int i = 0; i < FPanels->Count(); ++i) {
        auto* label = new QLabel(QString::fromStdString(FPanels->Items(i)->Text()), bar);
        const bool last = i == FPanels->Count() - 1;
        if (last)
            label->setMinimumWidth(FPanels->Items(i)->Width());
        else
            label->setFixedWidth(FPanels->Items(i)->Width());
        bar->addWidget(label, last ? 1 : 0);
        FLabels.push_back(label);
    }
    ShowSimpleText();
}

// A message over the bar hides the panels while it shows.
void TStatusBar::ShowSimpleText()
{
    if (!StatusBar())
        return;
    if (FSimplePanel)
        StatusBar()->showMessage(QString::fromStdString(FSimpleText));
    else
        StatusBar()->clearMessage();
}

void TStatusBar::SetPanels(TStatusPanels* Value)
{
    if (Value)
        FPanels->Assign(Value);
}

void TStatusBar::SetSimplePanel(bool Value)
{
    FSimplePanel = Value;
    ShowSimpleText();
}

void TStatusBar::SetSimpleText(const std::string& Value)
{
    FSimpleText = Value;
    ShowSimpleText();
}

void TStatusBar::SetSizeGrip(bool Value)
{
    FSizeGrip = Value;
    if (StatusBar())
        StatusBar()->setSizeGripEnabled(Value);
}
