#pragma once
// The two-list selector: picks an ordered subset of items by moving them
// from the "available" list to the "selected" one and ordering them there.
// Each item carries a value (QListWidgetItem's Qt::UserRole data), which
// moves with it. OnChange runs after every move.
#include <QWidget>

#include <functional>

class QListWidget;
class QPushButton;
class QToolButton;

namespace cb::charteditors {

class TSelectListForm : public QWidget {
public:
    explicit TSelectListForm(QWidget* owner = nullptr);

    QListWidget* FromList;
    QListWidget* ToList;
    QPushButton* BRightOne;
    QPushButton* BRightAll;
    QPushButton* BLeftOne;
    QPushButton* BLeftAll;
    QToolButton* BMoveUP;
    QToolButton* BMoveDown;

    // Runs after every move between or within the lists.
    std::function<void(TSelectListForm* sender)> OnChange;

    // Enables the buttons that have something to do.
    void EnableButtons();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void MoveRight(bool all);
    void MoveLeft(bool all);
    void MoveSelected(int by);
    void Changed();
};

}  // namespace cb::charteditors
