#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/memory/HandleTable.h"

namespace {

struct TThing__;
using HTHING = TThing__*;
using TThings = THandleTable<std::string, HTHING>;

HTHING Raw(std::uintptr_t bits) { return reinterpret_cast<HTHING>(bits); }

TEST(HandleTable, LiveHandlesResolveAndStaleOnesNeverDoEvenAfterReuse)
{
    TThings table;
    const HTHING a = table.Add(std::make_unique<std::string>("a"));
    const HTHING b = table.Add(std::make_unique<std::string>("b"));
    ASSERT_NE(a, b);
    ASSERT_NE(table.Find(a), nullptr);
    EXPECT_EQ(*table.Find(a), "a");
    EXPECT_EQ(*table.Find(b), "b");

    std::string* addressOfA = table.Find(a);
    for (int i = 0; i < 100; ++i) // growing the table leaves objects where they are
        table.Add(std::make_unique<std::string>("filler"));
    EXPECT_EQ(table.Find(a), addressOfA);

    std::unique_ptr<std::string> removed = table.Remove(a);
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, "a"); // handed back, still alive
    EXPECT_EQ(table.Find(a), nullptr);
    EXPECT_FALSE(table.Remove(a)); // twice is a no-op
    EXPECT_EQ(*table.Find(b), "b");

    // The freed slot comes back with a new generation: same low half, different handle.
    const HTHING c = table.Add(std::make_unique<std::string>("c"));
    const auto low = [](HTHING h) { return reinterpret_cast<std::uintptr_t>(h) & 0xFFFFFFFFu; };
    EXPECT_EQ(low(c), low(a));
    EXPECT_NE(c, a);
    EXPECT_EQ(table.Find(a), nullptr);
    EXPECT_EQ(*table.Find(c), "c");

    // Removing and adding again many times keeps every old handle stale.
    HTHING previous = c;
    for (int i = 0; i < 50; ++i) {
        table.Remove(previous);
        const HTHING next = table.Add(std::make_unique<std::string>("n"));
        EXPECT_EQ(table.Find(previous), nullptr);
        EXPECT_EQ(table.Find(a), nullptr);
        previous = next;
    }
    EXPECT_NE(table.Find(previous), nullptr);
}

TEST(HandleTable, NullAndGarbageHandlesResolveToNothing)
{
    TThings empty;
    EXPECT_EQ(empty.Find(nullptr), nullptr);
    EXPECT_FALSE(empty.Remove(nullptr));
    EXPECT_EQ(empty.Find(Raw((std::uintptr_t(1) << 32) | 1)), nullptr); // slot 0 of an empty table

    TThings table;
    const HTHING h = table.Add(std::make_unique<std::string>("x"));
    const auto bits = reinterpret_cast<std::uintptr_t>(h);
    EXPECT_EQ(table.Find(nullptr), nullptr);
    EXPECT_EQ(table.Find(Raw(bits & 0xFFFFFFFFu)), nullptr);            // generation 0
    EXPECT_EQ(table.Find(Raw(bits + (std::uintptr_t(1) << 32))), nullptr); // a later generation
    EXPECT_EQ(table.Find(Raw(bits & ~std::uintptr_t(0xFFFFFFFFu))), nullptr); // slot part 0
    EXPECT_EQ(table.Find(Raw(bits + 1)), nullptr);                       // a slot past the end
    EXPECT_EQ(table.Find(Raw(~std::uintptr_t(0))), nullptr);
    EXPECT_FALSE(table.Remove(Raw(bits + 1)));
    EXPECT_NE(table.Find(h), nullptr); // none of that disturbed the live handle
}

} // namespace
