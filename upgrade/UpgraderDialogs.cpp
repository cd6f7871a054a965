// The upgrade question, the progress wizard and the password dialog.
#include "upgrade/NetUpgrader.h"
#include "platform/desktop/PlainMessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace cb::upgrade {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Message texts break lines with CR; the widgets want LF.
QString Lines(std::string s) {
    for (auto& c : s)
        if (c == '\r') c = '\n';
    return Q(s);
}

std::string AppTitle(const std::string& title) {
    return title.empty() ? AppTitlePlaceholder() : title;
}

class TWizardForm : public QDialog {
public:
    explicit TWizardForm(TNetUpgrader& upgrader) : FUpgrader(upgrader) {
        setWindowTitle(Q(LoadMessage(0)));
        setFixedSize(570, 346);
        if (upgrader.Wizard.StayOnTop) setWindowFlag(Qt::WindowStaysOnTopHint);
        auto* side = new QLabel(this);
        side->setGeometry(12, 12, 148, 271);
        side->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        side->setScaledContents(true);
        QPixmap pic;
        if (!upgrader.Wizard.Pic118x218.empty() && pic.load(Q(upgrader.Wizard.Pic118x218))) {
            side->setPixmap(pic);
        } else {
            side->setStyleSheet("background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2b5797, stop:1 #9fc5e8);");
        }
        FTitle = new QLabel(Q(LoadMessage(1)), this);
        FTitle->setGeometry(167, 12, 393, 30);
        QFont f("Times New Roman");
        f.setPixelSize(23);
        f.setBold(true);
        f.setItalic(true);
        FTitle->setFont(f);
        FAfterNote = cb::os::PlainLabel(new QLabel(this));
        FAfterNote->setGeometry(167, 54, 393, 120);
        FAfterNote->setWordWrap(true);
        FAfterNote->hide();
        FCurrent = new QGroupBox(Q(" " + LoadMessage(3) + " "), this);
        FCurrent->setGeometry(167, 42, 393, 154);
        auto* from = new QLabel(Q(LoadMessage(5)), FCurrent);
        from->setGeometry(10, 20, 370, 16);
        FFileURL = new QLineEdit(FCurrent);
        FFileURL->setGeometry(10, 38, 370, 18);
        FFileURL->setReadOnly(true);
        FFileURL->setFrame(false);
        FFileURL->setFocusPolicy(Qt::NoFocus);
        FSize = new QLabel(FCurrent);
        FSize->setGeometry(10, 62, 370, 16);
        FRate = new QLabel(FCurrent);
        FRate->setGeometry(10, 80, 370, 16);
        FTime = new QLabel(Q(LoadMessage(22)), FCurrent);
        FTime->setGeometry(10, 98, 370, 16);
        FBarFile = new QProgressBar(FCurrent);
        FBarFile->setGeometry(10, 122, 370, 18);
        FBarFile->setRange(0, 100);
        FAll = new QGroupBox(Q(" " + LoadMessage(4) + " "), this);
        FAll->setGeometry(167, 199, 393, 83);
        FCounter = new QLabel(FAll);
        FCounter->setGeometry(10, 22, 370, 16);
        FBarAll = new QProgressBar(FAll);
        FBarAll->setGeometry(10, 48, 370, 18);
        FBarAll->setRange(0, 100);
        auto* line = new QFrame(this);
        line->setGeometry(12, 293, 550, 2);
        line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        auto* about = new QLabel(Q(" " + UpgraderBanner() + " "), this);
        about->setGeometry(37, 287, 100, 14);
        about->setEnabled(false);
        FFinish = new QPushButton(Q(LoadMessage(18)), this);
        FFinish->setGeometry(364, 305, 93, 31);
        FFinish->setEnabled(false);
        FCancel = new QPushButton(Q(LoadMessage(17)), this);
        FCancel->setGeometry(468, 305, 92, 31);
        FCancel->setDefault(true);
        connect(FFinish, &QPushButton::clicked, this, [this] {
            FFinished = true;
            FClosing = true;
            close();
        });
        connect(FCancel, &QPushButton::clicked, this, [this] { close(); });
    }

    void File(const std::string& url, const std::string& counter) {
        FFileURL->setText(Q(url));
        FCounter->setText(Q(counter));
    }
    void Size(const std::string& text) { FSize->setText(Q(text)); }
    void Progress(int current, int total, const std::string& rate, const std::string& time) {
        FBarFile->setValue(current);
        FBarAll->setValue(total);
        FRate->setText(Q(rate));
        FTime->setText(Q(time));
    }
    void SetFinishedState(const std::string& title) {
        FTitle->setText(Q(LoadMessage(2)));
        FAfterNote->setText(Lines(FormatMessage(10, title.c_str())));
        FAfterNote->show();
        FCurrent->hide();
        FAll->hide();
        FCancel->setEnabled(false);
        FFinish->setText(Q(LoadMessage(16)));
        FFinish->setEnabled(true);
        FFinish->setDefault(true);
        FFinish->setFocus();
    }
    bool Finished() const { return FFinished; }
    void CloseQuietly() {
        FClosing = true;
        close();
    }

protected:
    // Closing asks first: the update is not completed until OK.
    void closeEvent(QCloseEvent* e) override {
        if (FClosing) {
            e->accept();
            return;
        }
        auto answer = QMessageBox::question(this, Q(AppTitle(FUpgrader.ApplicationTitle)), Lines(LoadMessage(27)),
                                            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            e->ignore();
            return;
        }
        FFinished = false;
        FClosing = true;
        e->accept();
        if (!FInFinishLoop) {
            // cancelled while downloading: the upgrade stops
            std::weak_ptr<bool> alive = FUpgrader.AliveToken();
            TNetUpgrader* upgrader = &FUpgrader;
            QMetaObject::invokeMethod(
                qApp,
                [alive, upgrader] {
                    if (auto a = alive.lock(); a && *a) upgrader->Abort();
                },
                Qt::QueuedConnection);
        }
    }

public:
    bool FInFinishLoop = false;

private:
    TNetUpgrader& FUpgrader;
    QLabel *FTitle, *FAfterNote, *FSize, *FRate, *FTime, *FCounter;
    QLineEdit* FFileURL;
    QGroupBox *FCurrent, *FAll;
    QProgressBar *FBarFile, *FBarAll;
    QPushButton *FFinish, *FCancel;
    bool FFinished = false;
    bool FClosing = false;
};

class TUpgraderDialogs : public TNetUpgraderUI {
public:
    ~TUpgraderDialogs() override { CloseWindows(); }

    bool AskUpgrade(TNetUpgrader& upgrader, const std::string& upgradeMsg) override {
        QDialog dialog;
        dialog.setWindowTitle(Q(LoadMessage(0)));
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
        auto* layout = new QVBoxLayout(&dialog);
        auto* row = new QHBoxLayout;
        auto* icon = new QLabel;
        icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
        row->addWidget(icon, 0, Qt::AlignTop);
        std::string message = upgradeMsg.empty() ? "" : "\n" + upgradeMsg + "\n";
        auto* label =
            cb::os::PlainLabel(new QLabel(Lines(FormatMessage(23, AppTitle(upgrader.ApplicationTitle).c_str(), message.c_str()))));
        label->setWordWrap(true);
        label->setMinimumWidth(318 - 45 - 11);
        row->addWidget(label, 1);
        layout->addLayout(row);
        auto* buttons = new QDialogButtonBox;
        auto* yes = buttons->addButton(Q(LoadMessage(14)), QDialogButtonBox::YesRole);
        auto* later = buttons->addButton(Q(LoadMessage(19)), QDialogButtonBox::NoRole);
        yes->setDefault(true);
        QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::accept);
        QObject::connect(later, &QPushButton::clicked, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        return dialog.exec() == QDialog::Accepted;
    }

    void ShowWizard(TNetUpgrader& upgrader) override {
        if (!FWizard) FWizard = new TWizardForm(upgrader);
        FWizard->setAttribute(Qt::WA_DeleteOnClose);
        FWizard->show();
    }
    void WizardFile(const std::string& url, const std::string& counter) override {
        if (FWizard) FWizard->File(url, counter);
    }
    void WizardSize(const std::string& text) override {
        if (FWizard) FWizard->Size(text);
    }
    void WizardProgress(int current, int total, const std::string& rate, const std::string& time) override {
        if (FWizard) FWizard->Progress(current, total, rate, time);
    }
    bool WizardFinished(TNetUpgrader& upgrader) override {
        if (!FWizard) return true;
        FWizard->SetFinishedState(AppTitle(upgrader.ApplicationTitle));
        FWizard->FInFinishLoop = true;
        // The pointer clears itself when the wizard goes, also after this
        // returns (it is deleted later).
        QPointer<TWizardForm> wizard = FWizard;
        bool finished = false;
        while (wizard && wizard->isVisible()) {
            finished = wizard->Finished();
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            if (wizard) {
                finished = wizard->Finished();
                if (wizard->isVisible()) wizard->activateWindow();
            }
        }
        return finished;
    }
    void CloseWindows() override {
        if (FWizard) FWizard->CloseQuietly();
        FWizard = nullptr;
    }

    bool AskPassword(TNetUpgrader& upgrader, const std::string& fileName) override {
        QDialog dialog;
        dialog.setWindowTitle(Q(LoadMessage(11)));
        auto* layout = new QVBoxLayout(&dialog);
        auto* text = cb::os::PlainLabel(new QLabel(Lines(FormatMessage(29, fileName.c_str()))));
        text->setWordWrap(true);
        text->setMinimumWidth(246);
        layout->addWidget(text);
        auto* user = new QLineEdit(Q(upgrader.HTTPUsername()));
        auto* pass = new QLineEdit;
        pass->setEchoMode(QLineEdit::Password);
        for (auto [caption, edit] : {std::pair{12, user}, std::pair{13, pass}}) {
            auto* row = new QHBoxLayout;
            row->addWidget(new QLabel(Q(LoadMessage(caption))));
            row->addWidget(edit);
            layout->addLayout(row);
        }
        auto* buttons = new QDialogButtonBox;
        auto* ok = buttons->addButton(Q(LoadMessage(16)), QDialogButtonBox::AcceptRole);
        auto* cancel = buttons->addButton(Q(LoadMessage(17)), QDialogButtonBox::RejectRole);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
            upgrader.SetHTTPUsername(user->text().toStdString());
            upgrader.SetHTTPPassword(pass->text().toStdString());
            dialog.accept();
        });
        QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        return dialog.exec() == QDialog::Accepted;
    }

    void ShowError(const std::string& text) override {
        cb::os::PlainMessageBox(nullptr, QMessageBox::Critical, Q(LoadMessage(0)), Lines(text));
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override {
        return cb::os::PlainMessageBox(nullptr, QMessageBox::Warning, Q(caption), Lines(text),
                                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }

private:
    QPointer<TWizardForm> FWizard;
};

}  // namespace

std::unique_ptr<TNetUpgraderUI> MakeUpgraderDialogs() {
    return std::make_unique<TUpgraderDialogs>();
}

}  // namespace cb::upgrade
