#pragma once
// The object model of the host framework layer: TObject, TPersistent with its filers,
// TComponent with ownership and notifications, streams and string lists.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/SysUtils.h"

class TObject;
class TPersistent;
class TComponent;
class TFiler;
class TReader;
class TWriter;
class TStream;

using TNotifyEvent = std::function<void(TObject* Sender)>;

LX_DECLARE_EXCEPTION(EComponentError, Exception);

// ---------------------------------------------------------------------------
// Small sets over an enumeration whose values are bit numbers (0 to 63).

template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items)
            FBits |= Bit(e);
    }
    static constexpr TSet FromBits(std::uint64_t bits)
    {
        TSet s;
        s.FBits = bits;
        return s;
    }
    constexpr std::uint64_t Bits() const { return FBits; }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
    constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
    constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
    constexpr TSet& operator+=(TSet o) { FBits |= o.FBits; return *this; }
    constexpr TSet& operator-=(TSet o) { FBits &= ~o.FBits; return *this; }
    constexpr bool operator==(TSet o) const { return FBits == o.FBits; }
    constexpr bool operator!=(TSet o) const { return FBits != o.FBits; }

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t(1) << static_cast<unsigned>(e); }
    std::uint64_t FBits = 0;
};

// Field set to Value; true when that changed it, so that a setter reports changes only.
template <class T>
bool Replace(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

// Sets a flag for the life of the object, whatever leaves the scope.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

// ---------------------------------------------------------------------------

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // The dynamic class's name without namespaces, e.g. "TMemoryStream".
    std::string ClassName() const;
};

class TPersistent : public TObject {
public:
    // Copies Source into this object; classes that know Source override it. The default
    // asks Source to assign itself to this object (AssignTo), which fails with EConvertError.
    virtual void Assign(TPersistent* Source);

protected:
    friend class TWriter;
    friend class TReader;
    friend class TFormReader;
    virtual void AssignTo(TPersistent* Dest);
    // Declares the properties that the filer stores besides the published ones.
    virtual void DefineProperties(TFiler* Filer) {}
    [[noreturn]] void AssignError(TPersistent* Source);
};

// ---------------------------------------------------------------------------
// Components

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
    csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    // The owner, when given, takes the new component into its Components and frees it.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const; // EListError when out of bounds
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& AName) const;

    const std::string& Name() const { return FName; }
    // Names are unique (case-insensitively) among the owner's components.
    virtual void SetName(const std::string& NewName);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }

    TComponentState ComponentState() const { return FComponentState; }
    // Marks this component (and, by default, everything it owns) as designed in the designer.
    void SetDesigning(bool Value, bool SetChildren = true);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks this component and its owned components as being destroyed.
    void Destroying();

    // Asks to be told (Notification with opRemove) when AComponent is destroyed. The
    // request is mutual, and each side forgets the other when either goes away.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called by the reader once all properties are read; clears csLoading.
    virtual void Loaded();
    // The component that holds this one visually (a control's parent, a menu item's
    // item or menu); a form stream stores it. Components without such a holder have none.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Puts the component under a holder read from a form stream; EReadError when this
    // kind of component cannot be held by that one. Held by its owner, a component that
    // has no holder stays as it is.
    virtual void SetParentComponent(TComponent* Value);

protected:
    friend class TReader;
    friend class TWriter;
    friend class TFormReader;
    // AComponent is being inserted into or removed from the owner, or a component this one
    // asked about is being destroyed. The default forgets a removed free-notification
    // partner and forwards the notification to every owned component.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    void IncludeState(TComponentStateItem Item) { FComponentState.Include(Item); }
    void ExcludeState(TComponentStateItem Item) { FComponentState.Exclude(Item); }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    static void EraseFrom(std::vector<TComponent*>& list, TComponent* item);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    std::intptr_t FTag = 0;
    TComponentState FComponentState;
};

// ---------------------------------------------------------------------------
// Streams

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
public:
    // Transfer up to Count bytes and return how many were transferred.
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    // Moves the position and returns the new position.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    // Room for Count bytes at the position, filled in place by the caller and made part
    // of the stream by CommitWrite with the number of bytes used (at most Count); null
    // when the stream lends no memory of its own, and WriteBuffer is the way.
    virtual char* ReserveWrite(std::int64_t Count) { return nullptr; }
    virtual void CommitWrite(std::int64_t Count) {}

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Pos) { Seek(Pos, soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t NewSize);

    // Like Read and Write, but a short transfer raises EReadError / EWriteError.
    void ReadBuffer(void* Buffer, std::int64_t Count);
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    // Copies Count bytes from Source's position; Count 0 copies the whole of Source from
    // its beginning. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    char* ReserveWrite(std::int64_t Count) override;
    void CommitWrite(std::int64_t Count) override;
    std::int64_t Size() override { return FSize; }
    // Growing fills with zeros; a position past the new end moves to the end.
    void SetSize(std::int64_t NewSize) override;
    // Memory reserved for writing: writes up to this size move no bytes around.
    // It never drops below the size.
    std::int64_t Capacity() const { return FCapacity; }
    void SetCapacity(std::int64_t NewCapacity);

    void* Memory() { return FSize == 0 ? nullptr : FMemory.get(); }
    const void* Memory() const { return FSize == 0 ? nullptr : FMemory.get(); }
    // Empties the stream; a block of many megabytes stays reserved for the next writes.
    void Clear();
    // Replaces the contents with the whole of Stream (read from its beginning).
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

protected:
    // Bytes between the size and the capacity are not initialised: a stream written in
    // one pass touches its memory once.
    struct TFreeMemory {
        void operator()(char* P) const;
    };
    std::unique_ptr<char, TFreeMemory> FMemory;
    std::int64_t FSize = 0;
    std::int64_t FCapacity = 0;
    std::int64_t FPosition = 0;

private:
    void MakeRoom(std::int64_t End);
};

class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& AString = std::string());
    std::string DataString() const;
    // Reads up to Count bytes from the position.
    std::string ReadString(std::int64_t Count);
    void WriteString(const std::string& AString);
};

constexpr unsigned short fmCreate = 0xFFFF;
constexpr unsigned short fmOpenRead = 0x0000;
constexpr unsigned short fmOpenWrite = 0x0001;
constexpr unsigned short fmOpenReadWrite = 0x0002;
constexpr unsigned short fmShareCompat = 0x0000;
constexpr unsigned short fmShareExclusive = 0x0010;
constexpr unsigned short fmShareDenyWrite = 0x0020;
constexpr unsigned short fmShareDenyRead = 0x0030;
constexpr unsigned short fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    // fmCreate makes the file (replacing an existing one); other modes open an existing
    // file. Failures raise EFCreateError / EFOpenError naming the file and the reason.
    // Share flags are accepted and ignored.
    TFileStream(const std::string& FileName, unsigned short Mode);
    ~TFileStream() override;
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;
    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    std::string FFileName;
    int FHandle = -1;
};

// ---------------------------------------------------------------------------
// String lists

class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S) = 0;
    virtual TObject* GetObject(int Index) const = 0;
    virtual void PutObject(int Index, TObject* AObject) = 0;
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const std::string& S) { Put(Index, S); }
    std::string operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    virtual int Add(const std::string& S);
    int AddObject(const std::string& S, TObject* AObject);
    void AddStrings(const TStrings& Strings);
    // Case-insensitive (ASCII) search; -1 when absent.
    virtual int IndexOf(const std::string& S) const;

    // Every line followed by LineBreak (CR LF by default).
    std::string Text() const;
    // Splits at CR LF, LF or CR; a final line break adds no empty line.
    void SetText(const std::string& Value);
    const std::string& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const std::string& Value) { FLineBreak = Value; }

    void LoadFromStream(TStream* Stream); // from the position to the end
    void SaveToStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

    void Assign(TPersistent* Source) override;

private:
    std::string FLineBreak = "\r\n";
};

class TStringList : public TStrings {
public:
    int Count() const override { return int(FItems.size()); }
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override { FItems.clear(); }
    // Sorts case-insensitively (ASCII), keeping the order of equal strings.
    void Sort();

private:
    struct TItem {
        std::string S;
        TObject* Object = nullptr;
    };
    void CheckIndex(int Index) const;
    std::vector<TItem> FItems;
};

// ---------------------------------------------------------------------------
// Filers: store the properties a persistent object defines (DefineProperties) as a map
// from property name to bytes. Values written through TWriter carry a one-byte type tag:
//   vaInt64   8 bytes little-endian     vaFalse / vaTrue   no data
//   vaDouble  8 bytes IEEE little-endian vaUTF8String      4-byte length, then the bytes
// Binary properties hold exactly the bytes their writer produced.

using TPropertyMap = std::map<std::string, std::string>;
using TReaderProc = std::function<void(TReader& Reader)>;
using TWriterProc = std::function<void(TWriter& Writer)>;
using TStreamProc = std::function<void(TStream& Stream)>;

enum TValueType : unsigned char { vaFalse = 8, vaTrue = 9, vaInt64 = 16, vaUTF8String = 20, vaDouble = 21 };

class TFiler : public TObject {
public:
    // Read is called when the property is present while reading; Write is called when
    // HasData is true while writing.
    virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;
    virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                      bool HasData) = 0;
    // When set, the object being written descends from this one: a property whose value
    // equals the ancestor's need not be written (the object decides, through HasData).
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* Value) { FAncestor = Value; }

private:
    TPersistent* FAncestor = nullptr;
};

class TWriter : public TFiler {
public:
    explicit TWriter(TPropertyMap& Properties) : FProperties(Properties) {}
    // Stores every property that Instance defines with HasData true. A component is in
    // csWriting meanwhile.
    void WriteProperties(TPersistent* Instance);

    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Values of the property being written (inside a TWriterProc).
    void WriteString(const std::string& Value);
    void WriteInteger(std::int64_t Value);
    void WriteBoolean(bool Value);
    void WriteFloat(double Value);

private:
    TMemoryStream& Value();
    TPropertyMap& FProperties;
    TMemoryStream* FValue = nullptr;
};

class TReader : public TFiler {
public:
    explicit TReader(const TPropertyMap& Properties) : FProperties(Properties) {}
    // Hands every stored property that Instance defines to its reader. A component is in
    // csLoading and csReading meanwhile and gets Loaded afterwards. Stored properties that
    // Instance does not define are left alone.
    void ReadProperties(TPersistent* Instance);

    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Values of the property being read (inside a TReaderProc); a value of another type,
    // or none, raises EReadError.
    std::string ReadString();
    std::int64_t ReadInteger();
    bool ReadBoolean();
    double ReadFloat();

private:
    TStream& Value();
    unsigned char ReadTag();
    const TPropertyMap& FProperties;
    TStream* FValue = nullptr;
};
