#pragma once
// Answers modal dialogs and popup menus in the tests: the answer runs from the
// dialog's own event loop once it is the active modal widget (or popup). The
// waiting ends after five seconds, or when `context` goes away.

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace ab::testing {

inline constexpr int kAnswerAttempts = 500;

template <typename Dialog>
void AnswerModal(std::function<void(Dialog*)> answer, QObject* context = qApp, int attemptsLeft = kAnswerAttempts) {
  QTimer::singleShot(attemptsLeft == kAnswerAttempts ? 0 : 10, context, [answer, context, attemptsLeft] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      answer(dialog);
    } else if (attemptsLeft > 0) {
      AnswerModal<Dialog>(answer, context, attemptsLeft - 1);
    }
  });
}

inline void AnswerPopup(std::function<void(QMenu*)> answer, QObject* context, int attemptsLeft = kAnswerAttempts) {
  QTimer::singleShot(attemptsLeft == kAnswerAttempts ? 0 : 10, context, [answer, context, attemptsLeft] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      answer(menu);
    } else if (attemptsLeft > 0) {
      AnswerPopup(answer, context, attemptsLeft - 1);
    }
  });
}

}  // namespace ab::testing
