#pragma once
// "Setup Auto Free Memory": the peak level of RAM use that starts an
// automatic free and the amount it frees. Not modal, no OK or Cancel:
// closing stores both values and, when opened from a Free Memory window that
// still exists, applies them to it and resumes its periodic check.
#include <QPointer>
#include <QWidget>

class ISettingsStore;
class QLabel;
class QScrollBar;
class formFreeMem;

class formFreeMemSetup : public QWidget {
public:
    formFreeMemSetup(ISettingsStore& store, formFreeMem* owner);

    bool ApplyOnClose = false;

    QScrollBar* HScroll1() const { return m_peak; }
    QScrollBar* HScroll2() const { return m_amount; }
    QLabel* lblPeakLevel() const { return m_lblPeakLevel; }
    QLabel* lblFreeMem() const { return m_lblFreeMem; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ISettingsStore& m_store;
    QPointer<formFreeMem> m_owner;
    QScrollBar* m_peak;
    QScrollBar* m_amount;
    QLabel* m_lblPeakLevel;
    QLabel* m_lblFreeMem;
    bool m_unloaded = false;
};
