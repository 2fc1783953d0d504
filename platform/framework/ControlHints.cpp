// Hints: the application's Hint follows the control under the mouse, and a control's
// tooltip is the short part of its hint while ShowHint is on.
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "platform/framework/Application.h"
#include "platform/framework/Controls.h"
#include "platform/win/WindowWidget.h"

namespace {

std::string HintAt(const QWidget* Widget)
{
    const TWinControl* control = Widget ? TWinControl::FindControl(WindowFromWidget(Widget)) : nullptr;
    return control ? control->InheritedHint() : std::string();
}

// Qt tells every widget the mouse enters, outermost first, and every widget it leaves.
// Entering a widget of a control gives its hint; leaving one gives the hint of what
// holds the widget, which the mouse is back in unless it enters something else next.
class THintTracker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        auto* widget = qobject_cast<QWidget*>(Watched);
        if (!widget)
            return false;
        switch (Event->type()) {
        case QEvent::Enter: Application()->SetHint(GetLongHint(HintAt(widget))); break;
        case QEvent::Leave: Application()->SetHint(GetLongHint(HintAt(widget->parentWidget()))); break;
        case QEvent::ToolTip: return !Application()->ShowHint();
        default: break;
        }
        return false;
    }
};

} // namespace

void TWinControl::TrackHints()
{
    static QPointer<THintTracker> tracker;
    if (tracker || !qApp)
        return;
    tracker = new THintTracker(qApp);
    qApp->installEventFilter(tracker);
}

std::string TWinControl::InheritedHint() const
{
    for (const TWinControl* control = this; control; control = control->FParent)
        if (!control->FHint.empty())
            return control->FHint;
    return {};
}

void TWinControl::SetHint(const std::string& Value)
{
    if (Replace(FHint, Value))
        ApplyHintToWidget();
}

// Widgets inside the window that have no tooltip of their own pass the request on to it.
void TWinControl::ApplyHintToWidget()
{
    if (!HandleAllocated())
        return;
    if (QWidget* w = WindowWidget(FHandle))
        w->setToolTip(FShowHint ? QString::fromStdString(GetShortHint(FHint)) : QString());
}
