// Long operations yielding to the event loop: one start at a time, a guard
// for an owner that goes away, and a window's end held back.
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

// Each window's end stops and waits for its own operations only: the main
// window closes once its eject and alert have unwound while the Free Memory
// window's free runs on, and that window's end then stops the free.
TEST(LongOperation, AWindowsEndWaitsForItsOwnOperationsOnly) {
    QObject tool;
    QObject freeMemWindow;
    int mainEnded = 0;
    int freeMemEnded = 0;
    EXPECT_FALSE(LongOperation::DeferEnd(LongOperation::kMainWindow, [&] { ++mainEnded; })); // nothing runs
    auto freeing = LongOperation::Begin(&freeMemWindow, "free", &freeMemWindow);
    {
        auto eject = LongOperation::Begin(&tool, "eject");
        auto alert = LongOperation::Begin(&tool, "alert");
        EXPECT_TRUE(LongOperation::DeferEnd(LongOperation::kMainWindow, [&] { ++mainEnded; }));
        EXPECT_FALSE(alert->Yield()); // the main window's operations learn they must stop
        EXPECT_FALSE(eject->Alive());
        EXPECT_TRUE(freeing->Yield()); // the other window's goes on
        alert.reset();
        QCoreApplication::processEvents();
        EXPECT_EQ(mainEnded, 0); // the eject still runs
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(mainEnded, 1);
    EXPECT_TRUE(freeing->Alive());
    EXPECT_TRUE(LongOperation::DeferEnd(&freeMemWindow, [&] { ++freeMemEnded; }));
    EXPECT_FALSE(freeing->Yield());
    freeing.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(freeMemEnded, 1);
    EXPECT_EQ(mainEnded, 1);
}

} // namespace
