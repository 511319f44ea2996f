#pragma once
// The traffic sampler: once per second of the wall clock it reads the
// selected interface's counters, turns their differences into the last
// second's speeds, keeps the top and average speeds, writes the readouts and
// hands the sample to the display.
#include "CInterface.h"
#include "core/NumberFormat.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class CIpHelper;
class CInterfaces;
class IClock;
class IShell;
class ISound;
class InterfaceSelection;

class TrafficSampler {
public:
    // The labels the sampler writes.
    enum class Label { Recv, Sent, DSpeed, USpeed, Speed0, Speed1, Speed2, Speed3 };

    // What the sampler needs from the window around it.
    class Host {
    public:
        virtual ~Host() = default;
        virtual void setUpdateTimerEnabled(bool enabled) = 0;
        // Restarts the 20 s reset timer (disable, enable).
        virtual void restartResetTimer() = 0;
        // Freezes (true) or releases (false) drawing of the window.
        virtual void lockDrawing(bool locked) = 0;
        virtual void setCaption(Label label, const std::string& text) = 0;
        virtual void setToolTip(Label label, const std::string& text) = 0;
        // The link speed tooltip of the " Net:" caption.
        virtual void setLinkSpeedToolTip(const std::string& text) = 0;
        virtual bool soundOnError() = 0;
        // Refreshes the local and public IP addresses.
        virtual void refreshIpAddresses() = 0;
        // The display's entry point for one accepted sample.
        virtual void refreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) = 0;
    };

    struct Services {
        CIpHelper& ipHelper;
        InterfaceSelection& selection;
        IClock& clock;
        ISound& sound;
        IShell& shell;
    };

    TrafficSampler(Services services, Host& host);

    // tmrUpdate_Timer: takes a sample when the clock's second has changed.
    void tmrUpdate_Timer();
    // tmrReset_Timer: clears the top speeds.
    void tmrReset_Timer();

    // Start-up: the first sample is neither counted nor plotted.
    void Start(const std::string& appFolder, bool notifyError, const NumberSeparators& separators);

    // State shared with the display and the window.
    std::shared_ptr<CInterface> CurrentInterface;
    std::int64_t LastSampleTime = 0; // whole seconds of the wall clock
    double PreviousBytesReceived = 0;
    double PreviousBytesSent = 0;
    double TopDownload = 0;
    double TopUpload = 0;
    double AverageDownload = 0;
    double AverageUpload = 0;
    bool SkipNextSample = true;
    bool NotifyError = false;
    bool ErrorNotified = false;
    std::string AppFolder;

    // Text forms, exposed for the other readouts of the window.
    std::string TotalText(double bytes) const;
    std::string SpeedText(double bytes, const char* bytePattern) const;
    std::string LinkSpeedText(double bitsPerSecond) const;

private:
    void takeSample(const CInterfaces& interfaces);
    void signalLinkLost();

    // The interface whose counters the previous sample read.
    std::optional<CInterface::Identity> m_sampled;

    Services m_services;
    Host& m_host;
    NumberSeparators m_separators;
};
