#pragma once
// The Qt shapes of the built-in cursors.
#include <Qt>

#include "platform/framework/Controls.h"

// crDefault and numbers without a shape of their own are the arrow.
Qt::CursorShape CursorShape(TCursor Cursor);
