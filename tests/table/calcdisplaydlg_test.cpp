// The Calculation/Display Options dialog on a document: what it refuses, and what reaches
// the document on OK and on Cancel.

#include "calcdisplaydlg.h"

#include "messages.h"
#include "modaldialogs.h"
#include "tessavoxdoc.h"
#include "view.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

template <typename T = QLineEdit> T *control(QDialog &dialog, const char *name)
{
    auto *found = dialog.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Presses a button the way the user does; the dialog's result says whether it closed.
int press(QDialog &dialog, const char *button = "IDOK")
{
    control<QPushButton>(dialog, button)->click();
    return dialog.result();
}

auto options(const CTessavoxDoc &d)
{
    return std::tuple(d.m_bAlwaysClear, d.m_nF1Max, d.m_nF1Min, d.m_nF2Max, d.m_nF2Min, d.m_nF3Max,
                      d.m_nF3Min, d.m_nLineWeight, d.m_bLinear, d.m_bBark, d.m_bDrawEllipse);
}

// Runs the document's dialog with `user` filling it in.
bool run(CTessavoxDoc &doc, const std::function<int(QDialog &)> &user)
{
    ScopedModalRunner runner([&](QDialog &dialog) {
        dialog.show();
        return user(dialog);
    });
    return CCalcDisplayDlg::editOptions(doc);
}

TEST(OptionsDialog, ChecksEachMaximumBeforeItsMinimumThenKeepsTheHiddenOptionsAndRepaints)
{
    MessageCapture capture;
    CTessavoxDoc doc;
    struct CountingView : View
    {
        void OnUpdate(View *, int) override { ++updates; }
        int updates = 0;
    } view;
    doc.addView(&view);
    // Options the dialog does not show must come through OK unchanged.
    doc.m_bAlwaysClear = false;
    doc.m_bLinear = true;
    doc.m_bBark = false;
    doc.m_nLineWeight = 2;

    // Each step: values typed, then the message and the field that gets the focus.
    struct Step
    {
        std::vector<std::pair<const char *, const char *>> typed;
        QString message;
        const char *focus;
    };
    const QString upTo10000 = QStringLiteral("Please enter an integer between 0 and 10000.");
    const QString notInteger = QStringLiteral("Please enter an integer.");
    const std::vector<Step> steps = {
        {{{"IDC_F1_MIN", ""}, {"IDC_F1_MAX", "10001"}}, upTo10000, "IDC_F1_MAX"},
        {{{"IDC_F1_MAX", "10000"}}, notInteger, "IDC_F1_MIN"},
        {{{"IDC_F1_MIN", "1001"}, {"IDC_F2_MIN", "1001"}},
         QStringLiteral("Please enter an integer between 0 and 1000."),
         "IDC_F2_MIN"},
        {{{"IDC_F2_MIN", "1000"}, {"IDC_F3_MIN", "99999999999"}, {"IDC_F3_MAX", "20000"}},
         upTo10000,
         "IDC_F3_MAX"},
        {{{"IDC_F3_MAX", "0"}}, notInteger, "IDC_F3_MIN"},
    };
    EXPECT_TRUE(run(doc, [&](QDialog &dialog) {
        for (const Step &step : steps) {
            for (const auto &[name, text] : step.typed)
                control(dialog, name)->setText(QString::fromLatin1(text));
            EXPECT_EQ(press(dialog), QDialog::Rejected);
            EXPECT_EQ(capture.lastMessage(), step.message);
            EXPECT_EQ(dialog.focusWidget(), control(dialog, step.focus));
        }
        // A minimum above its maximum is the user's to choose.
        control(dialog, "IDC_F3_MIN")->setText("4000");
        control<QCheckBox>(dialog, "IDC_DRAW_ELLIPSE")->setChecked(false);
        return press(dialog);
    }));
    EXPECT_EQ(capture.messages().size(), int(steps.size()));
    EXPECT_EQ(options(doc),
              std::tuple(false, 10000, 1001, 3500, 1000, 0, 4000, 2, true, false, false));
    EXPECT_EQ(view.updates, 1);
    EXPECT_FALSE(doc.isModified());
    doc.removeView(&view);
}

TEST(OptionsDialog, ShowsOnlyTheRangesAndEllipseTakesDigitsOnlyAndCancelChangesNothing)
{
    MessageCapture capture;
    CTessavoxDoc doc;
    const auto before = options(doc);
    EXPECT_FALSE(run(doc, [](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Calculation/Display Options");
        EXPECT_EQ(control(dialog, "IDC_F2_MAX")->text(), "3500");
        EXPECT_TRUE(control<QCheckBox>(dialog, "IDC_DRAW_ELLIPSE")->isVisible());
        for (const char *name :
             {"IDC_SCALE_LINEAR", "IDC_SCALE_BARK", "IDC_LINE_WEIGHT", "IDC_ALWAYS_CLEAR"})
            EXPECT_FALSE(control<QWidget>(dialog, name)->isVisible()) << name;
        QLineEdit *f1Min = control(dialog, "IDC_F1_MIN");
        f1Min->clear();
        QTest::keyClicks(f1Min, "1a2-b3 .");
        EXPECT_EQ(f1Min->text(), "123");

        control(dialog, "IDC_F1_MAX")->setText("900");
        control(dialog, "IDC_F2_MIN")->setText("5000");
        control<QRadioButton>(dialog, "IDC_SCALE_LINEAR")->click();
        EXPECT_EQ(press(dialog), QDialog::Rejected); // cancel even after a refused OK
        return press(dialog, "IDCANCEL");
    }));
    EXPECT_EQ(options(doc), before);
}

} // namespace
