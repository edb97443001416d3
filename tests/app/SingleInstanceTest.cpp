#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace kvelo;

TEST(SingleInstance, ASecondCopyFindsTheFirstAndAsksItToRaise) {
    const std::string probe =
        "IPS KVELO - TEST " + std::to_string(QCoreApplication::applicationPid());
    SingleInstanceGuard first(probe);
    SingleInstanceGuard second(probe);
    EXPECT_FALSE(second.OtherRunning()) << "nobody listens yet";
    int raised = 0;
    ASSERT_TRUE(first.Listen([&] { ++raised; }));
    EXPECT_TRUE(second.OtherRunning());
    QElapsedTimer timer;
    timer.start();
    while (raised == 0 && timer.elapsed() < 3000)
        QCoreApplication::processEvents();
    EXPECT_EQ(raised, 1);
}

TEST(SingleInstance, NamesDependOnTheProbe) {
    EXPECT_EQ(SingleInstanceName("A"), SingleInstanceName("A"));
    EXPECT_NE(SingleInstanceName("A"), SingleInstanceName("B"));
}
