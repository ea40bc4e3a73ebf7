#include "app/aboutdlg.h"

#include "app/artwork.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Tessavox"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *picture = new QLabel(this);
    picture->setPixmap(Artwork::aboutPicture());
    picture->setFrameShape(QFrame::Box);
    picture->setAlignment(Qt::AlignCenter);

    const QStringList lines = {
        QStringLiteral("Vowel charts on the Bark scale, after the classic formant-plot "
                       "methods of acoustic phonetics."),
        QStringLiteral("Tessavox Version 4.0"),
        QStringLiteral("Release date : 10-10-2002"),
        QStringLiteral("Last revision: 1-17-2003"),
    };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    for (const QString &line : lines) {
        auto *label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
