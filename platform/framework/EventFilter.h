#pragma once
// An event filter made of a function; it watches, and is owned by, one object.
#include <QObject>
#include <functional>

class TEventFilter : public QObject {
public:
    // Answers true to take the event from its receiver.
    using TFilter = std::function<bool(QObject* Watched, QEvent* Event)>;
    TEventFilter(QObject* Watched, TFilter Filter) : QObject(Watched), FFilter(std::move(Filter))
    {
        Watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override { return FFilter(Watched, Event); }

private:
    TFilter FFilter;
};
