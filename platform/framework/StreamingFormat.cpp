// The binary form stream (layout in Streaming.h) and its readable listing.
#include <cctype>
#include <cstring>
#include <set>
#include <sstream>

#include "platform/framework/Streaming.h"

namespace {

constexpr char Signature[6] = {'L', 'X', 'F', 'O', 'R', 'M'};
constexpr char RootRecord = 'R';
constexpr char ComponentRecord = 'C';
constexpr char EndRecord = 'E';

[[noreturn]] void Corrupt(const std::string& What)
{
    throw EReadError("The form stream is damaged: " + What);
}

// ---- Encoding

void PutUInt32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutString(std::string& out, const std::string& value)
{
    if (value.size() > 0xFFFFFFFFu)
        throw EWriteError("A form stream string is longer than 4 GiB");
    PutUInt32(out, std::uint32_t(value.size()));
    out += value;
}

std::string EncodeComponent(const TComponentImage& c)
{
    std::string out;
    PutString(out, c.ClassName);
    PutString(out, c.Name);
    out.push_back(char(c.ParentKind));
    PutString(out, c.ParentName);
    PutUInt32(out, std::uint32_t(c.Properties.size()));
    for (const auto& [name, value] : c.Properties) {
        PutString(out, name);
        PutString(out, value);
    }
    return out;
}

void WriteRecord(TStream& stream, char kind, const std::string& payload)
{
    std::string header(1, kind);
    PutUInt32(header, std::uint32_t(payload.size()));
    stream.WriteBuffer(header.data(), std::int64_t(header.size()));
    stream.WriteBuffer(payload.data(), std::int64_t(payload.size()));
}

// ---- Decoding

std::uint32_t DecodeUInt32(const unsigned char* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

// Reads the fields of one record's payload, never past its end.
class TPayloadReader {
public:
    explicit TPayloadReader(const std::string& payload) : FData(payload) {}
    std::uint8_t Byte()
    {
        Need(1, "a record");
        return std::uint8_t(FData[FPos++]);
    }
    std::uint32_t UInt32()
    {
        Need(4, "a record");
        const std::uint32_t v = DecodeUInt32(reinterpret_cast<const unsigned char*>(FData.data() + FPos));
        FPos += 4;
        return v;
    }
    std::string String()
    {
        const std::uint32_t length = UInt32();
        Need(length, "a string");
        std::string s = FData.substr(FPos, length);
        FPos += length;
        return s;
    }
    bool AtEnd() const { return FPos == FData.size(); }

private:
    void Need(std::size_t count, const char* what)
    {
        if (FData.size() - FPos < count)
            Corrupt(std::string(what) + " ends early");
    }
    const std::string& FData;
    std::size_t FPos = 0;
};

TComponentImage DecodeComponent(const std::string& payload)
{
    TPayloadReader in(payload);
    TComponentImage c;
    c.ClassName = in.String();
    c.Name = in.String();
    const std::uint8_t parent = in.Byte();
    if (parent > pkComponentParent)
        Corrupt("unknown parent kind " + std::to_string(parent));
    c.ParentKind = TParentKind(parent);
    c.ParentName = in.String();
    if ((c.ParentKind == pkComponentParent) == c.ParentName.empty())
        Corrupt("the parent of " + c.Name + " is inconsistent");
    const std::uint32_t count = in.UInt32();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string name = in.String();
        std::string value = in.String();
        if (name.empty() || !c.Properties.emplace(std::move(name), std::move(value)).second)
            Corrupt("a property name of " + c.Name + " is empty or repeated");
    }
    if (!in.AtEnd())
        Corrupt("the record of " + c.Name + " has bytes left over");
    if (c.ClassName.empty())
        Corrupt("a record has no class name");
    return c;
}

struct TRecord {
    char Kind = 0;
    std::string Payload;
};

TRecord ReadRecord(TStream& stream)
{
    unsigned char header[5];
    if (stream.Read(header, 5) != 5)
        Corrupt("the stream ends before its end record");
    TRecord r;
    r.Kind = char(header[0]);
    const std::uint32_t length = DecodeUInt32(header + 1);
    if (length > stream.Size() - stream.Position())
        Corrupt("a record is longer than the rest of the stream");
    r.Payload.resize(length);
    stream.ReadBuffer(r.Payload.data(), length);
    return r;
}

void CheckSignature(TStream& stream)
{
    unsigned char head[8];
    if (stream.Read(head, 8) != 8 || std::memcmp(head, Signature, sizeof Signature) != 0)
        throw EReadError("Not a form stream");
    const unsigned version = unsigned(head[6]) | unsigned(head[7]) << 8;
    if (version != FormStreamVersion)
        throw EReadError("Unsupported form stream version " + std::to_string(version));
}

// ---- Listing

// A tagged filer value of exactly the bytes given, shown as such; anything else in hex.
std::string ValueToText(const std::string& v)
{
    const auto tag = v.empty() ? 0 : static_cast<unsigned char>(v[0]);
    if (v.size() == 1 && (tag == vaTrue || tag == vaFalse))
        return tag == vaTrue ? "True" : "False";
    if (v.size() == 9 && tag == vaInt64) {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= std::uint64_t(static_cast<unsigned char>(v[1 + i])) << (8 * i);
        return std::to_string(std::int64_t(bits));
    }
    if (v.size() >= 5 && tag == vaUTF8String &&
        DecodeUInt32(reinterpret_cast<const unsigned char*>(v.data() + 1)) == v.size() - 5)
        return "'" + v.substr(5) + "'";
    static const char digits[] = "0123456789ABCDEF";
    std::string hex = "{";
    for (unsigned char ch : v) {
        hex.push_back(digits[ch >> 4]);
        hex.push_back(digits[ch & 15]);
    }
    return hex + "}";
}

void ListComponent(std::ostringstream& out, const TComponentImage& c, const char* indent)
{
    out << indent << "object " << c.Name << ": " << c.ClassName;
    if (c.ParentKind == pkRootParent)
        out << " (parent: root)";
    else if (c.ParentKind == pkComponentParent)
        out << " (parent: " << c.ParentName << ")";
    out << "\n";
    for (const auto& [name, value] : c.Properties)
        out << indent << "  " << name << " = " << ValueToText(value) << "\n";
}

} // namespace

const TComponentImage* TFormImage::Find(const std::string& Name) const
{
    for (const TComponentImage& c : Components)
        if (c.Name == Name)
            return &c;
    return nullptr;
}

void WriteFormImage(TStream& Stream, const TFormImage& Image)
{
    std::string head(Signature, sizeof Signature);
    head.push_back(char(FormStreamVersion & 0xFF));
    head.push_back(char(FormStreamVersion >> 8));
    Stream.WriteBuffer(head.data(), std::int64_t(head.size()));
    WriteRecord(Stream, RootRecord, EncodeComponent(Image.Root));
    for (const TComponentImage& c : Image.Components)
        WriteRecord(Stream, ComponentRecord, EncodeComponent(c));
    WriteRecord(Stream, EndRecord, std::string());
}

TFormImage ReadFormImage(TStream& Stream)
{
    CheckSignature(Stream);
    TRecord record = ReadRecord(Stream);
    if (record.Kind != RootRecord)
        Corrupt("the first record is not the root");
    TFormImage image;
    image.Root = DecodeComponent(record.Payload);
    if (image.Root.ParentKind != pkNoParent)
        Corrupt("the root has a parent");
    std::set<std::string> names;
    for (;;) {
        record = ReadRecord(Stream);
        if (record.Kind == EndRecord) {
            if (!record.Payload.empty())
                Corrupt("the end record has a payload");
            return image;
        }
        if (record.Kind != ComponentRecord)
            Corrupt("unknown record kind " + std::to_string(int(static_cast<unsigned char>(record.Kind))));
        TComponentImage c = DecodeComponent(record.Payload);
        // Component names are unique without regard to case.
        std::string key = c.Name;
        for (char& ch : key)
            ch = char(std::tolower(static_cast<unsigned char>(ch)));
        if (c.Name.empty() || !names.insert(key).second)
            Corrupt("a component name is empty or repeated");
        image.Components.push_back(std::move(c));
    }
}

std::string FormImageToText(const TFormImage& Image)
{
    std::ostringstream out;
    ListComponent(out, Image.Root, "");
    for (const TComponentImage& c : Image.Components)
        ListComponent(out, c, "  ");
    out << "end\n";
    return out.str();
}
