#pragma once
// Records the alerts shown.
#include "alert/IAlert.h"

#include <vector>

class FakeAlert : public IAlert {
public:
    struct Shown {
        std::string text;
        std::int32_t duration, sound;
        std::int16_t alignment;
        std::string font;
        float size;
    };
    void ShowMessage(const std::string& text, std::int32_t duration, std::int32_t sound,
                     std::int16_t alignment, const std::string& font, float size) override {
        shown.push_back({text, duration, sound, alignment, font, size});
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const Shown& s : shown) {
            all.push_back(s.text);
        }
        return all;
    }
    std::vector<Shown> shown;
};
