#include "platform/framework/Classes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <typeinfo>
#include <unistd.h>

namespace {

// A memory stream's block from this size on is kept by Clear.
constexpr std::int64_t KeptCapacity = std::int64_t(8) << 20;

// The file named FileName opened for reading (shared with other readers), handed to Read.
template <class TRead> void ReadFromFile(const std::string& FileName, TRead Read)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    Read(&stream);
}

// The file named FileName created afresh (or emptied), handed to Write.
template <class TWrite> void WriteToFile(const std::string& FileName, TWrite Write)
{
    TFileStream stream(FileName, fmCreate);
    Write(&stream);
}

// Runs Transfer(bytes done so far) until Count bytes are through, the file ends or
// fails; a call interrupted by a signal is repeated. Answers the bytes moved.
template <class TTransfer> std::int64_t TransferAll(std::int64_t Count, TTransfer Transfer)
{
    std::int64_t done = 0;
    while (done < Count) {
        const ssize_t n = Transfer(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

// Sets a pointer to null when the scope ends, also by an exception: a filer's value
// stream lives only while a property's reader or writer runs.
template <class T> struct TClearedOnExit {
    T*& Pointer;
    ~TClearedOnExit() { Pointer = nullptr; }
};

} // namespace

// ---------------------------------------------------------------------------
// TObject, TPersistent

std::string TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled) ? demangled : mangled;
    std::free(demangled);
    const size_t colons = name.rfind("::");
    return colons == std::string::npos ? name : name.substr(colons + 2);
}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source)
{
    const std::string sourceName = Source ? Source->ClassName() : std::string("nil");
    throw EConvertError(Format(SAssignError, sourceName, ClassName()));
}

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every partner that asked; each side forgets the other first, so a partner
    // that does not call the inherited Notification cannot make this loop forever.
    while (!FFreeNotifies.empty()) {
        TComponent* partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        EraseFrom(partner->FFreeNotifies, this);
        partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format(SListIndexError, Index));
    return FComponents[size_t(Index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto& list = FOwner->FComponents;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, AName))
            return c;
    return nullptr;
}

void TComponent::SetName(const std::string& NewName)
{
    if (NewName == FName)
        return;
    if (FOwner && !NewName.empty()) {
        TComponent* other = FOwner->FindComponent(NewName);
        if (other && other != this)
            throw EComponentError(Format("A component named %s already exists", NewName));
    }
    FName = NewName;
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* c : FComponents)
            c->SetDesigning(Value, true);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
        throw EComponentError(Format("A component named %s already exists", AComponent->FName));
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    EraseFrom(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::EraseFrom(std::vector<TComponent*>& list, TComponent* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        // A component that others watch is removed with notifications, so that siblings
        // holding a reference to it let go before it is freed.
        if (instance->FComponentState.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        delete instance;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    // Components of the same owner hear of each other's removal through the owner.
    if (!FOwner || AComponent->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
            FFreeNotifies.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    EraseFrom(FFreeNotifies, AComponent);
    EraseFrom(AComponent->FFreeNotifies, this);
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::SetParentComponent(TComponent* Value)
{
    if (Value && Value != FOwner)
        throw EReadError("Component " + FName + " cannot be placed in " + Value->Name());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Handlers may free owned components: walk backwards and re-check the bound.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount())
            i = ComponentCount() - 1;
        if (i < 0)
            break;
        FComponents[size_t(i)]->Notification(AComponent, Operation);
    }
}

// ---------------------------------------------------------------------------
// TStream

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t)
{
    throw EStreamError(ClassName() + " cannot change its size");
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(SWriteError);
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const std::int64_t total = Count;
    std::vector<char> buffer(size_t(std::min<std::int64_t>(Count, 0xF000)));
    while (Count > 0) {
        const std::int64_t n = std::min<std::int64_t>(Count, std::int64_t(buffer.size()));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        Count -= n;
    }
    return total;
}

// ---------------------------------------------------------------------------
// TMemoryStream

void TMemoryStream::TFreeMemory::operator()(char* P) const
{
    std::free(P);
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count)
{
    if (Count <= 0 || FPosition < 0 || FPosition >= FSize)
        return 0;
    const std::int64_t n = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, FMemory.get() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0 || FPosition < 0)
        return 0;
    const std::int64_t end = FPosition + Count;
    MakeRoom(end);
    if (FPosition > FSize)
        std::memset(FMemory.get() + FSize, 0, size_t(FPosition - FSize));
    std::memcpy(FMemory.get() + FPosition, Buffer, size_t(Count));
    FPosition = end;
    FSize = std::max(FSize, end);
    return Count;
}

char* TMemoryStream::ReserveWrite(std::int64_t Count)
{
    // A position past the end leaves a gap that Write fills with zeros.
    if (Count <= 0 || FPosition < 0 || FPosition > FSize)
        return nullptr;
    MakeRoom(FPosition + Count);
    return FMemory.get() + FPosition;
}

// Grows geometrically, so that many small writes stay linear overall.
void TMemoryStream::MakeRoom(std::int64_t End)
{
    if (End > FCapacity)
        SetCapacity(std::max(End, FCapacity * 2));
}

void TMemoryStream::CommitWrite(std::int64_t Count)
{
    FPosition += Count;
    FSize = std::max(FSize, FPosition);
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
    }
    return FPosition;
}

void TMemoryStream::SetCapacity(std::int64_t NewCapacity)
{
    NewCapacity = std::max(NewCapacity, FSize);
    if (NewCapacity == FCapacity)
        return;
    if (NewCapacity == 0) {
        FMemory.reset();
        FCapacity = 0;
        return;
    }
    void* Grown = std::realloc(FMemory.get(), size_t(NewCapacity));
    if (!Grown)
        throw EOutOfMemory(Format("Out of memory for a stream of %d bytes", NewCapacity));
    FMemory.release();
    FMemory.reset(static_cast<char*>(Grown));
    // No large pages: faulting them in waits for the system to compact memory, which
    // made the first writes into a fresh block of a hundred megabytes take twice as long.
    FCapacity = NewCapacity;
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    if (NewSize < 0)
        throw EStreamError(Format("Invalid stream size (%d)", NewSize));
    if (NewSize > FCapacity)
        SetCapacity(NewSize);
    if (NewSize > FSize)
        std::memset(FMemory.get() + FSize, 0, size_t(NewSize - FSize));
    FSize = NewSize;
    if (FPosition > NewSize)
        FPosition = NewSize;
}

// A block of many megabytes stays: a stream that is cleared is mostly filled again, and
// writing into fresh pages costs more than the pages' memory while the stream lives.
void TMemoryStream::Clear()
{
    FSize = 0;
    FPosition = 0;
    if (FCapacity < KeptCapacity)
        SetCapacity(0);
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    const std::int64_t count = Stream->Size();
    SetSize(count);
    if (count != 0)
        Stream->ReadBuffer(FMemory.get(), count);
}

void TMemoryStream::SaveToStream(TStream* Stream)
{
    if (FSize != 0)
        Stream->WriteBuffer(FMemory.get(), FSize);
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    ReadFromFile(FileName, [this](TStream* Stream) { LoadFromStream(Stream); });
}

void TMemoryStream::SaveToFile(const std::string& FileName)
{
    WriteToFile(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

// ---------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const std::string& AString)
{
    WriteBuffer(AString.data(), std::int64_t(AString.size()));
    SetPosition(0);
}

std::string TStringStream::DataString() const
{
    return FSize == 0 ? std::string() : std::string(FMemory.get(), std::size_t(FSize));
}

std::string TStringStream::ReadString(std::int64_t Count)
{
    std::string s(size_t(std::max<std::int64_t>(0, std::min(Count, Size() - FPosition))), '\0');
    s.resize(size_t(Read(s.data(), std::int64_t(s.size()))));
    return s;
}

void TStringStream::WriteString(const std::string& AString)
{
    Write(AString.data(), std::int64_t(AString.size()));
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const std::string& FileName, unsigned short Mode) : FFileName(FileName)
{
    if (Mode == fmCreate) {
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(Format(SFCreateError, FileName, std::strerror(errno)));
        return;
    }
    int flags = O_RDONLY;
    switch (Mode & 3) {
    case fmOpenWrite: flags = O_WRONLY; break;
    case fmOpenReadWrite: flags = O_RDWR; break;
    default: break;
    }
    FHandle = ::open(FileName.c_str(), flags | O_CLOEXEC);
    if (FHandle < 0)
        throw EFOpenError(Format(SFOpenError, FileName, std::strerror(errno)));
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count)
{
    return TransferAll(Count, [&](std::int64_t Done) {
        return ::read(FHandle, static_cast<char*>(Buffer) + Done, size_t(Count - Done));
    });
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count)
{
    return TransferAll(Count, [&](std::int64_t Done) {
        return ::write(FHandle, static_cast<const char*>(Buffer) + Done, size_t(Count - Done));
    });
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle, off_t(Offset), whence);
}

void TFileStream::SetSize(std::int64_t NewSize)
{
    if (::ftruncate(FHandle, off_t(NewSize)) != 0)
        throw EStreamError(Format("Cannot resize \"%s\". %s", FFileName, std::strerror(errno)));
    if (Position() > NewSize)
        Seek(0, soEnd);
}

// ---------------------------------------------------------------------------
// TStrings, TStringList

int TStrings::Add(const std::string& S)
{
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject)
{
    const int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::AddStrings(const TStrings& Strings)
{
    for (int i = 0; i < Strings.Count(); ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
}

int TStrings::IndexOf(const std::string& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), S))
            return i;
    return -1;
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i)
        text += Get(i) + FLineBreak;
    return text;
}

void TStrings::SetText(const std::string& Value)
{
    Clear();
    size_t start = 0;
    const size_t n = Value.size();
    while (start < n) {
        size_t end = start;
        while (end < n && Value[end] != '\r' && Value[end] != '\n')
            ++end;
        Add(Value.substr(start, end - start));
        if (end < n && Value[end] == '\r') {
            ++end;
            if (end < n && Value[end] == '\n')
                ++end;
        } else if (end < n) {
            ++end; // LF
        }
        start = end;
    }
}

void TStrings::LoadFromStream(TStream* Stream)
{
    const std::int64_t size = Stream->Size() - Stream->Position();
    std::string text(size_t(std::max<std::int64_t>(size, 0)), '\0');
    if (!text.empty())
        Stream->ReadBuffer(text.data(), std::int64_t(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream* Stream)
{
    const std::string text = Text();
    Stream->WriteBuffer(text.data(), std::int64_t(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName)
{
    ReadFromFile(FileName, [this](TStream* Stream) { LoadFromStream(Stream); });
}

void TStrings::SaveToFile(const std::string& FileName)
{
    WriteToFile(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

void TStrings::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (auto* source = dynamic_cast<TStrings*>(Source)) {
        Clear();
        AddStrings(*source);
        return;
    }
    TPersistent::Assign(Source);
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EStringListError(Format(SListIndexError, Index));
}

std::string TStringList::Get(int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)].S;
}

void TStringList::Put(int Index, const std::string& S)
{
    CheckIndex(Index);
    FItems[size_t(Index)].S = S;
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)].Object;
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    FItems[size_t(Index)].Object = AObject;
}

void TStringList::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > Count())
        throw EStringListError(Format(SListIndexError, Index));
    FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

void TStringList::Sort()
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const TItem& a, const TItem& b) { return CompareText(a.S, b.S) < 0; });
}

// ---------------------------------------------------------------------------
// TWriter

void TWriter::WriteProperties(TPersistent* Instance)
{
    auto* component = dynamic_cast<TComponent*>(Instance);
    if (component)
        component->IncludeState(csWriting);
    try {
        Instance->DefineProperties(this);
    } catch (...) {
        if (component)
            component->ExcludeState(csWriting);
        throw;
    }
    if (component)
        component->ExcludeState(csWriting);
}

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData)
{
    if (!HasData || !WriteData)
        return;
    TMemoryStream value;
    FValue = &value;
    const TClearedOnExit<TMemoryStream> clear{FValue};
    WriteData(*this);
    FProperties[Name] = std::string(static_cast<const char*>(value.Memory()), size_t(value.Size()));
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData)
{
    if (!HasData || !WriteData)
        return;
    TMemoryStream value;
    WriteData(value);
    FProperties[Name] = std::string(static_cast<const char*>(value.Memory()), size_t(value.Size()));
}

TMemoryStream& TWriter::Value()
{
    if (!FValue)
        throw EWriteError("No property is being written");
    return *FValue;
}

namespace {
template <typename T>
void WriteLittleEndian(TStream& stream, T value)
{
    unsigned char bytes[sizeof(T)];
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    stream.WriteBuffer(bytes, sizeof(T));
}

template <typename T>
T ReadLittleEndian(TStream& stream)
{
    unsigned char bytes[sizeof(T)];
    stream.ReadBuffer(bytes, sizeof(T));
    std::uint64_t bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        bits |= std::uint64_t(bytes[i]) << (8 * i);
    T value;
    std::memcpy(&value, &bits, sizeof(T));
    return value;
}
} // namespace

void TWriter::WriteString(const std::string& Value_)
{
    TStream& s = Value();
    const unsigned char tag = vaUTF8String;
    s.WriteBuffer(&tag, 1);
    WriteLittleEndian<std::uint32_t>(s, std::uint32_t(Value_.size()));
    s.WriteBuffer(Value_.data(), std::int64_t(Value_.size()));
}

void TWriter::WriteInteger(std::int64_t Value_)
{
    TStream& s = Value();
    const unsigned char tag = vaInt64;
    s.WriteBuffer(&tag, 1);
    WriteLittleEndian<std::int64_t>(s, Value_);
}

void TWriter::WriteBoolean(bool Value_)
{
    const unsigned char tag = Value_ ? vaTrue : vaFalse;
    Value().WriteBuffer(&tag, 1);
}

void TWriter::WriteFloat(double Value_)
{
    TStream& s = Value();
    const unsigned char tag = vaDouble;
    s.WriteBuffer(&tag, 1);
    WriteLittleEndian<double>(s, Value_);
}

// ---------------------------------------------------------------------------
// TReader

void TReader::ReadProperties(TPersistent* Instance)
{
    auto* component = dynamic_cast<TComponent*>(Instance);
    if (component) {
        component->IncludeState(csLoading);
        component->IncludeState(csReading);
    }
    try {
        Instance->DefineProperties(this);
    } catch (...) {
        if (component) {
            component->ExcludeState(csReading);
            component->ExcludeState(csLoading);
        }
        throw;
    }
    if (component) {
        component->ExcludeState(csReading);
        component->Loaded();
    }
}

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool)
{
    const auto it = FProperties.find(Name);
    if (it == FProperties.end() || !ReadData)
        return;
    TStringStream value(it->second);
    FValue = &value;
    const TClearedOnExit<TStream> clear{FValue};
    ReadData(*this);
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool)
{
    const auto it = FProperties.find(Name);
    if (it == FProperties.end() || !ReadData)
        return;
    TStringStream value(it->second);
    ReadData(value);
}

TStream& TReader::Value()
{
    if (!FValue)
        throw EReadError("No property is being read");
    return *FValue;
}

unsigned char TReader::ReadTag()
{
    unsigned char tag = 0;
    Value().ReadBuffer(&tag, 1);
    return tag;
}

namespace {
[[noreturn]] void RaiseInvalidValue()
{
    throw EReadError("Invalid property value");
}
} // namespace

std::string TReader::ReadString()
{
    if (ReadTag() != vaUTF8String)
        RaiseInvalidValue();
    const std::uint32_t length = ReadLittleEndian<std::uint32_t>(Value());
    if (length > Value().Size() - Value().Position())
        throw EReadError(SReadError);
    std::string s(length, '\0');
    Value().ReadBuffer(s.data(), length);
    return s;
}

std::int64_t TReader::ReadInteger()
{
    if (ReadTag() != vaInt64)
        RaiseInvalidValue();
    return ReadLittleEndian<std::int64_t>(Value());
}

bool TReader::ReadBoolean()
{
    const unsigned char tag = ReadTag();
    if (tag != vaTrue && tag != vaFalse)
        RaiseInvalidValue();
    return tag == vaTrue;
}

double TReader::ReadFloat()
{
    if (ReadTag() != vaDouble)
        RaiseInvalidValue();
    return ReadLittleEndian<double>(Value());
}
