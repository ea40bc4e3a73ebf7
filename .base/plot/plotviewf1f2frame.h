#pragma once

#include "framework/childframe.h"

// Frame of the F1-F2 chart window: titled after its document, without a window number.
class CPlotViewF1F2Frame : public ChildFrame
{
    Q_OBJECT

public:
    explicit CPlotViewF1F2Frame(QWidget *parent = nullptr);
    ~CPlotViewF1F2Frame() override;

    static inline const QString kTitleSuffix = QStringLiteral("::F1 vs F2 ");

    // reimplemented from ChildFrame
    void OnUpdateFrameTitle(bool addToTitle) override;
};
