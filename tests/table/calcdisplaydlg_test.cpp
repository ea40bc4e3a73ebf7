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
#include <tuple>

namespace {

template <typename T = QLineEdit> T *control(QDialog &dialog, const char *name)
{
    auto *found = dialog.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Presses OK the way the user does; the dialog's result says whether it closed.
int pressOk(QDialog &dialog)
{
    control<QPushButton>(dialog, "IDOK")->click();
    return dialog.result();
}

auto options(const CTessavoxDoc &d)
{
    return std::tuple(d.m_bAlwaysClear, d.m_nF1Max, d.m_nF1Min, d.m_nF2Max, d.m_nF2Min, d.m_nF3Max,
                      d.m_nF3Min, d.m_nLineWeight, d.m_bLinear, d.m_bBark, d.m_bDrawEllipse);
}

class OptionsDialog : public ::testing::Test
{
protected:
    // Runs the document's dialog with `user` filling it in.
    bool run(const std::function<int(QDialog &)> &user)
    {
        ScopedModalRunner runner([&](QDialog &dialog) {
            dialog.show();
            return user(dialog);
        });
        return CCalcDisplayDlg::editOptions(doc);
    }

    MessageCapture capture;
    CTessavoxDoc doc;
};

TEST_F(OptionsDialog, ShowsTheDefaultsAndOnlyTheRangesAndEllipse)
{
    EXPECT_FALSE(run([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Calculation/Display Options");
        QStringList shown;
        for (const char *name :
             {"IDC_F1_MIN", "IDC_F1_MAX", "IDC_F2_MIN", "IDC_F2_MAX", "IDC_F3_MIN", "IDC_F3_MAX"})
            shown << control(dialog, name)->text();
        EXPECT_EQ(shown, QStringList({"200", "1500", "500", "3500", "2000", "3000"}));
        EXPECT_TRUE(control<QCheckBox>(dialog, "IDC_DRAW_ELLIPSE")->isVisible());
        EXPECT_TRUE(control<QCheckBox>(dialog, "IDC_DRAW_ELLIPSE")->isChecked());
        for (const char *name :
             {"IDC_SCALE_LINEAR", "IDC_SCALE_BARK", "IDC_LINE_WEIGHT", "IDC_ALWAYS_CLEAR"})
            EXPECT_FALSE(control<QWidget>(dialog, name)->isVisible()) << name;
        EXPECT_EQ(control<QComboBox>(dialog, "IDC_LINE_WEIGHT")->itemText(2), "Fine");

        QLineEdit *f1Min = control(dialog, "IDC_F1_MIN");
        f1Min->clear();
        QTest::keyClicks(f1Min, "1a2-b3 .");
        EXPECT_EQ(f1Min->text(), "123");
        return int(QDialog::Rejected);
    }));
}

TEST_F(OptionsDialog, ChecksEachMaximumBeforeItsMinimumAndStaysOpen)
{
    // Each step: field values to type, then the message and the field that gets the focus.
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
    EXPECT_TRUE(run([&](QDialog &dialog) {
        for (const Step &step : steps) {
            for (const auto &[name, text] : step.typed)
                control(dialog, name)->setText(QString::fromLatin1(text));
            EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
            EXPECT_EQ(capture.lastMessage(), step.message);
            EXPECT_EQ(dialog.focusWidget(), control(dialog, step.focus));
        }
        // A minimum above its maximum is the user's to choose.
        control(dialog, "IDC_F3_MIN")->setText("4000");
        control<QCheckBox>(dialog, "IDC_DRAW_ELLIPSE")->setChecked(false);
        return pressOk(dialog);
    }));
    EXPECT_EQ(capture.messages().size(), int(steps.size()));
    EXPECT_EQ(options(doc),
              std::tuple(true, 10000, 1001, 3500, 1000, 0, 4000, 0, false, true, false));
    EXPECT_FALSE(doc.isModified());
}

TEST_F(OptionsDialog, CancelChangesNothingEvenAfterARefusedOk)
{
    const auto before = options(doc);
    EXPECT_FALSE(run([](QDialog &dialog) {
        control(dialog, "IDC_F1_MAX")->setText("900");
        control(dialog, "IDC_F2_MIN")->setText("5000");
        control<QRadioButton>(dialog, "IDC_SCALE_LINEAR")->click();
        EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
        control<QPushButton>(dialog, "IDCANCEL")->click();
        return dialog.result();
    }));
    EXPECT_EQ(options(doc), before);
}

TEST_F(OptionsDialog, OkKeepsTheHiddenFieldsAndRepaintsTheViews)
{
    struct CountingView : View
    {
        void OnUpdate(View *, int) override { ++updates; }
        int updates = 0;
    } view;
    doc.addView(&view);
    doc.m_bAlwaysClear = false;
    doc.m_bLinear = true;
    doc.m_bBark = false;
    doc.m_nLineWeight = 2;
    const auto before = options(doc);
    EXPECT_TRUE(run([](QDialog &dialog) { return pressOk(dialog); }));
    EXPECT_EQ(options(doc), before);
    EXPECT_EQ(view.updates, 1);
    doc.removeView(&view);
}

} // namespace
