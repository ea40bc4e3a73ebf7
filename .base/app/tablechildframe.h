#pragma once

#include "framework/childframe.h"

// The frame of every table window. It always comes up in the normal state, also while
// other document windows are maximized.
class CChildFrame : public ChildFrame
{
    Q_OBJECT

public:
    explicit CChildFrame(QWidget *parent = nullptr);

    // reimplemented from ChildFrame
    void ActivateFrame() override;
};
