// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>

#include <functional>

/// Answers the modal dialogs of one kind that open while a test waits, as `answer` says: the
/// test's stand-in for a person at the keyboard.
template <typename Dialog>
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::function<void(Dialog *)> answer) : m_answer(std::move(answer))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            ++m_answered;
            m_answer(dialog);
        });
        m_timer.start();
    }

    /// How many dialogs were answered.
    int answered() const { return m_answered; }

private:
    std::function<void(Dialog *)> m_answer;
    QTimer m_timer;
    int m_answered = 0;
};
