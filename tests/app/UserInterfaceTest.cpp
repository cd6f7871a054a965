#include "app/ui/dialogs/CubeBrowserInterface.h"
#include "app/ui/dialogs/MessageBoxInterface.h"
#include "app/ui/dialogs/MessageDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace cb::app;

namespace {

// Runs action once the dialog is up (inside its modal loop).
void WhenShown(QWidget* dialog, std::function<void()> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (!dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

struct SetLook {
    std::uint8_t set;
    std::vector<const char*> captions;  // visible buttons in order
    std::vector<int> lefts;
    QPushButton* TfrmUI::*defaultButton;
    QPushButton* TfrmUI::*cancelButton;
};

}  // namespace

TEST(UserInterface, ButtonSetsLayOutCaptionsRolesAndPositions) {
    TfrmUI form;
    EXPECT_EQ(form.width(), 452);
    EXPECT_EQ(form.height(), 235);
    EXPECT_EQ(form.lblDisplayText->geometry(), QRect(99, 16, 331, 171));
    EXPECT_TRUE(form.lblDisplayText->wordWrap());

    const SetLook looks[] = {
        {bsOk, {"&OK"}, {188}, &TfrmUI::btnFirst, &TfrmUI::btnFirst},
        {bsOkCancel, {"&OK", "&Cancel"}, {100, 275}, &TfrmUI::btnFirst, &TfrmUI::btnSecond},
        {bsYesNo, {"&Yes", "&No"}, {100, 275}, &TfrmUI::btnFirst, &TfrmUI::btnSecond},
        {bsYesNoCancel, {"&Yes", "&No", "&Cancel"}, {56, 187, 318}, nullptr, nullptr},
        // Back to one button after three.
        {bsOk, {"&OK"}, {188}, &TfrmUI::btnFirst, &TfrmUI::btnFirst},
    };
    for (const SetLook& l : looks) {
        form.SetButtonSet(l.set);
        QPushButton* buttons[] = {form.btnFirst, form.btnSecond, form.btnThird};
        for (std::size_t i = 0; i < 3; ++i) {
            const bool visible = i < l.captions.size();
            EXPECT_EQ(!buttons[i]->isHidden(), visible) << int(l.set) << " button " << i;
            if (!visible) continue;
            EXPECT_EQ(buttons[i]->text().toStdString(), l.captions[i]);
            EXPECT_EQ(buttons[i]->geometry(), QRect(l.lefts[i], 200, 75, 25)) << int(l.set) << " button " << i;
            EXPECT_EQ(buttons[i]->isDefault(), l.defaultButton && buttons[i] == form.*l.defaultButton);
        }
        EXPECT_EQ(form.CancelButton(), l.cancelButton ? form.*l.cancelButton : nullptr);
    }
}

TEST(UserInterface, TheWindowHoldsItsTextAndIsNeverMaximised) {
    TfrmUI form;
    // A title and a close button asked for: window managers then offer no
    // maximise or minimise button.
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    // A short text keeps the form's size; a long one grows the window and
    // moves the buttons below it.
    form.SetText("Data successfully exported");
    EXPECT_EQ(form.size(), QSize(452, 235));
    std::string text;
    for (int i = 0; i < 20; ++i) text += "The report was saved, but no program is registered to open it. ";
    form.SetText(text);
    EXPECT_GT(form.height(), 235);
    EXPECT_EQ(form.width(), 452);
    EXPECT_GE(form.lblDisplayText->height(), form.lblDisplayText->heightForWidth(331));
    EXPECT_GT(form.btnFirst->y(), form.lblDisplayText->geometry().bottom());
    EXPECT_LE(form.btnFirst->geometry().bottom(), form.height());
    form.SetText("Short again");
    EXPECT_EQ(form.size(), QSize(452, 235));
    EXPECT_EQ(form.btnFirst->y(), 200);
}

TEST(UserInterface, ExactlyTheIconOfTheKindShows) {
    TfrmUI form;
    for (std::uint8_t kind : {ikError, ikInformation, ikNone, ikWarning}) {
        form.SetIconKind(kind);
        EXPECT_EQ(!form.imgInfo->isHidden(), kind == ikInformation);
        EXPECT_EQ(!form.imgWarning->isHidden(), kind == ikWarning);
        EXPECT_EQ(!form.imgError->isHidden(), kind == ikError);
    }
    EXPECT_EQ(form.imgError->geometry().size(), QSize(41, 41));
    EXPECT_EQ(form.imgInfo->pixmap().size(), QSize(41, 41));
}

TEST(UserInterface, OperationsReturnTheButtonsModalResult) {
    TCubeBrowserInterface ui;
    TfrmUI* d = ui.Dialog();
    struct Case {
        std::function<int()> call;
        QPushButton* button;
        int expected;
        std::uint8_t icon;
    };
    const Case cases[] = {
        {[&] { return ui.ConfirmYesNo("Sure?") ? 1 : 0; }, d->btnFirst, 1, ikWarning},
        {[&] { return ui.ConfirmYesNo("Sure?") ? 1 : 0; }, d->btnSecond, 0, ikWarning},
        {[&] { return ui.ConfirmOKCancel("Go?") ? 1 : 0; }, d->btnFirst, 1, ikWarning},
        {[&] { return ui.ConfirmOKCancel("Go?") ? 1 : 0; }, d->btnSecond, 0, ikWarning},
        {[&] { return ui.AskYesNoCancel("Save?"); }, d->btnFirst, mrYes, ikWarning},
        {[&] { return ui.AskYesNoCancel("Save?"); }, d->btnSecond, mrNo, ikWarning},
        {[&] { return ui.AskYesNoCancel("Save?"); }, d->btnThird, mrCancel, ikWarning},
        {[&] {
             ui.ShowError("Bad");
             return d->result();
         },
         d->btnFirst, mrOk, ikError},
        {[&] {
             ui.ShowInformation("Note");
             return d->result();
         },
         d->btnFirst, mrOk, ikInformation},
    };
    for (const Case& c : cases) {
        QPushButton* b = c.button;
        std::uint8_t shownIcon = 255;
        WhenShown(d, [&] {
            shownIcon = d->IconKind();
            b->click();
        });
        EXPECT_EQ(c.call(), c.expected);
        EXPECT_EQ(shownIcon, c.icon);
        EXPECT_FALSE(d->isVisible());
    }
    EXPECT_EQ(d->lblDisplayText->text().toStdString(), "Note");
}

TEST(UserInterface, EscapePressesTheCancelButtonOnly) {
    TCubeBrowserInterface ui;
    TfrmUI* d = ui.Dialog();

    WhenShown(d, [&] { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_FALSE(ui.ConfirmYesNo("q"));

    WhenShown(d, [&] { QTest::keyClick(d, Qt::Key_Escape); });
    ui.ShowInformation("i");
    EXPECT_EQ(d->result(), mrOk);

    // Yes/No/Cancel has no cancel button: Escape leaves the dialog up.
    bool stillUp = false;
    WhenShown(d, [&] {
        QTest::keyClick(d, Qt::Key_Escape);
        stillUp = d->isVisible();
        d->btnSecond->click();
    });
    EXPECT_EQ(ui.AskYesNoCancel("q"), mrNo);
    EXPECT_TRUE(stillUp);
}

TEST(UserInterface, MessageWhileTheDialogIsUpGetsADialogOfItsOwn) {
    TCubeBrowserInterface ui;
    TfrmUI* d = ui.Dialog();
    bool inner = false;
    std::string outerText, outerSecond;
    WhenShown(d, [&] {
        // Answers the nested question from its own dialog.
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<TfrmUI*>(w); f && f != d && f->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    f->btnFirst->click();
                    return;
                }
        });
        timer->start();
        inner = ui.ConfirmYesNo("inner");
        outerText = d->lblDisplayText->text().toStdString();
        outerSecond = d->btnSecond->text().toStdString();
        d->btnSecond->click();
    });
    EXPECT_FALSE(ui.ConfirmOKCancel("outer"));
    EXPECT_TRUE(inner);
    EXPECT_EQ(outerText, "outer");
    EXPECT_EQ(outerSecond, "&Cancel");
}

TEST(UserInterface, SetBusyDoesNotStackCursors) {
    TMessageBoxInterface ui;
    ui.SetBusy(true);
    ui.SetBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
