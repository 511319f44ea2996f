#pragma once
// A small alert that rises out of the bottom-right corner of the screen, shows
// a message with a sound, stays for a while and sinks away, closing itself.
// Up to four stand above each other. It never takes the keyboard focus.
#include "alert/IAlert.h"

#include <QTimer>
#include <QWidget>

class ISound;
class QLabel;
class QPushButton;

class vbMSNbox : public QWidget {
public:
    explicit vbMSNbox(ISound& sound);

    // Places, shows, sounds and starts sliding in; the slide ends on the timer.
    void Display(const QString& MessageText, std::int32_t duration, std::int32_t Sound);
    void setMessageStyle(std::int16_t alignment, const QString& fontName, float fontSize);
    bool slidIn() const { return m_slidIn; }
    // The stacking slot "1" to "4", or " " once sliding out.
    QString tag() const { return m_tag; }
    QLabel* lblAlert() const { return m_label; }
    QPushButton* cmdOk() const { return m_ok; }
    QLabel* Image1() const { return m_close; }

    // Pace of the slides: about 0.3 s in and twice that out.
    static constexpr int kPassMs = 15;
    static constexpr int kSlideInPasses = 20;
    static constexpr int kSlideOutPasses = 40;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;

private:
    void slideStep();
    void SlideOut();
    void setUnderlined(bool underlined);

    ISound& m_sound;
    QLabel* m_label = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_close = nullptr;
    QPushButton* m_ok = nullptr;
    QTimer m_slide;    // the passes of a slide
    QTimer m_tmrAlert; // the display duration
    QString m_tag;
    int m_bottom = 0; // the bottom edge stays where it is while sliding
    int m_step = 1;
    bool m_slidingOut = false;
    bool m_slidIn = false;
};

// Opens a new alert window per message.
class AlertWindows : public IAlert {
public:
    explicit AlertWindows(ISound& sound) : m_sound(sound) {}
    void ShowMessage(const std::string& MessageText, std::int32_t duration, std::int32_t Sound,
                     std::int16_t Alignment, const std::string& FontName, float FontSize) override;

private:
    ISound& m_sound;
};
