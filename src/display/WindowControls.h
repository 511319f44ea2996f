#pragma once
// The main window's controls as designed: the labels, the title strip, the
// globe picture, the graph and the interface list, made on the window. They
// only show; what they show and what their clicks do is bound elsewhere.
#include <QString>
#include <map>
#include <string>
#include <string_view>

class GraphView;
class QComboBox;
class QLabel;
class QWidget;

class WindowControls {
public:
    // Makes every control of the Normal layout on window.
    explicit WindowControls(QWidget& window);

    // A label (or the "imgBottom" strip) by its design name; nullptr when none.
    QLabel* Label(std::string_view name) const;
    GraphView* Graph() const { return m_picGraph; }
    QLabel* Globe() const { return m_picTray; }
    QComboBox* ConnectionList() const { return m_cboConnectionType; }
    const std::map<std::string, QLabel*, std::less<>>& Labels() const { return m_labels; }

private:
    std::map<std::string, QLabel*, std::less<>> m_labels;
    GraphView* m_picGraph = nullptr;
    QLabel* m_picTray = nullptr;
    QComboBox* m_cboConnectionType = nullptr;
};

// A tooltip that shows text as it is, even when it looks like markup (an
// interface may be named "<b>x</b>").
QString PlainToolTip(const QString& text);
