// The kernel's handle table: a handle freed is refused at once, in every
// thread, even while something still holds its object, and also by a thread
// that looked it up just before.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "core/handles.h"

namespace {

struct Thing : wince::KernelObject {};
struct Other : wince::KernelObject {};

TEST(Handles, AFreedHandleIsRefusedAtOnceInEveryThread) {
    auto thing = std::make_shared<Thing>();
    HANDLE h = wince::AllocHandle(thing);
    std::shared_ptr<wince::KernelObject> seenThere;
    std::thread([&] { seenThere = wince::LookupHandle(h); }).join();
    EXPECT_EQ(seenThere, thing);
    EXPECT_EQ(wince::LookupHandleAs<Thing>(h), thing);  // remembered by this thread now
    EXPECT_EQ(wince::LookupHandleAs<Other>(h), nullptr);
    HANDLE other = wince::AllocHandle(std::make_shared<Other>());
    ASSERT_TRUE(wince::FreeHandle(other));  // another handle freed: this one stays
    EXPECT_EQ(wince::LookupHandle(h), thing);
    ASSERT_TRUE(wince::FreeHandle(h));
    EXPECT_EQ(wince::LookupHandle(h), nullptr);  // `thing` is still alive here
    std::thread([&] { seenThere = wince::LookupHandle(h); }).join();
    EXPECT_EQ(seenThere, nullptr);
    EXPECT_FALSE(wince::FreeHandle(h));
}

}  // namespace
