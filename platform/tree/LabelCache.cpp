#include "platform/tree/LabelCache.h"

namespace lxtree {

TLabelCache::TLabel TLabelCache::Get(const QString& text, const QFont& font)
{
    if (FCount >= kMaxLabels)
        Clear();
    TFontLabels& slot = LabelsFor(font);
    auto found = slot.labels.constFind(text);
    if (found != slot.labels.constEnd())
        return found.value();
    TLabel label = std::make_shared<const TLabelLine>(text, font);
    slot.labels.insert(text, label);
    ++FCount;
    return label;
}

void TLabelCache::Clear()
{
    FFonts.clear();
    FCount = 0;
}

// Fonts are few (the window's, its bold form, the odd custom-draw font), so a short
// list compared in turn finds one faster than hashing a font would.
TLabelCache::TFontLabels& TLabelCache::LabelsFor(const QFont& font)
{
    for (TFontLabels& slot : FFonts)
        if (slot.font == font)
            return slot;
    if (FFonts.size() >= kMaxFonts)
        Clear();
    FFonts.push_back(TFontLabels{font, {}});
    return FFonts.back();
}

} // namespace lxtree
