#pragma once
// Answers modal dialogs and popup menus in the tests: the answer runs from the
// dialog's own event loop once it is the active modal widget (or popup). The
// waiting ends after five seconds, or when `context` goes away.

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <type_traits>
#include <utility>

namespace ab::testing {

inline constexpr int kAnswerAttempts = 500;

// A QMenu is looked for among the popups, anything else among the modal widgets.
template <typename Dialog>
void AnswerModal(std::function<void(Dialog*)> answer, QObject* context = qApp, int attemptsLeft = kAnswerAttempts) {
  QTimer::singleShot(attemptsLeft == kAnswerAttempts ? 0 : 10, context, [answer, context, attemptsLeft] {
    QWidget* active = std::is_same_v<Dialog, QMenu> ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<Dialog*>(active)) {
      answer(dialog);
    } else if (attemptsLeft > 0) {
      AnswerModal<Dialog>(answer, context, attemptsLeft - 1);
    }
  });
}

inline void AnswerPopup(std::function<void(QMenu*)> answer, QObject* context, int attemptsLeft = kAnswerAttempts) {
  AnswerModal<QMenu>(std::move(answer), context, attemptsLeft);
}

}  // namespace ab::testing
