#pragma once

#include "framework/documentwindow.h"

// The frame of every table window. It always comes up in the normal state, also while
// other document windows are maximized.
class CChildFrame : public DocumentWindow
{
    Q_OBJECT

public:
    explicit CChildFrame(QWidget *parent = nullptr);

    // reimplemented from DocumentWindow
    void showAndActivate() override;
};
