#include "freemem/formFreeMemSetup.h"

#include "core/SettingsKeys.h"
#include "freemem/FreeMemLogic.h"
#include "platform/ISettingsStore.h"
#include "resources/Pictures.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScrollBar>
#include <string>

namespace {

constexpr std::int16_t kPeakMin = 50;
constexpr std::int16_t kPeakMax = 100;
constexpr std::int16_t kPeakDesign = 95;
constexpr std::int16_t kAmountMin = 1;
constexpr std::int16_t kAmountMax = 1024;
constexpr std::int16_t kAmountDesign = 10;

QLabel* label(QWidget* parent, const char* text, const QRect& place) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setGeometry(place);
    return l;
}

} // namespace

formFreeMemSetup::formFreeMemSetup(ISettingsStore& store, QWidget* owner, Apply apply)
    : QWidget(owner, Qt::Window), m_store(store), m_apply(std::move(apply)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("formFreeMemSetup"));
    setWindowTitle(QStringLiteral("Setup Auto Free Memory"));
    setWindowIcon(MemoryIcon());
    setFixedSize(280, 104);
    auto* image = new QLabel(this);
    image->setPixmap(QPixmap::fromImage(DrawMemoryModule(32, devicePixelRatioF())));
    image->setGeometry(2, 4, 32, 32);
    label(this, "Peak Memory Level:", QRect(36, 9, 160, 19));
    m_lblPeakLevel = label(this, "95%", QRect(206, 7, 64, 18));
    m_peak = new QScrollBar(Qt::Horizontal, this);
    m_peak->setGeometry(36, 27, 234, 12);
    m_peak->setRange(kPeakMin, kPeakMax);
    m_peak->setValue(kPeakDesign);
    label(this, "Amount of Memory to Free :", QRect(37, 47, 166, 19));
    m_lblFreeMem = label(this, "10MB", QRect(206, 45, 64, 18));
    m_amount = new QScrollBar(Qt::Horizontal, this);
    m_amount->setGeometry(36, 65, 234, 12);
    m_amount->setRange(kAmountMin, kAmountMax);
    m_amount->setPageStep(16);
    m_amount->setValue(kAmountDesign);
    QLabel* hint = label(this, "Tip: Recomended values 95% and 10MB", QRect(0, 86, 280, 17));
    hint->setAutoFillBackground(true);
    hint->setBackgroundRole(QPalette::ToolTipBase);
    hint->setForegroundRole(QPalette::ToolTipText);

    // Reachable from the keyboard: Tab between them, the arrows, Home and End.
    for (QScrollBar* slider : {m_peak, m_amount}) {
        slider->setFocusPolicy(Qt::StrongFocus);
    }
    m_peak->setFocus();
    connect(m_peak, &QScrollBar::valueChanged, this,
            [this](int value) { m_lblPeakLevel->setText(QString::number(value) + QLatin1Char('%')); });
    connect(m_amount, &QScrollBar::valueChanged, this,
            [this](int value) { m_lblFreeMem->setText(QString::number(value) + QStringLiteral("MB")); });
    m_peak->setValue(
        SetupSliderValue(m_store.get(kFreeMemAppName, kFreeMemSection, kKeyAutoFreeMemPeak, "95"), kPeakMin,
                         kPeakMax, kPeakDesign));
    m_amount->setValue(
        SetupSliderValue(m_store.get(kFreeMemAppName, kFreeMemSection, kKeyAutoFreeMemMB, "10"), kAmountMin,
                         kAmountMax, kAmountDesign));
}

void formFreeMemSetup::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_store.setMany(kFreeMemAppName, kFreeMemSection,
                    {{kKeyAutoFreeMemPeak, std::to_string(m_peak->value())},
                     {kKeyAutoFreeMemMB, std::to_string(m_amount->value())}});
    if (m_apply) {
        m_apply(m_peak->value(), m_amount->value());
    }
}
