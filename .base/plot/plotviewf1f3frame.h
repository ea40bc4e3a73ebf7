#pragma once

#include "framework/childframe.h"

// Frame of the F1-F3 chart window: titled after its document, without a window number.
class CPlotViewF1F3Frame : public ChildFrame
{
    Q_OBJECT

public:
    explicit CPlotViewF1F3Frame(QWidget *parent = nullptr);
    ~CPlotViewF1F3Frame() override;

    static inline const QString kTitleSuffix = QStringLiteral("::F1 vs F3 ");

    // reimplemented from ChildFrame
    void OnUpdateFrameTitle(bool addToTitle) override;
};
