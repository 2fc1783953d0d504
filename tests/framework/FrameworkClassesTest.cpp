#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>

#include "platform/framework/Classes.h"

namespace {

// Records the notifications it receives; optionally holds a reference it must drop.
class TWatcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> Heard;
    TComponent* Watched = nullptr;
    std::vector<TComponent*>* Log = nullptr; // removals heard, outliving the watcher

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        Heard.emplace_back(AComponent, Operation);
        if (Log && Operation == opRemove)
            Log->push_back(AComponent);
        if (Operation == opRemove && AComponent == Watched)
            Watched = nullptr;
    }
};

class TCounted : public TComponent {
public:
    TCounted(TComponent* owner, int* live) : TComponent(owner), FLive(live) { ++*FLive; }
    ~TCounted() override { --*FLive; }

private:
    int* FLive;
};

class TPoint : public TPersistent {
public:
    int X = 0;
    std::string Label;
    std::string Blob;
    void Assign(TPersistent* Source) override
    {
        if (auto* p = dynamic_cast<TPoint*>(Source)) {
            X = p->X;
            return;
        }
        TPersistent::Assign(Source);
    }

protected:
    void DefineProperties(TFiler* Filer) override
    {
        auto* ancestor = dynamic_cast<TPoint*>(Filer->Ancestor());
        Filer->DefineProperty(
            "X", [this](TReader& r) { X = int(r.ReadInteger()); }, [this](TWriter& w) { w.WriteInteger(X); },
            !ancestor || ancestor->X != X);
        Filer->DefineProperty(
            "Label", [this](TReader& r) { Label = r.ReadString(); },
            [this](TWriter& w) { w.WriteString(Label); }, !Label.empty());
        Filer->DefineBinaryProperty(
            "Blob", [this](TStream& s) { Blob.resize(size_t(s.Size())); s.ReadBuffer(Blob.data(), s.Size()); },
            [this](TStream& s) { s.WriteBuffer(Blob.data(), std::int64_t(Blob.size())); }, !Blob.empty());
    }
};

class TOther : public TPersistent {};

} // namespace

TEST(FrameworkComponents, OwnerFreesOwnedAndNotifiesOnRemoval)
{
    int live = 0;
    auto* owner = new TWatcher(nullptr);
    auto* a = new TCounted(owner, &live);
    auto* b = new TCounted(owner, &live);
    a->SetName("First");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner->FindComponent("FIRST"), a);
    EXPECT_THROW(b->SetName("first"), EComponentError);
    EXPECT_THROW(owner->Components(2), EListError);
    ASSERT_EQ(owner->Heard.size(), 2u);
    EXPECT_EQ(owner->Heard[0], std::make_pair(static_cast<TComponent*>(a), opInsert));

    // Compared as an address: after the delete the pointer names nothing.
    const auto removed = reinterpret_cast<std::uintptr_t>(static_cast<TComponent*>(b));
    delete b; // an owned component may go first: the owner hears of it and forgets it
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(owner->Heard.back().first), removed);
    EXPECT_EQ(owner->Heard.back().second, opRemove);

    owner->SetDesigning(true);
    EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
    auto* c = new TCounted(owner, &live); // joins a designing owner: designing too
    EXPECT_TRUE(c->ComponentState().Contains(csDesigning));
    EXPECT_EQ(live, 2);
    delete owner;
    EXPECT_EQ(live, 0);
}

TEST(FrameworkComponents, FreeNotificationReachesComponentsOfOtherOwners)
{
    TWatcher formA(nullptr);
    TWatcher formB(nullptr);
    auto* list = new TComponent(&formA);
    auto* user = new TWatcher(&formB);
    user->Watched = list;
    list->FreeNotification(user);
    EXPECT_TRUE(list->ComponentState().Contains(csFreeNotification));
    delete list;
    EXPECT_EQ(user->Watched, nullptr);

    // A removed request is not answered, and the partner's end does not dangle.
    auto* other = new TComponent(&formA);
    other->FreeNotification(user);
    other->RemoveFreeNotification(user);
    user->Heard.clear();
    delete other;
    EXPECT_TRUE(user->Heard.empty());

    // Destroying the watcher first leaves nothing behind in the watched component.
    auto* watched = new TComponent(&formA);
    auto* watcher = new TWatcher(&formB);
    watched->FreeNotification(watcher);
    delete watcher;
    delete watched; // must not call into the freed watcher (ASan checks)
}

TEST(FrameworkComponents, SiblingsHearOfEachOtherWhenTheOwnerFreesThem)
{
    std::vector<TComponent*> removedWhileUserAlive;
    auto* form = new TComponent(nullptr);
    auto* user = new TWatcher(form);
    auto* list = new TComponent(form); // the owner frees from the end: the list goes first
    user->Watched = list;
    user->Log = &removedWhileUserAlive;
    list->FreeNotification(user); // same owner: the owner relays the removal
    delete form;
    ASSERT_EQ(removedWhileUserAlive.size(), 1u);
    EXPECT_EQ(removedWhileUserAlive[0], list);
}

TEST(FrameworkPersistent, AssignToAnUnrelatedClassRaisesConvertError)
{
    TPoint a, b;
    a.X = 5;
    b.Assign(&a);
    EXPECT_EQ(b.X, 5);
    TOther other;
    try {
        b.Assign(&other);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TPoint");
    }
    EXPECT_THROW(other.Assign(&a), EConvertError);
    EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

TEST(FrameworkFiler, WriterAndReaderRoundTripDefinedProperties)
{
    TPoint source;
    source.X = -7;
    source.Label = "caption";
    source.Blob = std::string("\x0D" "LXT\x00\x01", 6);
    TPropertyMap map;
    TWriter writer(map);
    writer.WriteProperties(&source);
    EXPECT_EQ(map.size(), 3u);
    EXPECT_EQ(map["Blob"], source.Blob); // binary properties keep their exact bytes

    TPoint target;
    TReader reader(map);
    reader.ReadProperties(&target);
    EXPECT_EQ(target.X, -7);
    EXPECT_EQ(target.Label, "caption");
    EXPECT_EQ(target.Blob, source.Blob);

    // Only what differs from the ancestor is written; empty values are not written.
    TPoint ancestor;
    ancestor.X = -7;
    TPoint plain;
    plain.X = -7;
    TPropertyMap sparse;
    TWriter sparseWriter(sparse);
    sparseWriter.SetAncestor(&ancestor);
    sparseWriter.WriteProperties(&plain);
    EXPECT_TRUE(sparse.empty());

    // A value of the wrong type is a read error.
    TPropertyMap wrong{{"X", map["Label"]}};
    TReader wrongReader(wrong);
    EXPECT_THROW(wrongReader.ReadProperties(&target), EReadError);
}

TEST(FrameworkStreams, MemoryStreamGrowsSeeksAndRaisesOnShortReads)
{
    TMemoryStream m;
    for (int i = 0; i < 1000; ++i)
        m.WriteBuffer(&i, sizeof i);
    EXPECT_EQ(m.Size(), 4000);
    EXPECT_EQ(m.Position(), 4000);
    m.SetPosition(4 * 500);
    int v = 0;
    m.ReadBuffer(&v, sizeof v);
    EXPECT_EQ(v, 500);
    EXPECT_EQ(m.Seek(-4, soFromEnd), 3996);
    m.ReadBuffer(&v, sizeof v);
    EXPECT_EQ(v, 999);
    EXPECT_EQ(m.Read(&v, sizeof v), 0);
    EXPECT_THROW(m.ReadBuffer(&v, sizeof v), EReadError);

    // Writing past the end fills the gap with zeros.
    m.SetPosition(4010);
    const char x = 'x';
    m.WriteBuffer(&x, 1);
    EXPECT_EQ(m.Size(), 4011);
    EXPECT_EQ(static_cast<const char*>(m.Memory())[4005], 0);

    // A short read leaves what it could read and raises.
    m.SetPosition(4009);
    char two[4] = {};
    EXPECT_THROW(m.ReadBuffer(two, 4), EReadError);

    m.SetSize(8);
    EXPECT_EQ(m.Position(), 8);
    // Growing again shows zeros, not the bytes that lay there before the shrink; so
    // does a write past the end into reserved memory.
    m.SetSize(12);
    m.SetPosition(14);
    m.WriteBuffer(&x, 1);
    const char* bytes = static_cast<const char*>(m.Memory());
    for (int i = 8; i < 14; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes[14], 'x');
    m.SetCapacity(0); // never below the size
    EXPECT_EQ(m.Capacity(), 15);
    m.SetSize(8);
    TMemoryStream copy;
    copy.CopyFrom(&m, 0);
    EXPECT_EQ(copy.Size(), 8);
    EXPECT_EQ(std::memcmp(copy.Memory(), m.Memory(), 8), 0);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Memory(), nullptr);
}

// Writing in place: the room lent is where WriteBuffer would have put the bytes; a
// stream cleared keeps a large block for the next writes and gives a small one back.
TEST(FrameworkStreams, MemoryStreamLendsRoomAndKeepsALargeBlock)
{
    TMemoryStream m;
    m.WriteBuffer("ab", 2);
    char* room = m.ReserveWrite(100);
    ASSERT_NE(room, nullptr);
    std::memcpy(room, "cde", 3);
    m.CommitWrite(3);
    EXPECT_EQ(m.Size(), 5);
    EXPECT_EQ(m.Position(), 5);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), 5), "abcde");
    m.SetPosition(1);
    m.ReserveWrite(1)[0] = 'X';
    m.CommitWrite(1);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), 5), "aXcde");
    EXPECT_EQ(m.Size(), 5);
    m.SetPosition(9); // past the end: only WriteBuffer fills the gap
    EXPECT_EQ(m.ReserveWrite(4), nullptr);
    EXPECT_EQ(m.ReserveWrite(0), nullptr);

    m.Clear();
    EXPECT_EQ(m.Capacity(), 0);
    const std::int64_t large = std::int64_t(16) << 20;
    m.SetSize(large);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(m.Memory(), nullptr);
    EXPECT_EQ(m.Capacity(), large);
    m.WriteBuffer("z", 1);
    EXPECT_EQ(m.Capacity(), large);
    EXPECT_EQ(*static_cast<const char*>(m.Memory()), 'z');
    m.SetSize(0);
    m.SetCapacity(0);
    EXPECT_EQ(m.Capacity(), 0);
}

TEST(FrameworkStreams, FileStreamNamesTheFileItCannotOpen)
{
    QTemporaryDir dir;
    const std::string missing = (dir.path() + "/missing.lxt").toStdString();
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("\"" + missing + "\""), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("No such file"), std::string::npos) << e.Message();
    }
    const std::string inMissingDir = (dir.path() + "/no/dir/x.lxt").toStdString();
    try {
        TFileStream f(inMissingDir, fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(inMissingDir), std::string::npos) << e.Message();
    }

    const std::string path = (dir.path() + "/data.bin").toStdString();
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("hello world", 11);
    }
    {
        TFileStream f(path, fmCreate); // replaces the existing file
        f.WriteBuffer("abc", 3);
    }
    TMemoryStream m;
    m.LoadFromFile(path);
    EXPECT_EQ(m.Size(), 3);
    TFileStream f(path, fmOpenRead);
    char buf[8] = {};
    EXPECT_THROW(f.ReadBuffer(buf, 4), EReadError);
    f.SetPosition(1);
    f.ReadBuffer(buf, 2);
    EXPECT_EQ(std::string(buf, 2), "bc");
    EXPECT_THROW(f.WriteBuffer("z", 1), EWriteError); // opened for reading only
}

TEST(FrameworkStrings, StringListSplitsAtEveryKindOfLineBreak)
{
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour\r\n\r\nsix\n\rend");
    ASSERT_EQ(list.Count(), 8);
    const char* expected[] = {"one", "two", "three", "four", "", "six", "", "end"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(list[i], expected[i]) << i;
    EXPECT_EQ(list.Text().substr(0, 10), "one\r\ntwo\r\n");

    list.SetText("a\n");
    EXPECT_EQ(list.Count(), 1); // a final line break adds no empty line
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);

    TStringStream in("x\r\n\ty\r\n");
    list.LoadFromStream(&in);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(1), "\ty");
    TStringStream out;
    list.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "x\r\n\ty\r\n");

    EXPECT_EQ(list.IndexOf("X"), 0);
    try {
        list.Get(5);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
}

TEST(FrameworkComponents, InsertingMovesAComponentBetweenOwners)
{
    TWatcher first(nullptr);
    TWatcher second(nullptr);
    auto* child = new TWatcher(&first);
    auto* moved = new TComponent(&first);
    first.Heard.clear();
    child->Heard.clear();
    second.InsertComponent(moved);
    EXPECT_EQ(moved->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 1);
    // The old owner and its components hear of the removal, the new owner of the insertion.
    EXPECT_EQ(first.Heard.back(), std::make_pair(moved, opRemove));
    EXPECT_EQ(child->Heard.back(), std::make_pair(moved, opRemove));
    EXPECT_EQ(second.Heard.back(), std::make_pair(moved, opInsert));
    first.RemoveComponent(child); // now unowned: freed by hand
    EXPECT_EQ(child->Owner(), nullptr);
    delete child;
}

TEST(FrameworkStreams, StringStreamAndPartialCopies)
{
    TStringStream s("0123456789");
    s.SetPosition(2);
    EXPECT_EQ(s.ReadString(3), "234");
    EXPECT_EQ(s.ReadString(100), "56789");
    s.SetPosition(10);
    s.WriteString("AB");
    EXPECT_EQ(s.DataString(), "0123456789AB");

    TMemoryStream m;
    s.SetPosition(4);
    EXPECT_EQ(m.CopyFrom(&s, 3), 3);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), 3), "456");
    EXPECT_THROW(m.CopyFrom(&s, 100), EReadError); // the source runs dry
}
