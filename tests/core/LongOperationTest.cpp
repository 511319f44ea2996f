// Long operations yielding to the event loop: one start at a time, a guard
// for an owner that goes away, and the program's end held back.
#include "core/LongOperation.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(LongOperation, ASecondStartIsRefusedUntilTheFirstEnds) {
    QObject owner;
    {
        auto first = LongOperation::Begin(&owner, "eject");
        ASSERT_TRUE(first);
        EXPECT_FALSE(LongOperation::Begin(&owner, "eject"));
        EXPECT_TRUE(LongOperation::Begin(&owner, "alert")); // another operation may run meanwhile
        EXPECT_TRUE(LongOperation::AnyRunning());
    }
    EXPECT_FALSE(LongOperation::AnyRunning());
    EXPECT_TRUE(LongOperation::Begin(&owner, "eject"));
}

TEST(LongOperation, AnOwnerDestroyedDuringAYieldStopsTheOperation) {
    auto* owner = new QObject;
    auto operation = LongOperation::Begin(owner, "slide");
    ASSERT_TRUE(operation);
    EXPECT_TRUE(operation->Yield());
    QTimer::singleShot(0, [owner] { delete owner; }); // a click closes the window while it slides
    EXPECT_FALSE(operation->Yield());
    EXPECT_FALSE(operation->Alive());
}

TEST(LongOperation, TheEndWaitsForTheLastOperationToUnwind) {
    QObject owner;
    int ended = 0;
    int otherEnded = 0;
    EXPECT_FALSE(LongOperation::DeferEnd([&] { ++ended; })); // nothing runs: end at once
    {
        auto outer = LongOperation::Begin(&owner, "free");
        auto inner = LongOperation::Begin(&owner, "alert");
        EXPECT_TRUE(LongOperation::DeferEnd([&] { ++ended; }));
        EXPECT_TRUE(LongOperation::DeferEnd([&] { ++otherEnded; })); // the second window's end is kept too
        EXPECT_FALSE(inner->Yield());                                // the operations learn they must stop
        QCoreApplication::processEvents();
        EXPECT_EQ(ended, 0);
        inner.reset();
        QCoreApplication::processEvents();
        EXPECT_EQ(ended, 0); // the outer one still runs
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(otherEnded, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(ended, 1);
}

} // namespace
