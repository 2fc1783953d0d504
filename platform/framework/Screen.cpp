#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "platform/framework/Cursors.h"
#include "platform/framework/Forms.h"

namespace {

QSize PrimaryScreenSize()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

} // namespace

// One override cursor at most is ours on Qt's stack: a new shape replaces it.
void TScreen::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    const QCursor cursor(CursorShape(Value));
    if (FCursor == crDefault)
        QGuiApplication::setOverrideCursor(cursor);
    else if (Value == crDefault)
        QGuiApplication::restoreOverrideCursor();
    else
        QGuiApplication::changeOverrideCursor(cursor);
    FCursor = Value;
}

int TScreen::Width() const { return PrimaryScreenSize().width(); }

int TScreen::Height() const { return PrimaryScreenSize().height(); }

TScreen* Screen()
{
    static TScreen* TheScreen = new TScreen(nullptr);
    return TheScreen;
}
