#include "extras/HelpWindow.h"

#include "extras/ChmFile.h"
#include "platform/desktop/Shell.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace cb::extras {

namespace {

const char* const Scheme = "chm";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QUrl TopicUrl(const std::string& path, const std::string& fragment) {
    QUrl u;
    u.setScheme(Scheme);
    u.setPath(Q(ChmObjectPath(path)));
    if (!fragment.empty()) u.setFragment(Q(fragment));
    return u;
}

std::string TitleOf(const std::string& html, const std::string& fallback) {
    static const QRegularExpression re("<title>(.*?)</title>", QRegularExpression::CaseInsensitiveOption |
                                                                   QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(QString::fromUtf8(html.data(), qsizetype(std::min<std::size_t>(html.size(), 4096))));
    const QString t = m.hasMatch() ? m.captured(1).simplified() : QString();
    return t.isEmpty() ? fallback : t.toStdString();
}

QString Escaped(const std::string& s) {
    return Q(s).toHtmlEscaped();
}

}  // namespace

// The page view: pages, style sheets and pictures come out of the help file.
class THelpBrowser : public QTextBrowser {
public:
    explicit THelpBrowser(THelpWindow* owner) : QTextBrowser(owner), FOwner(owner) {}

    QVariant loadResource(int type, const QUrl& url) override {
        if (url.scheme() != Scheme || !FOwner->FChm) return QTextBrowser::loadResource(type, url);
        try {
            auto data = FOwner->FChm->Read(url.path().toStdString());
            if (!data) return {};
            if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
                return QString::fromUtf8(data->data(), qsizetype(data->size()));
            return QByteArray(data->data(), qsizetype(data->size()));
        } catch (const EChmError&) {
            return {};
        }
    }

private:
    THelpWindow* FOwner;
};

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Help");
    resize(820, 560);
    FBrowser = new THelpBrowser(this);
    FBrowser->setOpenLinks(false);
    FTopics = new QListWidget(this);
    auto makeButton = [this](const char* text, const char* tip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        return b;
    };
    FBack = makeButton("Back", "Back (Alt+Left)");
    FForward = makeButton("Forward", "Forward (Alt+Right)");
    FHome = makeButton("Home", "The first topic of the help");
    FBack->setShortcut(QKeySequence::Back);
    FForward->setShortcut(QKeySequence::Forward);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FBack);
    buttons->addWidget(FForward);
    buttons->addWidget(FHome);
    buttons->addStretch();
    auto* split = new QSplitter(this);
    split->addWidget(FTopics);
    split->addWidget(FBrowser);
    split->setStretchFactor(1, 1);
    split->setSizes({200, 620});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);

    connect(FBack, &QToolButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(FForward, &QToolButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FHome, &QToolButton::clicked, this, [this] {
        if (FChm) Navigate(FChm->DefaultTopic(), {});
    });
    connect(FBrowser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == Scheme)
            Navigate(url.path().toStdString(), url.fragment().toStdString());
        else if (!url.scheme().isEmpty())
            cb::os::ShellOpen(url.toString().toStdString());
    });
    connect(FBrowser, &QTextBrowser::sourceChanged, this, [this] {
        SyncTopicList();
        UpdateButtons();
    });
    connect(FBrowser, &QTextBrowser::historyChanged, this, [this] { UpdateButtons(); });
    connect(FTopics, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Navigate(item->data(Qt::UserRole).toString().toStdString(), {}); });
    connect(FTopics, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Navigate(item->data(Qt::UserRole).toString().toStdString(), {}); });
    UpdateButtons();
}

THelpWindow::~THelpWindow() = default;

bool THelpWindow::OpenFile(const std::string& HelpFile) {
    if (FChm && HelpFile == FHelpFile) return true;
    FChm.reset();
    FHelpFile = HelpFile;
    FTopics->clear();
    FBrowser->clearHistory();
    try {
        FChm = std::make_unique<TChmFile>(HelpFile);
    } catch (const EChmError& e) {
        ShowMessage(e.what());
        return false;
    }
    FillTopics();
    return true;
}

void THelpWindow::FillTopics() {
    FTopics->clear();
    // The contents in their order; without them the pages by their titles.
    auto entries = FChm->Contents();
    if (entries.empty())
        for (const auto& path : FChm->Topics()) {
            std::string page;
            try {
                page = FChm->Read(path).value_or("");
            } catch (const EChmError&) {}
            entries.emplace_back(TitleOf(page, path.substr(path.find_last_of('/') + 1)), path);
        }
    for (const auto& [name, path] : entries) {
        auto* item = new QListWidgetItem(Q(name), FTopics);
        item->setData(Qt::UserRole, Q(ChmObjectPath(path)));
    }
}

bool THelpWindow::ShowTopic(const std::string& HelpFile, const std::string& Topic) {
    show();
    raise();
    activateWindow();
    if (!OpenFile(HelpFile)) return false;
    std::string topic = Topic, fragment;
    if (auto hash = topic.find('#'); hash != std::string::npos) {
        fragment = topic.substr(hash + 1);
        topic.erase(hash);
    }
    if (topic.empty()) topic = FChm->DefaultTopic();
    if (topic.empty() && !FChm->Topics().empty()) topic = FChm->Topics().front();
    return Navigate(topic, fragment);
}

bool THelpWindow::FollowLink(const std::string& Href) {
    const QUrl url = FBrowser->source().resolved(QUrl(Q(Href)));
    emit FBrowser->anchorClicked(url);
    return FMessage.empty();
}

bool THelpWindow::Navigate(const std::string& Topic, const std::string& Fragment) {
    if (!FChm) return false;
    bool found = false;
    try {
        found = !Topic.empty() && FChm->Read(Topic).has_value();
    } catch (const EChmError& e) {
        ShowMessage(e.what());
        return false;
    }
    if (!found) {
        ShowMessage("The topic \"" + Topic + "\" is not in the help file \"" + FHelpFile + "\".");
        return false;
    }
    FMessage.clear();
    FBrowser->setSource(TopicUrl(Topic, Fragment), QTextDocument::HtmlResource);
    SyncTopicList();
    UpdateButtons();
    setWindowTitle(FBrowser->documentTitle().isEmpty() ? QString("Help") : "Help - " + FBrowser->documentTitle());
    return true;
}

void THelpWindow::ShowMessage(const std::string& Text) {
    FMessage = Text;
    FBrowser->setHtml("<h2>Help</h2><p>" + Escaped(Text) + "</p>");
    setWindowTitle("Help");
    FTopics->clearSelection();
    UpdateButtons();
}

void THelpWindow::SyncTopicList() {
    const QString path = FBrowser->source().path();
    for (int i = 0; i < FTopics->count(); ++i)
        if (FTopics->item(i)->data(Qt::UserRole).toString().compare(path, Qt::CaseInsensitive) == 0) {
            FTopics->setCurrentRow(i);
            return;
        }
    FTopics->clearSelection();
}

void THelpWindow::UpdateButtons() {
    FBack->setEnabled(FBrowser->isBackwardAvailable());
    FForward->setEnabled(FBrowser->isForwardAvailable());
    FHome->setEnabled(FChm != nullptr);
}

std::string THelpWindow::CurrentTopic() const {
    return FMessage.empty() && FChm ? FBrowser->source().path().toStdString() : std::string();
}

QTextBrowser* THelpWindow::Browser() const {
    return FBrowser;
}

std::string THelpWindow::PageText() const {
    return FBrowser->toPlainText().toStdString();
}

}  // namespace cb::extras
