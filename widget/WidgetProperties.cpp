// The control's published properties as the widget's Qt properties, with the defaults
// the control declares for them.
#include <algorithm>
#include <cstdint>

#include "widget/LxTreeViewWidget.h"

namespace {

constexpr int DefaultScrollDelayTime = 300;
// The largest item height the control keeps (it holds the height in a signed byte).
constexpr int LargestItemHeight = 127;

struct TColorProperty {
    TColor (TCustomlxTreeView::*Get)() const;
    void (TCustomlxTreeView::*Set)(TColor);
    TColor Default;
};

// By LxTreeViewWidget::ColorRole.
const TColorProperty ColorProperties[] = {
    {&TCustomlxTreeView::Color, &TCustomlxTreeView::SetColor, clWindow},
    {&TCustomlxTreeView::SelectedColor, &TCustomlxTreeView::SetSelectedColor, clHighlight},
    {&TCustomlxTreeView::UnfocusedSelectedColor, &TCustomlxTreeView::SetUnfocusedSelectedColor, clBtnFace},
    {&TCustomlxTreeView::DropSelectedColor, &TCustomlxTreeView::SetDropSelectedColor, clBtnFace},
    {&TCustomlxTreeView::MarkColor, &TCustomlxTreeView::SetMarkColor, clBtnFace},
};

static_assert(int(LxTreeViewWidget::roVerifyData) == int(TTreeOptions{roVerifyData}.Bits()));
static_assert(LxTreeViewWidget::stBoth == int(stBoth) && LxTreeViewWidget::bsSingle == int(bsSingle));

} // namespace

QColor LxTreeViewWidget::colorOf(ColorRole role) const
{
    return TColorToQColor((FTree.get()->*ColorProperties[role].Get)());
}

void LxTreeViewWidget::setColorOf(ColorRole role, TColor value) { (FTree.get()->*ColorProperties[role].Set)(value); }

QColor LxTreeViewWidget::color() const { return colorOf(BackgroundColor); }
void LxTreeViewWidget::setColor(const QColor& value) { setColorOf(BackgroundColor, QColorToTColor(value)); }
void LxTreeViewWidget::resetColor() { setColorOf(BackgroundColor, ColorProperties[BackgroundColor].Default); }

QColor LxTreeViewWidget::selectedColor() const { return colorOf(SelectionColor); }
void LxTreeViewWidget::setSelectedColor(const QColor& value) { setColorOf(SelectionColor, QColorToTColor(value)); }
void LxTreeViewWidget::resetSelectedColor() { setColorOf(SelectionColor, ColorProperties[SelectionColor].Default); }

QColor LxTreeViewWidget::unfocusedSelectedColor() const { return colorOf(UnfocusedSelectionColor); }
void LxTreeViewWidget::setUnfocusedSelectedColor(const QColor& value)
{
    setColorOf(UnfocusedSelectionColor, QColorToTColor(value));
}
void LxTreeViewWidget::resetUnfocusedSelectedColor()
{
    setColorOf(UnfocusedSelectionColor, ColorProperties[UnfocusedSelectionColor].Default);
}

QColor LxTreeViewWidget::dropSelectedColor() const { return colorOf(DropSelectionColor); }
void LxTreeViewWidget::setDropSelectedColor(const QColor& value)
{
    setColorOf(DropSelectionColor, QColorToTColor(value));
}
void LxTreeViewWidget::resetDropSelectedColor()
{
    setColorOf(DropSelectionColor, ColorProperties[DropSelectionColor].Default);
}

QColor LxTreeViewWidget::markColor() const { return colorOf(InsertMarkColor); }
void LxTreeViewWidget::setMarkColor(const QColor& value) { setColorOf(InsertMarkColor, QColorToTColor(value)); }
void LxTreeViewWidget::resetMarkColor() { setColorOf(InsertMarkColor, ColorProperties[InsertMarkColor].Default); }

LxTreeViewWidget::TreeBorderStyle LxTreeViewWidget::borderStyle() const
{
    return TreeBorderStyle(FTree->BorderStyle());
}
void LxTreeViewWidget::setBorderStyle(TreeBorderStyle value) { FTree->SetBorderStyle(TBorderStyle(value)); }
void LxTreeViewWidget::resetBorderStyle() { FTree->SetBorderStyle(::bsSingle); }

LxTreeViewWidget::TreeOptions LxTreeViewWidget::options() const
{
    return TreeOptions::fromInt(int(FTree->Options().Bits()));
}
void LxTreeViewWidget::setOptions(TreeOptions value)
{
    FTree->SetOptions(TTreeOptions::FromBits(std::uint64_t(value.toInt()) & AllTreeOptionBits));
}
void LxTreeViewWidget::resetOptions() { FTree->SetOptions(DefaultOptions); }

LxTreeViewWidget::TreeSortType LxTreeViewWidget::sortType() const { return TreeSortType(FTree->SortType()); }
void LxTreeViewWidget::setSortType(TreeSortType value) { FTree->SetSortType(TSortType(value)); }
void LxTreeViewWidget::resetSortType() { FTree->SetSortType(::stNone); }

int LxTreeViewWidget::changeDelay() const { return FTree->ChangeDelay(); }
void LxTreeViewWidget::setChangeDelay(int value) { FTree->SetChangeDelay(value); }
void LxTreeViewWidget::resetChangeDelay() { FTree->SetChangeDelay(0); }

int LxTreeViewWidget::indent() const { return FTree->Indent(); }
void LxTreeViewWidget::setIndent(int value) { FTree->SetIndent(value); }
void LxTreeViewWidget::resetIndent() { FTree->SetIndent(FDefaultIndent); }

int LxTreeViewWidget::itemHeight() const { return FTree->ItemHeight(); }
void LxTreeViewWidget::setItemHeight(int value)
{
    FTree->SetItemHeight(std::int8_t(std::clamp(value, 0, LargestItemHeight)));
}
void LxTreeViewWidget::resetItemHeight() { FTree->SetItemHeight(0); }

int LxTreeViewWidget::scrollDelayTime() const { return FTree->ScrollDelayTime(); }
void LxTreeViewWidget::setScrollDelayTime(int value) { FTree->SetScrollDelayTime(value); }
void LxTreeViewWidget::resetScrollDelayTime() { FTree->SetScrollDelayTime(DefaultScrollDelayTime); }
