#pragma once
// Event hooks: any number of handlers see an object's events before and
// after the object itself. TKitWndProcHook is the one service behind them;
// TKitWindowHook hooks one control and reports its events through two
// events.
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <vector>

namespace cb::extras {

// Answers true when it handled the event: a "before" handler that does so
// keeps the event from the object and from later handlers, an "after"
// handler from later handlers.
using TKitHookHandler = std::function<bool(QObject* target, QEvent* event)>;

class TKitWndProcHook : public QObject {
    Q_OBJECT
public:
    // The two handler lists of a control.
    enum THookList : int {
        Before = 0,
        After = 1
    };

    static TKitWndProcHook& Instance();

    // Appends the handler to the control's list; `key` names it for
    // removal. False for no control, an unknown list or an empty handler.
    bool AddHandler(QObject* control, THookList list, const void* key, TKitHookHandler handler);
    // Removes the first handler of the list with that key; the hook goes
    // when both lists are empty. True when the control was hooked.
    bool RemoveHandler(QObject* control, THookList list, const void* key);
    bool IsHooked(const QObject* control) const { return FInfos.count(const_cast<QObject*>(control)) != 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TKitWndProcHook() = default;
    struct Node {
        const void* key;
        std::shared_ptr<TKitHookHandler> handler;
    };
    struct Infos {
        std::vector<Node> lists[2];
        QMetaObject::Connection destroyed;
    };
    std::map<QObject*, Infos> FInfos;
};

class TKitWindowHook : public QObject {
    Q_OBJECT
public:
    using TMessageEvent = std::function<void(TKitWindowHook& sender, QEvent* event, bool& handled)>;

    explicit TKitWindowHook(QObject* owner = nullptr);
    ~TKitWindowHook() override;

    bool Active() const { return FActive; }
    void SetActive(bool value);
    QObject* Control() const { return FControl; }
    void SetControl(QObject* control);
    void SetBeforeMessage(TMessageEvent handler);
    void SetAfterMessage(TMessageEvent handler);

protected:
    virtual bool BeforeHandler(QEvent* event);
    virtual bool AfterHandler(QEvent* event);

private:
    void hook();
    void unhook();
    bool FActive = true;
    QPointer<QObject> FControl;
    TMessageEvent FBefore, FAfter;
    bool FHooked = false;
};

}  // namespace cb::extras
