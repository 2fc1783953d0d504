#include "platform/framework/TextForm.h"

#include <cctype>
#include <charconv>
#include <sstream>

#include "platform/framework/SysUtils.h"

namespace {

std::string Trimmed(const std::string& Text)
{
    const auto first = Text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const auto last = Text.find_last_not_of(" \t\r");
    return Text.substr(first, last - first + 1);
}

bool IsIdentifier(const std::string& Text)
{
    if (Text.empty() || !(std::isalpha(static_cast<unsigned char>(Text[0])) || Text[0] == '_'))
        return false;
    for (char c : Text)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

// Reads one statement a line and builds the image; errors name the line.
class TTextFormParser {
public:
    TFormImage Parse(const std::string& Text);

private:
    struct TOpenObject {
        std::string Name;
        TComponentImage* Image; // the root, or null for a component (see FComponentIndex)
        std::size_t ComponentIndex;
    };
    void Statement(const std::string& Line);
    void BeginObject(const std::string& Declaration);
    void Property(const std::string& Path, const std::string& Value);
    TComponentImage& Current();
    std::string ListLines(std::istream& Lines);
    std::string EncodedValue(const std::string& Value) const;
    std::string ListText(const std::string& Value) const;
    std::string QuotedString(const std::string& Value) const;
    std::int64_t Integer(const std::string& Value) const;
    std::int64_t SetBits(const std::string& Value) const;
    [[noreturn]] void Fail(const std::string& Message) const;

    TFormImage FImage;
    std::vector<TOpenObject> FOpen;
    bool FRootDone = false;
    int FLine = 0;
};

TFormImage TTextFormParser::Parse(const std::string& Text)
{
    std::istringstream lines(Text);
    std::string line;
    while (std::getline(lines, line)) {
        ++FLine;
        line = Trimmed(line);
        if (line.empty() || line.compare(0, 2, "//") == 0)
            continue;
        if (FRootDone)
            Fail("text after the form's end");
        // A list runs on to the line that closes it.
        if (line.back() == '(' && line.find('=') != std::string::npos)
            line += ListLines(lines);
        Statement(line);
    }
    if (!FRootDone)
        Fail(FOpen.empty() ? "no object in the text" : "object " + FOpen.back().Name + " has no end");
    return FImage;
}

void TTextFormParser::Statement(const std::string& Line)
{
    if (Line.compare(0, 7, "object ") == 0)
        return BeginObject(Trimmed(Line.substr(7)));
    if (Line == "end") {
        if (FOpen.empty())
            Fail("end without an object");
        FOpen.pop_back();
        FRootDone = FOpen.empty();
        return;
    }
    const auto equals = Line.find('=');
    if (equals == std::string::npos)
        Fail("expected \"object\", \"end\" or a property: " + Line);
    if (FOpen.empty())
        Fail("property outside an object");
    Property(Trimmed(Line.substr(0, equals)), Trimmed(Line.substr(equals + 1)));
}

void TTextFormParser::BeginObject(const std::string& Declaration)
{
    const auto colon = Declaration.find(':');
    const std::string name = Trimmed(Declaration.substr(0, colon));
    const std::string className = colon == std::string::npos ? "" : Trimmed(Declaration.substr(colon + 1));
    if (!IsIdentifier(name) || !IsIdentifier(className))
        Fail("expected \"object Name: Class\"");
    TComponentImage image;
    image.Name = name;
    image.ClassName = className;
    if (FOpen.empty()) {
        FImage.Root = std::move(image);
        FOpen.push_back({name, &FImage.Root, 0});
        return;
    }
    image.ParentKind = FOpen.size() == 1 ? pkRootParent : pkComponentParent;
    if (FOpen.size() > 1)
        image.ParentName = FOpen.back().Name;
    if (FImage.Find(name) || SameText(name, FImage.Root.Name))
        Fail("a second object named " + name);
    FImage.Components.push_back(std::move(image));
    FOpen.push_back({name, nullptr, FImage.Components.size() - 1});
}

// The lines of a list up to its closing parenthesis, each after a line break.
std::string TTextFormParser::ListLines(std::istream& Lines)
{
    std::string list, line;
    while (std::getline(Lines, line)) {
        ++FLine;
        line = Trimmed(line);
        list += "\n" + line;
        if (!line.empty() && line.back() == ')')
            return list;
    }
    Fail("a list without its closing parenthesis");
}

TComponentImage& TTextFormParser::Current()
{
    const TOpenObject& open = FOpen.back();
    return open.Image ? *open.Image : FImage.Components[open.ComponentIndex];
}

void TTextFormParser::Property(const std::string& Path, const std::string& Value)
{
    if (Path.empty() || Value.empty())
        Fail("a property needs a name and a value");
    if (!Current().Properties.emplace(Path, EncodedValue(Value)).second)
        Fail("property " + Path + " is given twice");
}

std::string TTextFormParser::EncodedValue(const std::string& Value) const
{
    if (Value[0] == '\'')
        return EncodeStringValue(QuotedString(Value));
    if (Value[0] == '(')
        return EncodeStringValue(ListText(Value));
    if (Value[0] == '[')
        return EncodeOrdinalValue(pkSet, SetBits(Value));
    if (SameText(Value, "True") || SameText(Value, "False"))
        return EncodeOrdinalValue(pkBoolean, SameText(Value, "True"));
    if (IsIdentifier(Value)) {
        if (std::optional<std::int64_t> known = IdentifierValue(Value))
            return EncodeOrdinalValue(pkInteger, *known);
        return EncodeStringValue(Value); // a method's name
    }
    return EncodeOrdinalValue(pkInteger, Integer(Value));
}

// 'piece' + 'piece', with '' for a quote inside a piece.
std::string TTextFormParser::QuotedString(const std::string& Value) const
{
    std::string result;
    std::size_t at = 0;
    if (Value.empty() || Value[0] != '\'')
        Fail("expected a quoted string: " + Value);
    for (++at;; ++at) {
        if (at >= Value.size())
            Fail("a string without its closing quote");
        if (Value[at] == '\'' && (at + 1 >= Value.size() || Value[at + 1] != '\''))
            break;
        if (Value[at] == '\'')
            ++at;
        result += Value[at];
    }
    const std::string rest = Trimmed(Value.substr(at + 1));
    if (rest.empty())
        return result;
    if (rest[0] != '+')
        Fail("unexpected text after a string: " + rest);
    return result + QuotedString(Trimmed(rest.substr(1)));
}

// A list of strings and integers, one a line, becomes their lines joined by line breaks.
std::string TTextFormParser::ListText(const std::string& Value) const
{
    std::istringstream items(Value.substr(1, Value.size() - 2));
    std::string item, text;
    bool first = true;
    while (std::getline(items, item)) {
        item = Trimmed(item);
        if (item.empty())
            continue;
        text += (first ? "" : "\n") + (item[0] == '\'' ? QuotedString(item) : std::to_string(Integer(item)));
        first = false;
    }
    return text;
}

std::int64_t TTextFormParser::Integer(const std::string& Value) const
{
    const bool hex = Value[0] == '$';
    const char* first = Value.data() + (hex ? 1 : 0);
    const char* last = Value.data() + Value.size();
    std::int64_t result = 0;
    const auto [end, error] = std::from_chars(first, last, result, hex ? 16 : 10);
    if (error != std::errc() || end != last || first == last)
        Fail("not a value: " + Value);
    return result;
}

std::int64_t TTextFormParser::SetBits(const std::string& Value) const
{
    if (Value.back() != ']')
        Fail("a set without its closing bracket: " + Value);
    std::uint64_t bits = 0;
    std::istringstream elements(Value.substr(1, Value.size() - 2));
    std::string element;
    while (std::getline(elements, element, ',')) {
        element = Trimmed(element);
        if (element.empty())
            continue;
        const std::optional<std::int64_t> ordinal = IdentifierValue(element);
        if (!ordinal || *ordinal < 0 || *ordinal > 63)
            Fail("unknown set element " + element);
        bits |= std::uint64_t(1) << *ordinal;
    }
    return std::int64_t(bits);
}

void TTextFormParser::Fail(const std::string& Message) const
{
    throw EReadError("Line " + std::to_string(FLine) + ": " + Message);
}

} // namespace

TFormImage ParseTextForm(const std::string& Text) { return TTextFormParser().Parse(Text); }

void ReadTextForm(const std::string& Text, TComponent* Root) { ApplyFormImage(ParseTextForm(Text), Root); }
