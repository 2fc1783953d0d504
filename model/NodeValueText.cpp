// TlxTreeViewNode: the text of a value-button node is its value. After an edit, number,
// date and time buttons bring their text into the host locale's standard form.
#include <exception>

#include "model/CheckGlyphs.h"
#include "model/lxTreeView.h"
#include "platform/framework/SysUtils.h"
#include "platform/win/WinApi.h"

namespace {

// Normalise(Text), or Text marked with "???" after a beep when it is not a value of
// the kind. Empty text stays empty.
template <typename Normaliser>
std::string Normalised(const std::string& Text, Normaliser Normalise)
{
    if (Text.empty())
        return Text;
    try {
        return Normalise(Text);
    } catch (const std::exception&) {
        Beep();
        return Text + "???";
    }
}

std::string VerifyNumber(const std::string& Text)
{
    return Normalised(Text, [](const std::string& S) { return FloatToStr(StrToFloat(S)); });
}

std::string VerifyDate(const std::string& Text)
{
    return Normalised(Text, [](const std::string& S) { return DateToStr(StrToDate(S)); });
}

std::string VerifyTime(const std::string& Text)
{
    return Normalised(Text, [](const std::string& S) { return TimeToStr(StrToTime(S)); });
}

} // namespace

// The kind of value is read from the glyph the node shows now; text buttons and
// every other glyph keep their text.
void TlxTreeViewNode::VerifyNodeText()
{
    switch (FStateIndex) {
    case lxCheckGlyph::NumberButton: SetText(VerifyNumber(Text())); break;
    case lxCheckGlyph::DateButton: SetText(VerifyDate(Text())); break;
    case lxCheckGlyph::TimeButton: SetText(VerifyTime(Text())); break;
    default: break;
    }
}
