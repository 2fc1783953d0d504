#include "platform/framework/StdCtrls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "platform/framework/Forms.h"

namespace {

constexpr int BN_CLICKED = 0;
constexpr int EN_CHANGE = 0x0300;
constexpr int CBN_SELCHANGE = 1;
constexpr int CBN_EDITCHANGE = 5;

QString ToQString(const std::string& Text) { return QString::fromStdString(Text); }

// The box keeps its check state until the control sets it: a click only notifies.
class TNotifyingCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

} // namespace

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TWidgetControl(AOwner) { SetBounds(0, 0, 75, 25); }

QPushButton* TButton::Button() const { return qobject_cast<QPushButton*>(HostedWidget()); }

QWidget* TButton::CreateHostedWidget(QWidget* Parent)
{
    auto* button = new QPushButton(Parent);
    // Return on the focused button clicks it, whatever the form's default button is.
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Notify(BN_CLICKED); });
    return button;
}

void TButton::InitHostedWidget() { Button()->setDefault(FDefault); }

void TButton::ApplyCaption() { Button()->setText(ToQString(Caption())); }

void TButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (Button())
        Button()->setDefault(Value);
}

void TButton::Command(int Code)
{
    if (Code == BN_CLICKED)
        Click();
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    TWidgetControl::Click();
}

void TButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGKEY) {
        const bool mine = (Message.WParam == VK_RETURN && FDefault) || (Message.WParam == VK_ESCAPE && FCancel);
        Message.Result = mine ? 1 : 0;
        if (mine)
            Click();
        return;
    }
    TWidgetControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// TEdit

TEdit::TEdit(TComponent* AOwner) : TWidgetControl(AOwner)
{
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

QLineEdit* TEdit::LineEdit() const { return qobject_cast<QLineEdit*>(HostedWidget()); }

QWidget* TEdit::CreateHostedWidget(QWidget* Parent)
{
    auto* edit = new QLineEdit(Parent);
    edit->setText(ToQString(FText));
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this] { Notify(EN_CHANGE); });
    return edit;
}

void TEdit::InitHostedWidget()
{
    LineEdit()->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    LineEdit()->setReadOnly(FReadOnly);
}

void TEdit::Command(int Code)
{
    if (Code != EN_CHANGE)
        return;
    FText = LineEdit()->text().toStdString();
    if (OnChange)
        OnChange(this);
}

std::string TEdit::Text() const { return FText; }

void TEdit::SetText(const std::string& Value)
{
    if (Value == FText)
        return;
    if (LineEdit()) {
        LineEdit()->setText(ToQString(Value)); // its change notification follows
        return;
    }
    FText = Value;
    if (OnChange)
        OnChange(this);
}

void TEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    if (LineEdit())
        InitHostedWidget();
}

void TEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (LineEdit())
        InitHostedWidget();
}

void TEdit::SelectAll()
{
    if (LineEdit())
        LineEdit()->selectAll();
}

int TEdit::SelStart() const
{
    if (!LineEdit())
        return 0;
    return LineEdit()->hasSelectedText() ? LineEdit()->selectionStart() : LineEdit()->cursorPosition();
}

void TEdit::SetSelStart(int Value)
{
    if (LineEdit())
        LineEdit()->setCursorPosition(Value);
}

int TEdit::SelLength() const { return LineEdit() ? int(LineEdit()->selectedText().size()) : 0; }

void TEdit::SetSelLength(int Value)
{
    if (LineEdit())
        LineEdit()->setSelection(SelStart(), std::max(0, Value));
}

// ---------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWidgetControl(AOwner) { SetBounds(0, 0, 97, 17); }

QCheckBox* TCheckBox::CheckBox() const { return qobject_cast<QCheckBox*>(HostedWidget()); }

QWidget* TCheckBox::CreateHostedWidget(QWidget* Parent)
{
    auto* box = new TNotifyingCheckBox(Parent);
    box->setTristate(true);
    QObject::connect(box, &QCheckBox::clicked, box, [this] { Notify(BN_CLICKED); });
    return box;
}

void TCheckBox::ApplyCaption() { CheckBox()->setText(ToQString(Caption())); }

TCheckBoxState TCheckBox::NextState() const
{
    switch (FState) {
    case cbUnchecked: return cbChecked;
    case cbChecked: return FAllowGrayed ? cbGrayed : cbUnchecked;
    default: return FAllowGrayed ? cbUnchecked : cbChecked;
    }
}

void TCheckBox::Command(int Code)
{
    if (Code != BN_CLICKED)
        return;
    FState = NextState();
    ShowState();
    Click();
}

void TCheckBox::SetState(TCheckBoxState Value)
{
    const bool wasChecked = Checked();
    if (!Replace(FState, Value))
        return;
    ShowState();
    if (Checked() != wasChecked)
        Click();
}

void TCheckBox::ShowState()
{
    static const Qt::CheckState shown[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    if (CheckBox())
        CheckBox()->setCheckState(shown[FState]);
}

// ---------------------------------------------------------------------------
// TComboBox

// The combo box's items: every change shows in the box.
class TComboBox::TItems : public TStringList {
public:
    explicit TItems(TComboBox* Owner) : FOwner(Owner) {}
    void Put(int Index, const std::string& S) override
    {
        TStringList::Put(Index, S);
        FOwner->ItemsChanged();
    }
    void Insert(int Index, const std::string& S) override
    {
        TStringList::Insert(Index, S);
        FOwner->ItemsChanged();
    }
    void Delete(int Index) override
    {
        TStringList::Delete(Index);
        FOwner->ItemsChanged();
    }
    void Clear() override
    {
        TStringList::Clear();
        FOwner->ItemsChanged();
    }

private:
    TComboBox* FOwner;
};

TComboBox::TComboBox(TComponent* AOwner) : TWidgetControl(AOwner), FItems(std::make_unique<TItems>(this))
{
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

QComboBox* TComboBox::ComboBox() const { return qobject_cast<QComboBox*>(HostedWidget()); }

TStrings* TComboBox::Items() const { return FItems.get(); }

void TComboBox::SetItems(TStrings* Value)
{
    if (Value)
        FItems->Assign(Value);
}

QWidget* TComboBox::CreateHostedWidget(QWidget* Parent)
{
    auto* box = new QComboBox(Parent);
    QObject::connect(box, QOverload<int>::of(&QComboBox::activated), box, [this] { Notify(CBN_SELCHANGE); });
    return box;
}

void TComboBox::InitHostedWidget()
{
    QComboBox* box = ComboBox();
    const QSignalBlocker quiet(box);
    box->setEditable(FStyle == csDropDown);
    if (QLineEdit* edit = box->lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, box, [this] { Notify(CBN_EDITCHANGE); });
    box->setMaxVisibleItems(FDropDownCount);
    ShowItems();
}

void TComboBox::Command(int Code)
{
    if (Code == CBN_SELCHANGE) {
        FItemIndex = ComboBox()->currentIndex();
        FText = FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
    } else if (Code == CBN_EDITCHANGE) {
        FText = ComboBox()->currentText().toStdString();
        FItemIndex = -1;
    } else {
        return;
    }
    if (OnChange)
        OnChange(this);
}

void TComboBox::ItemsChanged()
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    ShowItems();
}

void TComboBox::ShowItems()
{
    QComboBox* box = ComboBox();
    if (!box)
        return;
    const QSignalBlocker quiet(box);
    box->clear();
    for (int i = 0; i < FItems->Count(); ++i)
        box->addItem(ToQString(FItems->Get(i)));
    ShowItemIndex();
}

void TComboBox::ShowItemIndex()
{
    QComboBox* box = ComboBox();
    if (!box)
        return;
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(FItemIndex);
    if (FItemIndex < 0 && box->isEditable())
        box->setEditText(ToQString(FText));
}

void TComboBox::SetStyle(TComboBoxStyle Value)
{
    if (!Replace(FStyle, Value))
        return;
    if (Value == csDropDownList && FItemIndex < 0)
        FText.clear();
    if (ComboBox())
        InitHostedWidget();
}

void TComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    FItemIndex = Value;
    FText = Value >= 0 ? FItems->Get(Value) : std::string();
    ShowItemIndex();
}

std::string TComboBox::Text() const { return FText; }

void TComboBox::SetText(const std::string& Value)
{
    const int index = FItems->IndexOf(Value);
    if (FStyle == csDropDownList) {
        if (index >= 0)
            SetItemIndex(index);
        return;
    }
    FItemIndex = index >= 0 && FItems->Get(index) == Value ? index : -1;
    FText = Value;
    ShowItemIndex();
}

void TComboBox::SetDropDownCount(int Value)
{
    FDropDownCount = std::max(1, Value);
    if (ComboBox())
        ComboBox()->setMaxVisibleItems(FDropDownCount);
}

// ---------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* AOwner) : TWidgetControl(AOwner)
{
    SetTabStop(false);
    SetBounds(0, 0, 65, 13);
}

QLabel* TLabel::Label() const { return qobject_cast<QLabel*>(HostedWidget()); }

QWidget* TLabel::CreateHostedWidget(QWidget* Parent)
{
    auto* label = new QLabel(Parent);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

void TLabel::InitHostedWidget()
{
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    Label()->setAlignment(horizontal[FAlignment] | Qt::AlignTop);
    Label()->setAutoFillBackground(!FTransparent);
}

void TLabel::ApplyCaption() { Label()->setText(ToQString(Caption())); }

void TLabel::Dispatch(TMessage& Message)
{
    TWidgetControl::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_FONTCHANGED)
        AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!FAutoSize)
        return;
    const QSize text = QFontMetrics(Font()->ToQFont()).size(0, ToQString(Caption()));
    SetBounds(Left(), Top(), text.width(), text.height());
}

void TLabel::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    AdjustSize();
}

void TLabel::SetTransparent(bool Value)
{
    FTransparent = Value;
    if (Label())
        InitHostedWidget();
}

void TLabel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    if (Label())
        InitHostedWidget();
}

void TLabel::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl == Value)
        return;
    if (FFocusControl)
        RemoveFreeNotification(FFocusControl);
    FFocusControl = Value;
    if (Value)
        FreeNotification(Value);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TWidgetControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

// ---------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TWidgetControl(AOwner)
{
    SetTabStop(false);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 185, 105);
}

QGroupBox* TGroupBox::GroupBox() const { return qobject_cast<QGroupBox*>(HostedWidget()); }

QWidget* TGroupBox::CreateHostedWidget(QWidget* Parent) { return new QGroupBox(Parent); }

void TGroupBox::ApplyCaption() { GroupBox()->setTitle(ToQString(Caption())); }
