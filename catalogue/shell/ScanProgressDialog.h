#pragma once
// "Analyse": the progress of the drive scan, as a gauge that shows its percentage.

#include "../../common/Dialog.h"

class Program;

class ScanProgressDialog : public Dialog {
public:
    explicit ScanProgressDialog(Program& program);

    // 0 to 100; repaints only when the value changes.
    void SetPercent(int percent);
    int Percent() const { return m_percent; }

protected:
    bool OnInit() override;
    void OnOk() override {}
    void OnCancel() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void DrawGauge(const DRAWITEMSTRUCT& item) const;

    Program& m_program;
    int m_percent = 0;
};
