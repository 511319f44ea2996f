// The program's own pictures on a 2x screen: twice the pixels for the same
// logical size, so the desktop draws them finer instead of blowing them up.
#include "resources/Pictures.h"

#include <functional>
#include <gtest/gtest.h>

TEST(Pictures, AtTwiceTheRatioTwiceThePixelsForTheSameLogicalSize) {
    const std::pair<const char*, std::function<QImage(qreal)>> pictures[] = {
        {"globe", [](qreal r) { return DrawGlobe(32, r); }},
        {"speaker", [](qreal r) { return DrawSpeaker(true, r); }},
        {"eject", [](qreal r) { return DrawEject(r); }},
        {"close", [](qreal r) { return DrawCloseButton(true, r); }},
        {"memory", [](qreal r) { return DrawMemoryModule(32, r); }}};
    for (const auto& [name, draw] : pictures) {
        const QImage one = draw(1);
        const QImage two = draw(2);
        EXPECT_EQ(two.size(), one.size() * 2) << name;
        EXPECT_EQ(two.deviceIndependentSize(), QSizeF(one.size())) << name;
        // The same drawing: a 2x2 block averages to about its 1x pixel.
        const QImage down = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int far = 0;
        for (int y = 0; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) {
                far += std::abs(qAlpha(down.pixel(x, y)) - qAlpha(one.pixel(x, y))) > 128 ? 1 : 0;
            }
        }
        EXPECT_LT(far, one.width() * one.height() / 20) << name;
    }
}
