#include "app/ui/dialogs/CommentDialog.h"

#include "app/core/base/AppInfo.h"
#include "app/core/publish/CommentForm.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/widgets/OwnerPlacement.h"
#include "app/ui/widgets/WidgetColor.h"
#include "grid/markup/MarkupLabel.h"
#include "grid/markup/MarkupText.h"
#include "upgrade/NetHTTP.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <exception>

namespace cb::app {

namespace {

const char* const SentText = "Comment sent successfully. Thank-you for your input.";
const char* const ConnLostText = "The connection with the remote server was lost. Please try again";
const char* const UnreachableText = "The Tavo Browser Server could not be reached. Please try again. If the problem "
                                    "persists please contact the email address found above.";
const char* const HTTPErrorText = "Unable to process your request. Please try again.";
const char* const NoHostText = "Comments cannot be sent: no address is set for them. Set CommentHost in the "
                               "AppSettings section of app.ini.";

// A speech balloon, the header picture.
QPixmap HeaderPicture() {
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1F, 0x3A, 0x60), 1.5));
    p.setBrush(QColor(0x9F, 0xC5, 0xE8));
    p.drawRoundedRect(QRectF(3, 5, 42, 28), 7, 7);
    const QPointF tail[] = {{12, 32}, {10, 43}, {22, 32}};
    p.drawPolygon(tail, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9F, 0xC5, 0xE8));
    p.drawRect(QRectF(12.5, 30, 9, 3));
    p.setBrush(QColor(0x1F, 0x3A, 0x60));
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(14 + i * 10, 19), 2.6, 2.6);
    return pixmap;
}

}  // namespace

TfrmSendComments::TfrmSendComments(const TAppContext& context, const std::string& supportAddress, QWidget* owner)
    : TContentForm(nullptr), FContext(context), FOwner(owner) {
    // Single border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    if (owner) setParent(owner, windowFlags());
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(QStringLiteral("Contact Us"));

    imgHeaderIcon = new QLabel(this);
    imgHeaderIcon->setGeometry(12, 12, 48, 48);
    imgHeaderIcon->setPixmap(HeaderPicture());

    lblInstructions = new cb::grid::TMarkupLabel(this);
    lblInstructions->setGeometry(72, 10, ClientWidth - 84, 60);
    lblInstructions->Color = cb::gfx::clNone;
    std::string text = Instructions;
    if (!supportAddress.empty()) {
        const std::string address = cb::grid::EscapeHTML(supportAddress);
        text += " You can also send your comments by email to: <a href=\"mailto:" + address + "\">" + address + "</a>";
    }
    lblInstructions->SetHTMLText(text);

    lblName = new QLabel(QStringLiteral("Your Name:"), this);
    lblName->setGeometry(12, 80, 120, 22);
    editName = new QLineEdit(this);
    editName->setGeometry(140, 80, ClientWidth - 152, 22);
    editName->setMaxLength(200);
    lblName->setBuddy(editName);

    lblEmail = new QLabel(QStringLiteral("Your Email Address:"), this);
    lblEmail->setGeometry(12, 108, 124, 22);
    editEmail = new QLineEdit(this);
    editEmail->setGeometry(140, 108, ClientWidth - 152, 22);
    editEmail->setMaxLength(100);
    lblEmail->setBuddy(editEmail);

    lblComments = new QLabel(QStringLiteral("Comments:"), this);
    lblComments->setGeometry(12, 136, 120, 18);
    memComments = new QPlainTextEdit(this);
    memComments->setGeometry(12, 156, ClientWidth - 24, 78);
    memComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memComments->setTabChangesFocus(true);

    btnSubmit = new QPushButton(QStringLiteral("&Submit"), this);
    btnSubmit->setGeometry(ClientWidth - 184, 244, 80, 25);
    btnSubmit->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(ClientWidth - 92, 244, 80, 25);
    btnCancel->setAutoDefault(false);

    setTabOrder(editName, editEmail);
    setTabOrder(editEmail, memComments);
    setTabOrder(memComments, btnSubmit);
    setTabOrder(btnSubmit, btnCancel);

    connect(btnSubmit, &QPushButton::clicked, this, [this] { btnSubmitClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
}

bool TfrmSendComments::btnSubmitClick() {
    if (FPosting) return false;
    const std::string name = editName->text().toStdString();
    const std::string email = editEmail->text().toStdString();
    const std::string comments = memComments->toPlainText().toStdString();
    const std::string missing = CheckCommentFields(name, email, comments);
    if (!missing.empty()) {
        FContext.ShowError(missing);
        return false;
    }
    const std::string endpoint = CommentEndpoint(FContext.Config ? FContext.Config->CommentHost : std::string());
    if (endpoint.empty()) {
        FContext.ShowError(NoHostText);
        return false;
    }

    QPointer<TfrmSendComments> alive(this);
    bool sent = false;
    bool answered = false;
    auto fail = [&](const char* text) {
        answered = true;
        if (!alive) return;
        setEnabled(true);
        FContext.ShowError(text);
    };
    setEnabled(false);
    FPosting = true;
    try {
        auto http = std::make_unique<cb::upgrade::TNetHTTP>();
        http->AcceptTypes = "text/html, */*";
        http->Agent = ProductName;
        http->HideOutputFile = true;
        http->OutputFileName.clear();
        http->SetPassword("");
        http->SetUsername("");
        http->POSTData = CommentFormBody(name, email, comments);
        http->Referer = ProductName;
        http->RequestMethod = cb::upgrade::TNetHTTPRequestMethod::rmAutoDetect;
        http->SetThreadPriority(cb::upgrade::TThreadPriority::tpNormal);
        http->TransferBufferSize = 256;
        http->URL = endpoint;
        http->UseCache = false;
        http->UseCookies = false;
        http->SetWaitThread(true);
        http->WorkOffline = false;
        http->MaxMemorySize = 1024 * 1024;  // the answer is not used
        http->OnDone = [&](cb::upgrade::TNetCustomHTTP&, const std::string&, std::int64_t, cb::rtl::TStream*) {
            answered = true;
            sent = true;
            if (!alive) return;
            setEnabled(true);
            FContext.ShowInformation(SentText);
        };
        http->OnConnLost = [&](cb::upgrade::TNetCustomHTTP&, const std::string&, std::int64_t, std::int64_t,
                               cb::rtl::TStream*) { fail(ConnLostText); };
        http->OnHostUnreachable = [&](cb::upgrade::TNetCustomHTTP&) { fail(UnreachableText); };
        http->OnHTTPError = [&](cb::upgrade::TNetCustomHTTP&, int, cb::rtl::TStream*) { fail(HTTPErrorText); };
        http->StartRequest();
        // A request that ended without any of the events above (a refused
        // redirect, a local failure) was not sent either.
        if (!answered) fail(HTTPErrorText);
    } catch (const std::exception& e) {
        FContext.WriteLog(std::string("Unable to send the comment. With error: ") + e.what());
        if (!answered) fail(HTTPErrorText);
    }
    if (!alive) return sent;
    FPosting = false;
    setEnabled(true);
    if (sent) done(QDialog::Accepted);
    return sent;
}

void TfrmSendComments::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    SetColor(theme->BackgroundColor);
    SetTextColor(lblName, theme->TextColor);
    SetTextColor(lblEmail, theme->TextColor);
    lblInstructions->Font().SetColor(theme->TextColor);
    lblInstructions->Changed();
}

void TfrmSendComments::showEvent(QShowEvent* event) {
    CenterOnOwner(this, FOwner);
    TContentForm::showEvent(event);
    editName->setFocus();
}

void TfrmSendComments::done(int) {
    TContentForm::done(QDialog::Accepted);
}

void TfrmSendComments::closeEvent(QCloseEvent* event) {
    // The post finishes first: the dialog is disabled meanwhile.
    if (FPosting) {
        event->ignore();
        return;
    }
    TContentForm::closeEvent(event);
}

void TfrmSendComments::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (!FPosting) btnCancel->click();
        return;
    }
    TContentForm::keyPressEvent(event);
}

void ShowCommentDialog(const TFeatureContext& context) {
    if (CommentEndpoint(context.App.Config ? context.App.Config->CommentHost : std::string()).empty()) {
        context.App.ShowInformation(NoHostText);
        return;
    }
    TfrmSendComments dialog(context.App, context.App.Config ? context.App.Config->SupportMail : std::string(),
                            context.Owner);
    dialog.ApplyTheme(context.Theme);
    dialog.exec();
}

}  // namespace cb::app
