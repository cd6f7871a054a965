#pragma once
// Small helpers several editors and the companion controls share.
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QWidget;

namespace cb::charteditors {

// A Yes/No question; True on Yes. With a control the box is placed at its
// client origin plus (20, 30), else centred as usual.
bool ConfirmAt(const std::string& message, QWidget* control = nullptr);
// "Delete NAME ?".
bool ConfirmDelete(const std::string& name, QWidget* control = nullptr);
// The question ConfirmDelete asks.
std::string DeleteQuestion(const std::string& name);
// Replaces the boxes ConfirmAt shows (tests): gets the text, answers.
using TConfirmSink = std::function<bool(const std::string& message, QWidget* control)>;
void SetConfirmSink(TConfirmSink sink);

void ShowControls(bool visible, const std::vector<QWidget*>& controls);

// The nine number-format presets, the default "#,##0.###" first.
void AddValueFormatPresets(QStringList& items);

// Appends the selected items of from (with their data) to to, in order,
// then removes them from from.
void MoveSelectedItems(QListWidget* from, QListWidget* to);
// Appends all items of from to to, then clears from.
void MoveAllItems(QListWidget* from, QListWidget* to);

}  // namespace cb::charteditors
