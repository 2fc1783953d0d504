#include "platform/framework/Buttons.h"

#include <QBitmap>
#include <QToolButton>

TSpeedButton::TSpeedButton(TComponent* AOwner) : TWidgetControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    SetTabStop(false);
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = [this](TObject*) { ShowGlyph(); };
}

TSpeedButton::~TSpeedButton() { FGlyph->OnChange = nullptr; }

QToolButton* TSpeedButton::ToolButton() const { return qobject_cast<QToolButton*>(HostedWidget()); }

QWidget* TSpeedButton::CreateHostedWidget(QWidget* Parent)
{
    auto* button = new QToolButton(Parent);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // Checkable only to show Down; the click handler decides the state.
    button->setCheckable(true);
    QObject::connect(button, &QToolButton::clicked, button, [this] { Notify(0); });
    return button;
}

void TSpeedButton::InitHostedWidget()
{
    ToolButton()->setAutoRaise(FFlat);
    ShowDown();
    ShowGlyph();
}

void TSpeedButton::ApplyCaption() { ToolButton()->setText(QString::fromStdString(Caption())); }

void TSpeedButton::Command(int)
{
    if (FGroupIndex != 0)
        SetDown(!FDown || !FAllowAllUp);
    ShowDown(); // the click toggled the tool button's own state
    Click();
}

template <class F>
void TSpeedButton::ForEachInGroup(F Action)
{
    if (FGroupIndex == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex)
            Action(other);
    }
}

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (!Replace(FDown, Value))
        return;
    if (Value)
        ForEachInGroup([](TSpeedButton* other) {
            other->FDown = false;
            other->ShowDown();
        });
    ShowDown();
}

void TSpeedButton::SetGroupIndex(int Value)
{
    FGroupIndex = Value;
    if (Value == 0)
        SetDown(false);
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    FAllowAllUp = Value;
    ForEachInGroup([Value](TSpeedButton* other) { other->FAllowAllUp = Value; });
}

void TSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    if (ToolButton())
        ToolButton()->setAutoRaise(Value);
}

void TSpeedButton::SetGlyph(TBitmap* Value)
{
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph->SetSize(0, 0);
}

void TSpeedButton::ShowDown()
{
    if (ToolButton())
        ToolButton()->setChecked(FDown);
}

void TSpeedButton::ShowGlyph()
{
    if (!ToolButton())
        return;
    if (FGlyph->Empty()) {
        ToolButton()->setIcon(QIcon());
        return;
    }
    const QImage image = FGlyph->ToImage();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1), Qt::MaskInColor));
    ToolButton()->setIcon(QIcon(pixmap));
    ToolButton()->setIconSize(pixmap.size());
    // A glyph without a caption sits in the middle of the button.
    ToolButton()->setToolButtonStyle(Caption().empty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}
