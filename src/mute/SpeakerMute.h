#pragma once
// "Toggle Mute Volume": the menu command and the Tiny layout's Ctrl gestures
// on the meters.
#include "core/Feature.h"

class ISpeakers;

class SpeakerMute : public Feature {
public:
    explicit SpeakerMute(ISpeakers& speakers) : m_speakers(speakers) {}

    void addMenuItems(MenuBuilder& menu) override;
    bool takeGesture(Gesture gesture) override;

    void mnuToggleMute_Click();

private:
    ISpeakers& m_speakers;
};
