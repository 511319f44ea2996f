// The picture-keeping label draws exactly what QLabel draws.
#include "display/TextLabel.h"

#include "display/TrafficDisplay.h"

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct Case {
    const char* name;
    const char* face;
    double points;
    bool bold;
    Qt::Alignment align;
    QColor fore;
    QColor back; // invalid: transparent over the parent
    std::vector<QString> texts;
};

struct Pair {
    QWidget parent;
    QLabel* label = nullptr;
};

void setUp(Pair& pair, QLabel* label, const Case& c) {
    pair.parent.resize(220, 40);
    QPalette parentPalette = pair.parent.palette();
    parentPalette.setColor(QPalette::Window, QColor(0, 0, 128));
    pair.parent.setPalette(parentPalette);
    pair.parent.setAutoFillBackground(true);
    pair.label = label;
    label->setParent(&pair.parent);
    label->setGeometry(4, 6, 200, 26);
    label->setFont(DisplayFont(QString::fromLatin1(c.face), c.points, c.bold));
    label->setAlignment(c.align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, c.fore);
    if (c.back.isValid()) {
        palette.setColor(QPalette::Window, c.back);
    }
    label->setPalette(palette);
    label->setAutoFillBackground(c.back.isValid());
}

TEST(TextLabel, DrawsWhatQLabelDraws) {
    const Case cases[] = {
        {"speed, right, on its own background",
         "Verdana",
         14.25,
         false,
         Qt::AlignRight | Qt::AlignTop,
         Qt::green,
         Qt::black,
         {"12.34 KB/s ", "", "1,023.99 KB/s "}},
        {"rich text is QLabel's, over the parent",
         "Tahoma",
         12,
         true,
         Qt::AlignLeft | Qt::AlignTop,
         Qt::white,
         QColor(),
         {"<b>bold</b> text", "plain again"}},
    };
    for (const Case& c : cases) {
        Pair plain;
        Pair kept;
        setUp(plain, new QLabel, c);
        setUp(kept, new TextLabel, c);
        for (const QString& text : c.texts) {
            plain.label->setText(text);
            kept.label->setText(text);
            // Twice: the second drawing comes from the kept picture.
            for (int round = 0; round < 2; ++round) {
                const QImage expected = plain.parent.grab().toImage();
                const QImage actual = kept.parent.grab().toImage();
                EXPECT_EQ(actual, expected) << c.name << ": \"" << text.toStdString() << "\" round " << round;
            }
        }
        // A new colour and face after the picture was kept.
        for (Pair* pair : {&plain, &kept}) {
            QPalette palette = pair->label->palette();
            palette.setColor(QPalette::WindowText, Qt::red);
            pair->label->setPalette(palette);
            pair->label->setFont(DisplayFont(QStringLiteral("Tahoma"), 15, true));
        }
        EXPECT_EQ(kept.parent.grab().toImage(), plain.parent.grab().toImage()) << c.name << ": restyled";
    }
}

TEST(TextLabel, FitsItsTextAsAdjustSizeDoes) {
    struct Font {
        const char* face;
        double points;
        bool bold;
    };
    const Font fonts[] = {{"Tahoma", 8.25, false}, {"Verdana", 14.25, false}, {"No Such Face", 11, true}};
    const QString texts[] = {QStringLiteral("Average download speed: 1,234.56 Kb/s"),
                             QStringLiteral("Ww iI 1.1 ,,, "), QString::fromUtf8("1\u202f234,56 Ko/s"),
                             QStringLiteral("two\nlines"), QString()};
    for (const Font& font : fonts) {
        for (const QString& text : texts) {
            QLabel plain(text);
            TextLabel fitted(text);
            for (QLabel* label : {&plain, static_cast<QLabel*>(&fitted)}) {
                label->setFont(DisplayFont(QString::fromLatin1(font.face), font.points, font.bold));
                label->setGeometry(6, 41, 153, 13);
                label->show();
            }
            plain.adjustSize();
            fitted.fitToText();
            EXPECT_EQ(fitted.size(), plain.size())
                << font.face << " " << font.points << ": " << text.toStdString();
        }
    }
}

// Fitted while its window is hidden, a label takes its size when shown.
TEST(TextLabel, FittedWhileHiddenItTakesItsSizeWhenShown) {
    QWidget window;
    auto* fitted = new TextLabel(QStringLiteral("Average download speed: 1.71 Kb/s"), &window);
    fitted->setFont(DisplayFont(QStringLiteral("Tahoma"), 8.25, false));
    fitted->setGeometry(6, 41, 10, 13);
    fitted->fitToText();
    EXPECT_EQ(fitted->width(), 10);
    QLabel plain(fitted->text());
    plain.setFont(fitted->font());
    plain.adjustSize();
    window.show();
    EXPECT_EQ(fitted->size(), plain.size());
}

} // namespace
