#pragma once

#include "framework/documentwindow.h"

// Frame of a chart window: titled after its document followed by a suffix naming the
// chart, without the window number that a document's table windows carry.
class ChartFrame : public DocumentWindow
{
    Q_OBJECT

public:
    ~ChartFrame() override;

    QString titleSuffix() const { return m_titleSuffix; }

    // reimplemented from DocumentWindow
    void updateTitle() override;

protected:
    ChartFrame(const QString &titleSuffix, QWidget *parent);

private:
    QString m_titleSuffix;
};
