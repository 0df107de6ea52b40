#pragma once
// Driving a dialog as a user does: typing into a control key by key, and
// answering the warning that an action brings up.

#include <QMessageBox>
#include <QTest>

#include <functional>
#include <string>

#include "support/DialogAnswers.h"

namespace ab::testing {

// Replaces the control's text key by key; any text (QTest::keyClicks knows Latin-1 only).
inline void TypeText(QWidget* control, const QString& text) {
  QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(control, Qt::Key_Delete);
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs `action`, answering with OK the warning it brings up; the warning's text, empty when none came.
inline std::string WarningFrom(const std::function<void()>& action) {
  std::string text;
  QObject answering;  // ends the waiting when no warning came
  AnswerModal<QMessageBox>([&text](QMessageBox* box) { text = box->text().toStdString(); box->accept(); }, &answering);
  action();
  return text;
}

}  // namespace ab::testing
