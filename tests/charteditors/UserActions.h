#pragma once
// Opening an editor as a host does (by the class name the object answers)
// and changing a control once the way a person does: a click, a key on a
// spin box, typing over a text, moving through a list with the arrow keys.
#include "charteditors/common/EditorForm.h"
#include "charteditors/common/EditorRegistry.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace cbtest {

// The registered editor of that name, of class E, bound to the object and
// shown; none (and a failure) when the name finds no E.
template <class E>
std::unique_ptr<E> OpenEditor(const std::string& className, const cb::charteditors::TEditedObject& object) {
    std::unique_ptr<cb::charteditors::TEditorForm> form = cb::charteditors::CreateEditorByName(className, nullptr);
    auto* typed = dynamic_cast<E*>(form.get());
    EXPECT_NE(typed, nullptr) << className;
    if (!typed) return nullptr;
    form.release();
    std::unique_ptr<E> editor(typed);
    editor->BindObject(object);
    editor->show();
    return editor;
}

inline void Click(QAbstractButton* b) {
    // Laid out as the user sees it: the click lands where the button is drawn.
    QCoreApplication::processEvents();
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}
inline void StepUp(QSpinBox* s) {
    s->setFocus();
    QTest::keyClick(s, Qt::Key_Up);
}
inline void Type(QAbstractSpinBox* s, const QString& text) {
    s->setFocus();
    QTest::keyClick(s, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(s, text);
}
inline void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}
inline void Choose(QComboBox* c, int index) {
    ASSERT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    c->setFocus();
    for (int i = 0; i < 50 && c->currentIndex() < index; ++i) QTest::keyClick(c, Qt::Key_Down);
    for (int i = 0; i < 50 && c->currentIndex() > index; ++i) QTest::keyClick(c, Qt::Key_Up);
    ASSERT_EQ(c->currentIndex(), index);
}

}  // namespace cbtest
