#pragma once
// What the notification-area icon shows of the traffic: the tray picture of
// the latest sample and the speeds of its labels, with a call after every
// sample drawn while the window is hidden. The traffic monitor offers it;
// the tray icon shows it, neither knowing the other.
#include <QImage>
#include <functional>
#include <string>

class TrafficPicture {
public:
    virtual ~TrafficPicture() = default;
    virtual const QImage& TrayPicture() const = 0;
    // The speed its label shows now ("1.50 KB/s "), download or upload.
    virtual std::string SpeedCaption(bool download) const = 0;
    // Runs after each sample drawn while the window is hidden, with whether
    // the link is idle; nullptr for none.
    virtual void onHiddenSample(std::function<void(bool& idle)> handler) = 0;
};
