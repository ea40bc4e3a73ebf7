#pragma once

#include <QDialog>

// The About box: picture, credits, version and dates, OK.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    enum { IDD = 100 };

    explicit CAboutDlg(QWidget *parent = nullptr);
};
