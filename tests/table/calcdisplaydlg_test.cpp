// The Calculation/Display Options dialog on a document: what it shows, what it refuses,
// and what reaches the document on OK and on Cancel.

#include "calcdisplaydlg.h"

#include "messages.h"
#include "modaldialogs.h"
#include "tessavoxdoc.h"
#include "view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kNotAnInteger = QStringLiteral("Please enter an integer.");
const QString kUpTo10000 = QStringLiteral("Please enter an integer between 0 and 10000.");
const QString kUpTo1000 = QStringLiteral("Please enter an integer between 0 and 1000.");

QLineEdit *edit(QDialog &dialog, const char *name)
{
    auto *found = dialog.findChild<QLineEdit *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Presses OK; returns whether the dialog closed.
bool pressOk(QDialog &dialog)
{
    dialog.findChild<QPushButton *>(QStringLiteral("IDOK"))->click();
    return dialog.result() == QDialog::Accepted;
}

struct Options
{
    bool alwaysClear, linear, bark, drawEllipse;
    int f1Max, f1Min, f2Max, f2Min, f3Max, f3Min, lineWeight;

    static Options of(const CTessavoxDoc &doc)
    {
        return {doc.m_bAlwaysClear, doc.m_bLinear, doc.m_bBark,      doc.m_bDrawEllipse,
                doc.m_nF1Max,       doc.m_nF1Min,  doc.m_nF2Max,     doc.m_nF2Min,
                doc.m_nF3Max,       doc.m_nF3Min,  doc.m_nLineWeight};
    }
    bool operator==(const Options &) const = default;
};

class CountingView : public View
{
public:
    void OnUpdate(View *, int) override { ++updates; }
    int updates = 0;
};

class OptionsDialog : public ::testing::Test
{
protected:
    // Runs the document's dialog with `fill` standing in for the user.
    bool run(const std::function<int(QDialog &)> &fill)
    {
        ScopedModalRunner runner([&](QDialog &dialog) {
            dialog.show();
            const int result = fill(dialog);
            dialog.hide();
            return result;
        });
        return CCalcDisplayDlg::editOptions(doc, nullptr);
    }

    MessageCapture capture;
    CTessavoxDoc doc;
};

TEST_F(OptionsDialog, ShowsTheDefaultsWithOnlyRangesAndEllipseVisible)
{
    EXPECT_FALSE(run([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Calculation/Display Options");
        EXPECT_EQ(edit(dialog, "IDC_F1_MIN")->text(), "200");
        EXPECT_EQ(edit(dialog, "IDC_F1_MAX")->text(), "1500");
        EXPECT_EQ(edit(dialog, "IDC_F2_MIN")->text(), "500");
        EXPECT_EQ(edit(dialog, "IDC_F2_MAX")->text(), "3500");
        EXPECT_EQ(edit(dialog, "IDC_F3_MIN")->text(), "2000");
        EXPECT_EQ(edit(dialog, "IDC_F3_MAX")->text(), "3000");
        const auto *ellipse = dialog.findChild<QCheckBox *>("IDC_DRAW_ELLIPSE");
        EXPECT_TRUE(ellipse->isVisible());
        EXPECT_TRUE(ellipse->isChecked());
        EXPECT_TRUE(edit(dialog, "IDC_F3_MAX")->isVisible());

        const auto *linear = dialog.findChild<QRadioButton *>("IDC_SCALE_LINEAR");
        const auto *bark = dialog.findChild<QRadioButton *>("IDC_SCALE_BARK");
        const auto *weight = dialog.findChild<QComboBox *>("IDC_LINE_WEIGHT");
        const auto *clear = dialog.findChild<QCheckBox *>("IDC_ALWAYS_CLEAR");
        EXPECT_TRUE(linear && bark && weight && clear);
        EXPECT_FALSE(linear->isVisible());
        EXPECT_FALSE(bark->isVisible());
        EXPECT_FALSE(weight->isVisible());
        EXPECT_FALSE(clear->isVisible());
        EXPECT_FALSE(linear->isChecked());
        EXPECT_TRUE(bark->isChecked());
        EXPECT_TRUE(clear->isChecked());
        EXPECT_EQ(weight->count(), 3);
        EXPECT_EQ(weight->itemText(0), "Thick");
        EXPECT_EQ(weight->itemText(2), "Fine");
        EXPECT_EQ(weight->currentIndex(), 0);
        return int(QDialog::Rejected);
    }));
}

TEST_F(OptionsDialog, RangeFieldsTakeDigitsOnly)
{
    run([](QDialog &dialog) {
        QLineEdit *f1Min = edit(dialog, "IDC_F1_MIN");
        f1Min->clear();
        QTest::keyClicks(f1Min, "1a2-b3 .");
        EXPECT_EQ(f1Min->text(), "123");
        return int(QDialog::Rejected);
    });
}

TEST_F(OptionsDialog, ChecksMaximumBeforeMinimumAndKeepsTheDialogOpen)
{
    const bool accepted = run([this](QDialog &dialog) {
        edit(dialog, "IDC_F1_MIN")->clear();
        edit(dialog, "IDC_F1_MAX")->setText("10001");
        EXPECT_FALSE(pressOk(dialog));
        EXPECT_EQ(capture.lastMessage(), kUpTo10000);
        EXPECT_EQ(dialog.focusWidget(), edit(dialog, "IDC_F1_MAX"));

        edit(dialog, "IDC_F1_MAX")->setText("10000");
        EXPECT_FALSE(pressOk(dialog));
        EXPECT_EQ(capture.lastMessage(), kNotAnInteger);
        EXPECT_EQ(dialog.focusWidget(), edit(dialog, "IDC_F1_MIN"));

        // The F2 minimum alone stops at 1000; elsewhere 1001 is fine.
        edit(dialog, "IDC_F1_MIN")->setText("1001");
        edit(dialog, "IDC_F2_MIN")->setText("1001");
        EXPECT_FALSE(pressOk(dialog));
        EXPECT_EQ(capture.lastMessage(), kUpTo1000);
        EXPECT_EQ(dialog.focusWidget(), edit(dialog, "IDC_F2_MIN"));

        edit(dialog, "IDC_F2_MIN")->setText("1000");
        edit(dialog, "IDC_F3_MIN")->setText("99999999999");
        edit(dialog, "IDC_F3_MAX")->setText("20000");
        EXPECT_FALSE(pressOk(dialog));
        EXPECT_EQ(capture.lastMessage(), kUpTo10000);
        EXPECT_EQ(dialog.focusWidget(), edit(dialog, "IDC_F3_MAX"));
        edit(dialog, "IDC_F3_MAX")->setText("0");
        EXPECT_FALSE(pressOk(dialog));
        EXPECT_EQ(capture.lastMessage(), kNotAnInteger);
        EXPECT_EQ(dialog.focusWidget(), edit(dialog, "IDC_F3_MIN"));

        // A minimum above its maximum is the user's choice.
        edit(dialog, "IDC_F3_MIN")->setText("4000");
        dialog.findChild<QCheckBox *>("IDC_DRAW_ELLIPSE")->setChecked(false);
        EXPECT_TRUE(pressOk(dialog));
        return dialog.result();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(capture.messages().size(), 5);
    EXPECT_EQ(doc.m_nF1Max, 10000);
    EXPECT_EQ(doc.m_nF1Min, 1001);
    EXPECT_EQ(doc.m_nF2Max, 3500);
    EXPECT_EQ(doc.m_nF2Min, 1000);
    EXPECT_EQ(doc.m_nF3Max, 0);
    EXPECT_EQ(doc.m_nF3Min, 4000);
    EXPECT_FALSE(doc.m_bDrawEllipse);
}

TEST_F(OptionsDialog, CancelAfterEditingChangesNothing)
{
    const Options before = Options::of(doc);
    EXPECT_FALSE(run([](QDialog &dialog) {
        edit(dialog, "IDC_F1_MAX")->setText("900");
        edit(dialog, "IDC_F2_MIN")->setText("5000");
        dialog.findChild<QCheckBox *>("IDC_DRAW_ELLIPSE")->setChecked(false);
        dialog.findChild<QRadioButton *>("IDC_SCALE_LINEAR")->click();
        EXPECT_FALSE(pressOk(dialog)); // F1 maximum taken, then F2 minimum refused
        dialog.findChild<QPushButton *>("IDCANCEL")->click();
        return dialog.result();
    }));
    EXPECT_TRUE(Options::of(doc) == before);
}

TEST_F(OptionsDialog, OkCopiesAllElevenBackAndRepaintsWithoutMarkingModified)
{
    CountingView view;
    doc.addView(&view);
    doc.m_bAlwaysClear = false;
    doc.m_bLinear = true;
    doc.m_bBark = false;
    doc.m_nLineWeight = 2;
    doc.m_nF2Max = 2800;
    Options expected = Options::of(doc);

    // The hidden fields come back exactly as they went in.
    EXPECT_TRUE(run([](QDialog &dialog) {
        EXPECT_TRUE(dialog.findChild<QRadioButton *>("IDC_SCALE_LINEAR")->isChecked());
        EXPECT_EQ(dialog.findChild<QComboBox *>("IDC_LINE_WEIGHT")->currentIndex(), 2);
        EXPECT_EQ(edit(dialog, "IDC_F2_MAX")->text(), "2800");
        return int(pressOk(dialog) ? QDialog::Accepted : QDialog::Rejected);
    }));
    EXPECT_TRUE(Options::of(doc) == expected);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(view.updates, 1);

    // Their handlers still keep the scale pair in step and follow the combo.
    EXPECT_TRUE(run([](QDialog &dialog) {
        dialog.findChild<QRadioButton *>("IDC_SCALE_BARK")->click();
        dialog.findChild<QComboBox *>("IDC_LINE_WEIGHT")->setCurrentIndex(1);
        EXPECT_FALSE(dialog.findChild<QRadioButton *>("IDC_SCALE_LINEAR")->isChecked());
        return int(pressOk(dialog) ? QDialog::Accepted : QDialog::Rejected);
    }));
    expected.linear = false;
    expected.bark = true;
    expected.lineWeight = 1;
    EXPECT_TRUE(Options::of(doc) == expected);
    EXPECT_TRUE(CTessavoxDoc().m_nF2Max == 3500); // another document keeps its defaults
    doc.removeView(&view);
}

} // namespace
