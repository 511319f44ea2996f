#include "core/clsVolume.h"

void ToggleMute(ISpeakers& speakers) {
    clsVolume volume(speakers);
    if (volume.GetMute() == 1) {
        volume.SetMute(0);
        speakers.beep(300, 60);
        speakers.beep(360, 60);
    } else {
        speakers.beep(280, 100);
        volume.SetMute(1);
    }
}
