#include "alert/vbMSNbox.h"

#include "alert/AlertLayout.h"
#include "core/LongOperation.h"
#include "platform/ISound.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <cstdint>

namespace {

// The tags of every open alert.
std::vector<std::string> openTags() {
    std::vector<std::string> tags;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = dynamic_cast<vbMSNbox*>(widget)) {
            tags.push_back(box->tag().toStdString());
        }
    }
    return tags;
}

} // namespace

vbMSNbox::vbMSNbox(ISound& sound) : m_sound(sound) {
    setObjectName(QStringLiteral("vbMSNbox"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11NetWmWindowTypeNotification);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    resize(kAlertWidth, kAlertStartHeight);

    m_icon = new QLabel(this);
    m_icon->setGeometry(4, 5, 16, 16);
    m_icon->setPixmap(WindowIcon().pixmap(16, 16));
    m_label = new QLabel(QStringLiteral("Alert Message"), this);
    m_label->setObjectName(QStringLiteral("lblAlert"));
    m_label->setGeometry(4, 24, 128, 85);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label->setFont(QFont(QStringLiteral("Tahoma"), 8));
    m_close = new QLabel(this);
    m_close->setObjectName(QStringLiteral("Image1"));
    m_close->setGeometry(112, 8, 13, 12);
    m_close->setPixmap(QPixmap::fromImage(DrawCloseButton(false, devicePixelRatioF())));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOk"));
    m_ok->setGeometry(40, 80, 49, 21);
    m_ok->setFocusPolicy(Qt::NoFocus);
    m_ok->hide();
    for (QWidget* child : {static_cast<QWidget*>(m_label), static_cast<QWidget*>(m_close)}) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &QWidget::close);

    m_slide.setInterval(kPassMs);
    connect(&m_slide, &QTimer::timeout, this, &vbMSNbox::slideStep);
    m_tmrAlert.setSingleShot(true);
    connect(&m_tmrAlert, &QTimer::timeout, this, &vbMSNbox::SlideOut);
}

void vbMSNbox::setMessageStyle(std::int16_t alignment, const QString& fontName, float fontSize) {
    const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignRight
                                     : alignment == 2 ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
    m_label->setAlignment(horizontal | Qt::AlignTop);
    QFont font(fontName);
    font.setPointSizeF(fontSize > 0 ? fontSize : 8.0);
    m_label->setFont(font);
}

void vbMSNbox::Display(const QString& MessageText, std::int32_t duration, std::int32_t Sound) {
    m_tag = QString::number(FindFreeSlot(openTags()));
    const QString text = QString::fromStdString(AlertText(MessageText.toStdString()));
    m_label->setText(text);
    // Its title is the message, for screen readers and window lists.
    setWindowTitle(text);
    m_tmrAlert.setInterval(duration);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const AlertRect start = AlertStartRect(m_tag.toInt(), area.x(), area.y(), area.width(), area.height());
    m_bottom = start.top + start.height;
    setGeometry(start.left, start.top, start.width, start.height);
    show();
    m_sound.playEvent(std::string(AlertSoundName(Sound)));
    if (duration == 0) {
        m_ok->show();
    }
    m_step = SlideStep(kAlertHeight - kAlertStartHeight, kSlideInPasses);
    m_slide.start();
}

void vbMSNbox::slideStep() {
    const int h = height();
    const int next =
        m_slidingOut ? std::max(kAlertEndHeight, h - m_step) : std::min(kAlertHeight, h + m_step);
    setGeometry(x(), m_bottom - next, width(), next);
    if (!m_slidingOut && next >= kAlertHeight) {
        m_slide.stop();
        m_slidIn = true;
        if (!m_ok->isVisible()) {
            m_tmrAlert.start();
        }
    } else if (m_slidingOut && next <= kAlertEndHeight) {
        m_slide.stop();
        close();
    }
}

void vbMSNbox::SlideOut() {
    m_tag = QStringLiteral(" "); // the slot is free again
    m_slidingOut = true;
    m_step = SlideStep(kAlertHeight - kAlertEndHeight, kSlideOutPasses);
    m_slide.start();
}

void vbMSNbox::setUnderlined(bool underlined) {
    QFont font = m_label->font();
    if (font.underline() == underlined) {
        return;
    }
    font.setUnderline(underlined);
    m_label->setFont(font);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, underlined ? QColor(0, 0, 255) : QColor(0, 0, 0));
    m_label->setPalette(palette);
}

bool vbMSNbox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && (watched == m_label || watched == m_close)) {
        // Closes at once, without sliding out; a caller waiting for the
        // slide-in is released by the window's end.
        m_slide.stop();
        close();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_close) {
            m_close->setPixmap(QPixmap::fromImage(DrawCloseButton(true, devicePixelRatioF())));
        } else if (watched == m_label) {
            setUnderlined(true);
        } else if (watched == this) {
            m_close->setPixmap(QPixmap::fromImage(DrawCloseButton(false, devicePixelRatioF())));
            setUnderlined(false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void vbMSNbox::paintEvent(QPaintEvent*) {
    // The panel: its background strip stretched, inside a thin frame.
    static const QImage strip = DrawTitleStrip();
    QPainter p(this);
    p.drawImage(QRect(0, 0, kAlertWidth, kAlertHeight), strip);
    p.setPen(QColor(90, 90, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void AlertWindows::ShowMessage(const std::string& MessageText, std::int32_t duration, std::int32_t Sound,
                               std::int16_t Alignment, const std::string& FontName, float FontSize) {
    auto* box = new vbMSNbox(m_sound);
    box->setMessageStyle(Alignment, QString::fromStdString(FontName), FontSize);
    const QPointer<vbMSNbox> alive(box);
    box->Display(QString::fromStdString(MessageText), duration, Sound);
    // Returns once it has slid in, or when it was closed meanwhile, or when
    // the program is ending.
    auto operation =
        LongOperation::Begin(box, "alert " + std::to_string(reinterpret_cast<std::uintptr_t>(box)));
    while (operation && alive && !alive->slidIn()) {
        if (!operation->Wait(vbMSNbox::kPassMs * 4)) {
            break;
        }
    }
}
