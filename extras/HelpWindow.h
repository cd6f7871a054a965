#pragma once
// THelpWindow: the program's own help viewer. Shows the topics of a
// compiled help file: a list of its topics, the page, back, forward and home.
#include <QWidget>

#include <memory>
#include <string>

class QListWidget;
class QLabel;
class QToolButton;
class QTextBrowser;

namespace cb::extras {

class TChmFile;
class THelpBrowser;

class THelpWindow : public QWidget {
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    ~THelpWindow() override;

    // Opens Topic ("grid view.htm", "/dir/page.htm#part"; empty: the file's
    // default topic) of HelpFile and shows the window. A missing file or
    // topic shows a message in the window instead; false then.
    bool ShowTopic(const std::string& HelpFile, const std::string& Topic);

    const std::string& HelpFile() const { return FHelpFile; }
    // The path of the topic shown ("/grid view.htm"), empty while a message
    // is shown.
    std::string CurrentTopic() const;
    // The text of the page (or of the message) shown.
    std::string PageText() const;
    // The message shown in place of a page, empty while a page is shown.
    const std::string& Message() const { return FMessage; }

    QTextBrowser* Browser() const;
    QListWidget* TopicList() const { return FTopics; }

    // Follows a link of the page shown (relative to it, as in a page).
    bool FollowLink(const std::string& Href);

private:
    friend class THelpBrowser;
    bool OpenFile(const std::string& HelpFile);
    bool Navigate(const std::string& Topic, const std::string& Fragment);
    void ShowMessage(const std::string& Text);
    void FillTopics();
    void SyncTopicList();
    void UpdateButtons();

    std::unique_ptr<TChmFile> FChm;
    std::string FHelpFile;
    std::string FMessage;
    THelpBrowser* FBrowser = nullptr;
    QListWidget* FTopics = nullptr;
    QToolButton* FBack = nullptr;
    QToolButton* FForward = nullptr;
    QToolButton* FHome = nullptr;
};

}  // namespace cb::extras
