#pragma once
// The check glyphs that tree nodes show in front of their images: 14 pictures of
// 16 x 16 pixels side by side (blank, check boxes, radio buttons, value buttons and
// the padlock), in the order of the node's glyph index.
#include <QColor>
#include <QImage>

constexpr int CheckGlyphSize = 16;
constexpr int CheckGlyphCount = 14;

// The colour of every pixel outside the glyph shapes; image lists take it as the mask.
inline QColor CheckGlyphBackground() { return QColor(128, 128, 0); }

// Draws the 224 x 16 strip. Shadow and Face colour the sunken edges and the gray
// (disabled or pressed) interiors, so the glyphs follow the desktop's colour scheme.
QImage DrawCheckGlyphStrip(const QColor& Shadow, const QColor& Face);
