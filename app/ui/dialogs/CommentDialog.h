#pragma once
// The comment dialog: a name, an e-mail address and a comment, posted as a
// form to "/cb/send_comments.php" on the comment host of the settings.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace cb::grid {
class TMarkupLabel;
}

namespace cb::app {

class TfrmSendComments : public TContentForm {
    Q_OBJECT
public:
    // The settings of the context give the comment host; supportAddress is
    // offered as a mail link when not empty.
    TfrmSendComments(const TAppContext& context, const std::string& supportAddress, QWidget* owner = nullptr);

    static constexpr int ClientWidth = 440;
    static constexpr int ClientHeight = 277;
    static constexpr const char* Instructions =
        "Do you have any Questions? Comments? Suggestions for up coming versions?<br>If so, please contact us.";

    void ApplyTheme(const TTheme* theme) override;

    // Checks the fields and posts them; true when the comment was sent.
    bool btnSubmitClick();
    // A post is running (the dialog is disabled meanwhile).
    bool Posting() const { return FPosting; }

public slots:
    // However it closes, the dialog ends with OK.
    void done(int result) override;

public:
    QLabel* imgHeaderIcon;
    cb::grid::TMarkupLabel* lblInstructions;
    QLabel* lblName;
    QLineEdit* editName;
    QLabel* lblEmail;
    QLineEdit* editEmail;
    QLabel* lblComments;
    QPlainTextEdit* memComments;
    QPushButton* btnSubmit;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TAppContext FContext;
    QWidget* FOwner;
    bool FPosting = false;
};

}  // namespace cb::app
