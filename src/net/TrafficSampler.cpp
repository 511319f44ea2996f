#include "TrafficSampler.h"

#include "CIpHelper.h"
#include "InterfaceSelection.h"
#include "core/SettingsKeys.h"
#include "platform/IClock.h"
#include "platform/IShell.h"
#include "platform/ISound.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double kMaxDownload = 500000000.0;
constexpr double kKiB = 1024.0;
constexpr double kMiB = 1048576.0;
const char* const kStatPattern = "###,###,###,###,#0.#0 Kb/s";

// A counter difference as a signed 32-bit value, or nothing when it does not
// fit (a wrapped or reset counter, or a first sample on a busy interface).
std::optional<std::int32_t> difference(double now, double before) {
    const double d = now - before;
    if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(d);
}

} // namespace

TrafficSampler::TrafficSampler(Services services, Host& host) : m_services(services), m_host(host) {}

void TrafficSampler::Start(const std::string& appFolder, bool notifyError,
                           const NumberSeparators& separators) {
    AppFolder = appFolder;
    NotifyError = notifyError;
    m_separators = separators;
    LastSampleTime = m_services.clock.wallSeconds();
    SkipNextSample = true;
}

void TrafficSampler::tmrReset_Timer() {
    TopDownload = 0;
    TopUpload = 0;
}

std::string TrafficSampler::TotalText(double bytes) const {
    if (bytes <= kMiB) {
        return FormatNumber(bytes / kKiB, "###,###,###,###,##0 KB", m_separators);
    }
    return FormatNumber(bytes / kMiB, "###,###,###,###,##0 MB", m_separators);
}

std::string TrafficSampler::SpeedText(double bytes, const char* bytePattern) const {
    if (std::trunc(bytes / kKiB) < 1) {
        return FormatNumber(bytes, bytePattern, m_separators);
    }
    if (bytes <= kMiB) {
        return FormatNumber(bytes / kKiB, "0.#0 KB/s ", m_separators);
    }
    return FormatNumber(bytes / kMiB, "0.#0 MB/s ", m_separators);
}

std::string TrafficSampler::LinkSpeedText(double s) const {
    if (s > 1e9) {
        return "Speed: " + FormatNumber(s / 1e9, "###,###,##0.0 Gbps", m_separators);
    }
    if (s > 1e6) {
        return "Speed: " + FormatNumber(s / 1e6, "###,###,##0.0 Mbps", m_separators);
    }
    return "Speed: " + FormatNumber(s / 1000, "###,###,##0.0 Kbps", m_separators);
}

void TrafficSampler::tmrUpdate_Timer() {
    // Whole seconds of the wall clock. A clock set back (a correction, a
    // machine that booted with its clock in the future) would stop sampling
    // until it passed the last sample again: the sampler starts counting from
    // the clock's new time instead and samples at its next second.
    const std::int64_t now = m_services.clock.wallSeconds();
    if (now < LastSampleTime) {
        LastSampleTime = now;
    }
    if (now - LastSampleTime < 1) {
        return;
    }
    if (m_services.selection.ListIndex() < 0) {
        return;
    }
    m_host.setUpdateTimerEnabled(false);
    // One snapshot of the table serves the check and the sample. The list is
    // rebuilt when the interfaces changed (not only their number: one deleted
    // and another added in the same second keep the count), before the
    // sample, so that it reads the interface the list shows.
    const std::shared_ptr<CInterfaces> interfaces = m_services.ipHelper.Interfaces();
    if (!m_services.selection.ListMatches(*interfaces)) {
        m_services.selection.RebuildList();
    }
    takeSample(*interfaces);
    m_host.setUpdateTimerEnabled(true);
    m_host.lockDrawing(false);
}

void TrafficSampler::takeSample(const CInterfaces& interfaces) {
    CurrentInterface.reset();
    CurrentInterface = interfaces.Item(m_services.selection.ListIndex() + 1);
    if (!CurrentInterface) {
        // The table shrank since the list was built: no counters this time.
        return;
    }
    const double rx = static_cast<double>(CurrentInterface->OctetsReceived());
    const double tx = static_cast<double>(CurrentInterface->OctetsSent());
    const auto download = difference(rx, PreviousBytesReceived);
    const auto upload = difference(tx, PreviousBytesSent);
    PreviousBytesReceived = rx;
    PreviousBytesSent = tx;
    LastSampleTime = m_services.clock.wallSeconds();
    // The previous counters belong to the interface watched before (another
    // choice, or a rebuilt list that moved the selection): their difference
    // would be a speed no interface ever had. This sample only starts anew.
    const bool sameInterface = !m_sampled || CurrentInterface->Is(*m_sampled);
    if (!sameInterface || !m_sampled) {
        m_sampled = CurrentInterface->Id();
    }
    if (!sameInterface || !download || !upload || *download < 0 || *download > kMaxDownload) {
        return;
    }
    std::int32_t d = *download;
    std::int32_t u = *upload;

    m_host.lockDrawing(true);
    m_host.setCaption(Label::Recv, TotalText(rx));
    m_host.setCaption(Label::Sent, TotalText(tx));
    m_host.setLinkSpeedToolTip(LinkSpeedText(static_cast<double>(CurrentInterface->Speed)));

    if (!SkipNextSample) {
        if (d > TopDownload) {
            m_host.restartResetTimer();
            TopDownload = d;
        }
        if (u > TopUpload) {
            m_host.restartResetTimer();
            TopUpload = u;
        }
        AverageDownload = (AverageDownload + d) / 2;
        AverageUpload = (AverageUpload + u) / 2;
        std::string top0;
        std::string top1;
        if (CurrentInterface->OperationalStatus > 2) {
            top0 = "Top download speed: " + FormatNumber(TopDownload / kKiB, kStatPattern, m_separators);
            top1 = "Top upload speed: " + FormatNumber(TopUpload / kKiB, kStatPattern, m_separators);
            m_host.setCaption(Label::Speed0, top0);
            m_host.setCaption(Label::Speed1, top1);
            if (ErrorNotified) {
                if (m_host.soundOnError()) {
                    m_services.sound.playEvent("SystemExclamation");
                }
                m_host.refreshIpAddresses();
                ErrorNotified = false;
            }
        } else {
            top0 = "NETWORK ERROR!!";
            top1 = "A network cable is unplugged.";
            m_host.setCaption(Label::Speed0, top0);
            m_host.setCaption(Label::Speed1, top1);
            if (!ErrorNotified) {
                signalLinkLost();
            }
        }
        const std::string average0 =
            "Average download speed: " + FormatNumber(AverageDownload / kKiB, kStatPattern, m_separators);
        const std::string average1 =
            "Average upload speed: " + FormatNumber(AverageUpload / kKiB, kStatPattern, m_separators);
        m_host.setCaption(Label::Speed2, average0);
        m_host.setCaption(Label::Speed3, average1);
        m_host.setToolTip(Label::Speed0, top0);
        m_host.setToolTip(Label::Speed1, top1);
        m_host.setToolTip(Label::Speed2, average0);
        m_host.setToolTip(Label::Speed3, average1);
    }

    m_host.setCaption(Label::DSpeed, SpeedText(d, "0 Bps "));
    m_host.setCaption(Label::USpeed, SpeedText(u, "0 B/s "));
    m_host.refreshTrafficDisplay(d, u);
}

void TrafficSampler::signalLinkLost() {
    if (NotifyError) {
        m_services.shell.runHidden(AppFolder + kBatchFileName);
        ErrorNotified = true;
    }
    if (m_host.soundOnError()) {
        m_services.sound.playEvent("SystemHand");
        ErrorNotified = true;
    }
}
