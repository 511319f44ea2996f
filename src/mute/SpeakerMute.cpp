#include "mute/SpeakerMute.h"

#include "core/clsVolume.h"

void SpeakerMute::addMenuItems(MenuBuilder& menu) {
    menu.add(
        MenuItem("mnuToggleMute", "Toggle Mute Volume", [this](std::int16_t) { mnuToggleMute_Click(); }));
}

bool SpeakerMute::takeGesture(Gesture gesture) {
    if (gesture != Gesture::ToggleMute) {
        return false;
    }
    mnuToggleMute_Click();
    return true;
}

void SpeakerMute::mnuToggleMute_Click() {
    ToggleMute(m_speakers);
}
