#pragma once
// The standard controls: push button, single-line edit, check box, combo box, label
// and group box, each hosting the matching Qt widget (WidgetControl.h).
#include <memory>

#include "platform/framework/WidgetControl.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A click sets the ModalResult of the form the button is on (when not mrNone) before
// OnClick. Return that the focused control leaves clicks the Default button, Escape
// the Cancel button.
class TButton : public TWidgetControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    QPushButton* Button() const;
    void Click() override;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override;
    void Command(int Code) override;
    void ApplyCaption() override;
    void Dispatch(TMessage& Message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

// OnChange follows every change of Text, by the user or by SetText.
class TEdit : public TWidgetControl {
public:
    explicit TEdit(TComponent* AOwner);
    std::string Text() const;
    void SetText(const std::string& Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The selection works on the window's widget and is empty without one.
    void SelectAll();
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QLineEdit* LineEdit() const;

    TNotifyEvent OnChange;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override;
    void Command(int Code) override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }

private:
    std::string FText;
    int FMaxLength = 0; // 0: no limit
    bool FReadOnly = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A click moves unchecked -> checked -> grayed (with AllowGrayed) -> unchecked; a
// grayed box without AllowGrayed becomes checked. A click always fires OnClick; a
// change from code fires it when Checked changes.
class TCheckBox : public TWidgetControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    QCheckBox* CheckBox() const;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override { ShowState(); }
    void Command(int Code) override;
    void ApplyCaption() override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Window; }

private:
    TCheckBoxState NextState() const;
    void ShowState();
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// OnChange follows the user's picks and typing, not ItemIndex or Text set from code.
class TComboBox : public TWidgetControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    TStrings* Items() const;
    void SetItems(TStrings* Value);
    // -1: no item, and the box shows none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    std::string Text() const;
    void SetText(const std::string& Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    QComboBox* ComboBox() const;

    TNotifyEvent OnChange;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override;
    void Command(int Code) override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }

private:
    class TItems;
    void ItemsChanged();
    void ShowItems();
    void ShowItemIndex();
    std::unique_ptr<TItems> FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;
    std::string FText;
    int FDropDownCount = 8;
};

// Takes no focus; with AutoSize it keeps the size of its text.
class TLabel : public TWidgetControl {
public:
    explicit TLabel(TComponent* AOwner);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    QLabel* Label() const;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void InitHostedWidget() override;
    void ApplyCaption() override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Window; }
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AdjustSize();
    TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true;
    bool FTransparent = false;
    TAlignment FAlignment = taLeftJustify;
};

// Child controls are placed from the box's top-left corner, caption area included.
class TGroupBox : public TWidgetControl {
public:
    explicit TGroupBox(TComponent* AOwner);
    QGroupBox* GroupBox() const;

protected:
    QWidget* CreateHostedWidget(QWidget* Parent) override;
    void ApplyCaption() override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Window; }
};
