#include "display/WindowControls.h"

#include "core/PopupMenu.h"
#include "display/GraphView.h"
#include "display/Layout.h"
#include "display/TextLabel.h"
#include "display/TrafficDisplay.h"
#include "resources/Pictures.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace {

QColor toColor(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
    case Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

} // namespace

WindowControls::WindowControls(QWidget& window) {
    window.setFixedSize(kNormalWidth, kNormalHeight);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, toColor(kPanelBlue));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setWindowIcon(WindowIcon());

    // The strip's rows are of one colour each: scaled to the strip's height
    // once and tiled across, it looks the same as the picture stretched over
    // the whole width, which QLabel would keep as a 100 KB copy.
    auto* imgBottom = new QLabel(&window);
    imgBottom->setObjectName(QStringLiteral("imgBottom"));
    imgBottom->setGeometry(0, 0, kImgBottomWidth, kImgBottomHeight);
    QPalette stripPalette = imgBottom->palette();
    stripPalette.setBrush(QPalette::Window,
                          QBrush(DrawTitleStrip().scaled(4, kImgBottomHeight, Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation)));
    imgBottom->setPalette(stripPalette);
    imgBottom->setAutoFillBackground(true);
    m_labels["imgBottom"] = imgBottom;

    m_picTray = new QLabel(&window);
    m_picTray->setGeometry(kPicTrayLeft, kPicTrayTop, kPicTraySize, kPicTraySize);
    m_picTray->setPixmap(QPixmap::fromImage(DrawGlobe(32, window.devicePixelRatioF())));

    m_picGraph = new GraphView(&window);
    m_picGraph->setGeometry(kGraphLeft, kGraphTop, kGraphWidth, kGraphHeight);

    m_cboConnectionType = new QComboBox(&window);
    m_cboConnectionType->setGeometry(kComboLeft, kComboTop, kComboWidth, kComboHeight);
    m_cboConnectionType->setFont(DisplayFont(QStringLiteral("Tahoma"), 9.75, false));
    // Colours through the palette: a style sheet would load Qt's style sheet
    // engine, some 600 KB of the process, for one control.
    QPalette listPalette = m_cboConnectionType->palette();
    for (QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window}) {
        listPalette.setColor(role, toColor(kPanelBlue));
    }
    for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        listPalette.setColor(role, Qt::black);
    }
    m_cboConnectionType->setPalette(listPalette);

    for (const ControlSpec& control : NormalLayoutLabels()) {
        const QString caption =
            QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()));
        // The labels over the graph are repainted with it every second; the
        // others only when their own text changes, so a kept picture would
        // only cost memory.
        QLabel* label = control.inGraph ? new TextLabel(caption, m_picGraph) : new QLabel(caption, &window);
        label->setGeometry(control.left, control.top, control.width, control.height);
        label->setFont(DisplayFont(latin1(control.font), control.points, control.bold));
        label->setAlignment(alignmentOf(control.align));
        // Texts from outside (interface names, addresses) show as they are.
        label->setTextFormat(Qt::PlainText);
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::WindowText, toColor(control.fore));
        labelPalette.setColor(QPalette::Window, toColor(control.back));
        label->setPalette(labelPalette);
        label->setAutoFillBackground(!control.transparent);
        label->setObjectName(latin1(control.name));
        m_labels[std::string(control.name)] = label;
    }
    m_labels["lblCredit"]->setToolTip(latin1(kMakerAddress));
    // The title label lies over the gradient strip; the list lies over " Net:".
    m_labels["lblTitle(0)"]->raise();
    m_picTray->raise();
    m_cboConnectionType->raise();
}

QLabel* WindowControls::Label(std::string_view name) const {
    const auto found = m_labels.find(name);
    return found == m_labels.end() ? nullptr : found->second;
}

QString PlainToolTip(const QString& text) {
    // A tooltip is taken for markup when it looks like it: escaped inside a
    // paragraph that keeps its line breaks, it shows as written.
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}
