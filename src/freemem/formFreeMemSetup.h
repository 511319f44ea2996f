#pragma once
// "Setup Auto Free Memory": the peak level of RAM use that starts an
// automatic free and the amount it frees. Not modal, no OK or Cancel:
// closing stores both values and hands them to whoever opened it.
#include <QWidget>
#include <functional>

class ISettingsStore;
class QLabel;
class QScrollBar;

class formFreeMemSetup : public QWidget {
public:
    // apply(peak %, amount MB) runs once, on close, with the values stored.
    using Apply = std::function<void(int peak, int amount)>;
    formFreeMemSetup(ISettingsStore& store, QWidget* owner, Apply apply);

    QScrollBar* HScroll1() const { return m_peak; }
    QScrollBar* HScroll2() const { return m_amount; }
    QLabel* lblPeakLevel() const { return m_lblPeakLevel; }
    QLabel* lblFreeMem() const { return m_lblFreeMem; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ISettingsStore& m_store;
    Apply m_apply;
    QScrollBar* m_peak;
    QScrollBar* m_amount;
    QLabel* m_lblPeakLevel;
    QLabel* m_lblFreeMem;
    bool m_unloaded = false;
};
